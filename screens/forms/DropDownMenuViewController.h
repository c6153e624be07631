#pragma once

#include "core/Record.h"
#include "screens/shell/AppContext.h"
#include "screens/shell/KeyValueListModel.h"
#include "screens/shell/ScreenController.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The pick list: a modal sheet over the tabs that lists the items the forms' pick relay holds, under the
// title the form gave. A row writes its label and code through the relay and closes; "Cancel" closes without
// picking. Closing always runs the relay's closing step, once. A list longer than kFilterFrom rows can be
// narrowed by typing part of a row's label.
class DropDownMenuViewController : public ScreenController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool open READ isOpen NOTIFY openChanged)
    Q_PROPERTY(QString title READ title NOTIFY openChanged)
    Q_PROPERTY(KeyValueListModel* model READ model CONSTANT)
    Q_PROPERTY(bool filterable READ filterable NOTIFY openChanged)
    Q_PROPERTY(QString filter READ filter WRITE setFilter NOTIFY filterChanged)
public:
    static constexpr int kFilterFrom = 10;

    explicit DropDownMenuViewController(QObject* parent = nullptr);
    // A sheet that goes while open still closes the relay's list, so the next list can open.
    ~DropDownMenuViewController() override;

    bool isOpen() const { return open_; }
    QString title() const { return title_; }
    KeyValueListModel* model() { return &model_; }
    bool filterable() const { return items_.size() > kFilterFrom; }
    QString filter() const { return filter_; }
    // Only the rows whose label holds the text (any case) are listed.
    void setFilter(const QString& filter);

    // A row was tapped: its label and code go through the relay, then the list closes.
    Q_INVOKABLE void didSelectRow(int index);
    // "Cancel".
    Q_INVOKABLE void cancel();

Q_SIGNALS:
    void openChanged();
    void filterChanged();

private:
    void contextSet() override;
    void present(const QString& title, const PickList& items);
    void close();
    void showRows();

    KeyValueListModel model_;
    bool open_ = false;
    QString title_;
    PickList items_;
    QString filter_;
};

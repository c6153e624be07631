#pragma once

#include "screens/AppContext.h"
#include "screens/KeyValueListModel.h"
#include "screens/ScreenController.h"

#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The pick list: a modal sheet over the tabs that lists the items the relay of the application
// delegate holds, under the title the form gave. A row writes its label and code through the relay and
// closes; "Cancel" closes without picking. Closing always runs the relay's closing step, once.
class DropDownMenuViewController : public ScreenController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool open READ isOpen NOTIFY openChanged)
    Q_PROPERTY(QString title READ title NOTIFY openChanged)
    Q_PROPERTY(KeyValueListModel* model READ model CONSTANT)
public:
    explicit DropDownMenuViewController(QObject* parent = nullptr);
    // A sheet that goes while open still closes the relay's list, so the next list can open.
    ~DropDownMenuViewController() override;

    bool isOpen() const { return open_; }
    QString title() const { return title_; }
    KeyValueListModel* model() { return &model_; }

    // A row was tapped: its label and code go through the relay, then the list closes.
    Q_INVOKABLE void didSelectRow(int index);
    // "Cancel".
    Q_INVOKABLE void cancel();

Q_SIGNALS:
    void openChanged();

private:
    void contextSet() override;
    void present(const QString& title);
    void close();

    QMetaObject::Connection requests_;
    KeyValueListModel model_;
    bool open_ = false;
    QString title_;
};

#pragma once

#include "core/Record.h"
#include "screens/KeyValueListModel.h"
#include "screens/ScreenController.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

class FavViewController;
class KategoriViewController;

// "Semak": the whole compound on one read-only page, filled once from the record when it first shows.
// Its "Cetak" calls back the screen that opened it: the favourites when that one did (fastLink), else
// the section list.
class ReviewViewController : public ScreenController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(KategoriViewController* controller READ controller WRITE setController NOTIFY openerChanged)
    Q_PROPERTY(FavViewController* controller2 READ controller2 WRITE setController2 NOTIFY openerChanged)
    Q_PROPERTY(bool fastLink READ fastLink NOTIFY openerChanged)
    Q_PROPERTY(KeyValueListModel* model READ model CONSTANT)
public:
    // One field of the page: its outlet name, caption and value.
    struct Field {
        QString outlet;
        QString caption;
        QString value;
    };

    explicit ReviewViewController(QObject* parent = nullptr);
    ~ReviewViewController() override;

    KategoriViewController* controller() const;
    void setController(KategoriViewController* opener);
    FavViewController* controller2() const;
    void setController2(FavViewController* opener);
    bool fastLink() const { return fastLink_; }
    // Rows: title the caption, subtitle the value, key the outlet.
    KeyValueListModel* model() { return &model_; }

    // Every field of the page, in page order, as the record gives it.
    static QList<Field> fields(const RecordMap& record);

    // Each time the page shows; the first time it is filled from the record.
    Q_INVOKABLE void viewWillAppear();
    // "Cetak".
    Q_INVOKABLE void cetak();

Q_SIGNALS:
    void openerChanged();

private:
    QPointer<KategoriViewController> controller_;
    QPointer<FavViewController> controller2_;
    bool fastLink_ = false;
    bool filled_ = false;
    KeyValueListModel model_;
};

#pragma once

#include "core/Record.h"
#include "screens/shell/KeyValueListModel.h"
#include "screens/shell/ScreenController.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

class IssuingFlow;

// "Semak": the whole compound on one read-only page, as the issuing flow that opened it took the record
// at "Semak", and again whenever that flow takes it anew (it found the record changed). Its "Cetak" is
// that flow's.
class ReviewViewController : public ScreenController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(IssuingFlow* flow READ flow WRITE setFlow NOTIFY flowChanged)
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

    IssuingFlow* flow() const;
    void setFlow(IssuingFlow* flow);
    // Rows: title the caption, subtitle the value, key the outlet.
    KeyValueListModel* model() { return &model_; }

    // Every field of the page, in page order, as the record gives it.
    static QList<Field> fields(const RecordMap& record);

    // Each time the page shows; the first time it is filled.
    Q_INVOKABLE void viewWillAppear();
    // "Cetak".
    Q_INVOKABLE void cetak();

Q_SIGNALS:
    void flowChanged();

private:
    void fill();

    QPointer<IssuingFlow> flow_;
    QMetaObject::Connection changes_;
    bool filled_ = false;
    KeyValueListModel model_;
};

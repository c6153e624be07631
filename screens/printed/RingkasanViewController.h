#pragma once

#include "core/ShiftSummary.h"
#include "printing/HandOverSlip.h"
#include "screens/shell/ScreenController.h"

#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <optional>

// "Ringkasan": the shift summary of one Kuala Lumpur day (today, or an earlier day still on the phone),
// read through the store's summary rows, and "Cetak Ringkasan", the hand-over slip on the receipt printer.
// The slip is reported printed only once the printer has taken every byte of it.
class RingkasanViewController : public ScreenController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QStringList dayLabels READ dayLabels NOTIFY changed)
    Q_PROPERTY(int dayIndex READ dayIndex WRITE chooseDay NOTIFY changed)
    Q_PROPERTY(QString dayText READ dayText NOTIFY changed)
    Q_PROPERTY(int issued READ issued NOTIFY changed)
    Q_PROPERTY(int inForce READ inForce NOTIFY changed)
    Q_PROPERTY(int cancelled READ cancelled NOTIFY changed)
    Q_PROPERTY(QString kadarTotal READ kadarTotal NOTIFY changed)
    Q_PROPERTY(QString tawaranTotal READ tawaranTotal NOTIFY changed)
    Q_PROPERTY(QVariantList types READ types NOTIFY changed)
    Q_PROPERTY(QStringList unreadable READ unreadable NOTIFY changed)
    Q_PROPERTY(int waiting READ waiting NOTIFY changed)
    Q_PROPERTY(QString oldestWaiting READ oldestWaiting NOTIFY changed)
    Q_PROPERTY(int photos READ photos NOTIFY changed)
    Q_PROPERTY(int undated READ undated NOTIFY changed)
    Q_PROPERTY(QStringList numbers READ numbers NOTIFY changed)
    Q_PROPERTY(bool printing READ printing NOTIFY printingChanged)
public:
    explicit RingkasanViewController(QObject* parent = nullptr);

    QStringList dayLabels() const;
    int dayIndex() const { return int(days_.indexOf(summary_.day)); }
    QString dayText() const { return summary_.day.toString(QStringLiteral("dd/MM/yyyy")); }
    int issued() const { return summary_.issued; }
    int inForce() const { return summary_.inForce; }
    int cancelled() const { return summary_.cancelled; }
    QString kadarTotal() const { return QStringLiteral("RM ") + Sen::format(summary_.kadarSen); }
    QString tawaranTotal() const { return QStringLiteral("RM ") + Sen::format(summary_.tawaranSen); }
    // Each {type, count, kadar, tawaran}, the amounts as "RM 150.30".
    QVariantList types() const;
    // One line each: "P2026M07000041: kompaunKadar "RM10"".
    QStringList unreadable() const;
    int waiting() const { return summary_.waiting; }
    // How long the oldest of the day's waiting compounds has waited; "-" when none waits.
    QString oldestWaiting() const;
    int photos() const { return summary_.photos; }
    int undated() const { return undated_; }
    // The day's compound numbers in order, a cancelled one marked.
    QStringList numbers() const;
    bool printing() const { return printing_; }
    const DaySummary& summary() const { return summary_; }

    // What the hand-over slip prints for the day shown.
    HandOverSlip::Content slipContent() const;

    // Each time the screen shows: read again from the store, the chosen day kept while it is held.
    Q_INVOKABLE void viewWillAppear() { reload(); }
    Q_INVOKABLE void reload();
    Q_INVOKABLE void chooseDay(int index);
    // "Cetak Ringkasan": the slip of the day shown, through the printer session.
    Q_INVOKABLE void cetakRingkasan();

Q_SIGNALS:
    void changed();
    void printingChanged();
    // The slip ended: written when the printer took every byte of it.
    void slipFinished(bool written);

private:
    void contextSet() override { reload(); }
    void alert(const QString& title, const QString& message);
    void finishPrinting(bool written);

    QList<QDate> days_;
    QDate today_;
    DaySummary summary_;
    int undated_ = 0;
    std::optional<QDate> chosen_;
    bool printing_ = false;
    QMetaObject::Connection waiting_;
};

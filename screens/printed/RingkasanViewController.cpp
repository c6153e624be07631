#include "screens/printed/RingkasanViewController.h"

#include "core/AppDelegate.h"
#include "core/KualaLumpurDate.h"
#include "platform/Alerts.h"
#include "printing/PrinterConnection.h"
#include "printing/WSSessionController.h"
#include "screens/shell/AppContext.h"

namespace {
QString dateText(const QDate& d) {
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}
} // namespace

RingkasanViewController::RingkasanViewController(QObject* parent) : ScreenController(parent) {}

void RingkasanViewController::reload() {
    const ShiftSummary shift(app().saveStore().summaryRows(), app().clock().now());
    days_ = shift.days();
    today_ = shift.today();
    undated_ = shift.undated();
    const QDate day = chosen_ && days_.contains(*chosen_) ? *chosen_ : shift.today();
    summary_ = shift.day(day);
    Q_EMIT changed();
}

void RingkasanViewController::chooseDay(int index) {
    if (index < 0 || index >= days_.size())
        return;
    chosen_ = days_.at(index);
    reload();
}

QStringList RingkasanViewController::dayLabels() const {
    QStringList labels;
    for (const QDate& d : days_)
        labels << (d == today_ ? QStringLiteral("Hari ini, %1").arg(dateText(d)) : dateText(d));
    return labels;
}

QVariantList RingkasanViewController::types() const {
    QVariantList rows;
    for (const SummaryTypeLine& t : summary_.types)
        rows.append(
            QVariantMap{{QStringLiteral("type"), t.type.isEmpty() ? QStringLiteral("(TIADA JENIS)") : t.type},
                        {QStringLiteral("count"), t.count},
                        {QStringLiteral("kadar"), QStringLiteral("RM ") + Sen::format(t.kadarSen)},
                        {QStringLiteral("tawaran"), QStringLiteral("RM ") + Sen::format(t.tawaranSen)}});
    return rows;
}

QStringList RingkasanViewController::unreadable() const {
    QStringList lines;
    for (const UnreadableAmount& u : summary_.unreadable)
        lines << QStringLiteral("%1: %2 \"%3\"").arg(u.number, u.key, u.text);
    return lines;
}

QString RingkasanViewController::oldestWaiting() const {
    return summary_.oldestWaitingSeconds ? ShiftSummary::ageText(*summary_.oldestWaitingSeconds)
                                         : QStringLiteral("-");
}

QStringList RingkasanViewController::numbers() const {
    QStringList out;
    for (const DaySummary::Number& n : summary_.numbers)
        out << (n.cancelled ? QStringLiteral("%1 (DIBATALKAN)").arg(n.number) : n.number);
    return out;
}

HandOverSlip::Content RingkasanViewController::slipContent() const {
    HandOverSlip::Content c;
    AppDelegate& core = app();
    const RecordMap officer = core.getUserGlobalID();
    c.officerName = officer.value(QStringLiteral("peng_nama"));
    c.officerCode = officer.value(QStringLiteral("kod_pekerja"));
    // Asked without the "not registered" notice: the slip says "000" itself.
    c.deviceCode = core.deviceIdentity().isRegistered() ? core.deviceIdentity().getCustomDeviceID()
                                                        : QStringLiteral("000");
    c.printedAt = KualaLumpur::format(core.clock().now(), QStringLiteral("dd/MM/yyyy HH:mm"));
    c.day = dateText(summary_.day);
    c.issued = summary_.issued;
    c.inForce = summary_.inForce;
    for (const SummaryTypeLine& t : summary_.types)
        c.types.append({t.type, t.count, Sen::format(t.kadarSen), Sen::format(t.tawaranSen)});
    c.kadarTotal = Sen::format(summary_.kadarSen);
    c.tawaranTotal = Sen::format(summary_.tawaranSen);
    c.cancelled = summary_.cancelled;
    c.unreadable = unreadable();
    c.waiting = summary_.waiting;
    if (summary_.oldestWaitingSeconds)
        c.oldestWaiting = ShiftSummary::ageText(*summary_.oldestWaitingSeconds);
    c.photos = summary_.photos;
    c.numbers = numbers();
    return c;
}

void RingkasanViewController::alert(const QString& title, const QString& message) {
    app().platform().alerts->show({title, message, {QStringLiteral("OK")}, 0, {}});
}

void RingkasanViewController::cetakRingkasan() {
    if (printing_)
        return;
    PrinterConnection& connection = context().printerConnection();
    // The figures as they are at this moment, not as they were when the screen opened.
    reload();
    connection.reconnect();
    WSSessionController* session = connection.sessionController();
    const int notice = HandOverSlip::print(session, slipContent());
    if (notice == 0) {
        // A connection that failed has told the officer already.
        Q_EMIT slipFinished(false);
        return;
    }
    printing_ = true;
    Q_EMIT printingChanged();
    QObject::disconnect(waiting_);
    waiting_ = session->whenNoticeFinished(notice, this, [this](bool written) { finishPrinting(written); });
}

void RingkasanViewController::finishPrinting(bool written) {
    QObject::disconnect(waiting_);
    printing_ = false;
    Q_EMIT printingChanged();
    // A slip cut short has its alert from the printer connection.
    if (written)
        alert(QStringLiteral("Notifikasi"), QStringLiteral("Ringkasan %1 telah dicetak.").arg(dayText()));
    Q_EMIT slipFinished(written);
}

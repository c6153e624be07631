#include "Flows.h"
#include "Walkthrough.h"
#include "app/Application.h"
#include "core/AppDelegate.h"
#include "core/ShiftSummary.h"
#include "platform/QtAlerts.h"
#include "screens/NavigationStack.h"
#include "screens/ShellController.h"

#include <QQuickItem>

// The shift summary from the printed list: today's figures checked against the store, and the hand-over
// slip printed and collected from the printer emulator. Then "Log Keluar" asks about the compounds waiting.
void summaryFlow(Walkthrough& w) {
    Application& app = w.app();
    Officer& officer = w.officer();
    AppDelegate& core = app.app();
    QtAlerts& alerts = app.alerts();
    const auto shown = [&](const QString& name) {
        QQuickItem* item = officer.find(name);
        return item ? item->property("text").toString() : QStringLiteral("<not shown>");
    };

    DaySummary today;
    w.step(
        QStringLiteral("summary"),
        [&] {
            officer.tap(QStringLiteral("tab2"));
            app.shell().stack(ShellController::Dicetak)->popToRoot();
            officer.settle();
            officer.tap(QStringLiteral("ringkasanButton"));
            officer.settle();
            const ShiftSummary shift(core.saveStore().summaryRows(), core.clock().now());
            today = shift.day(shift.today());
        },
        [&]() -> QString {
            if (!officer.isShowing(QStringLiteral("ringkasanView")))
                return QStringLiteral("the summary is not shown");
            if (today.issued == 0)
                return QStringLiteral("the store holds no compound of today");
            const QList<std::pair<QString, QString>> figures{
                {QStringLiteral("ringkasanIssued"), QString::number(today.issued)},
                {QStringLiteral("ringkasanCancelled"), QString::number(today.cancelled)},
                {QStringLiteral("ringkasanKadar"), QStringLiteral("RM ") + Sen::format(today.kadarSen)},
                {QStringLiteral("ringkasanTawaran"), QStringLiteral("RM ") + Sen::format(today.tawaranSen)},
                {QStringLiteral("ringkasanWaiting"), QString::number(today.waiting)},
                {QStringLiteral("ringkasanPhotos"), QString::number(today.photos)}};
            for (const auto& [name, value] : figures)
                if (shown(name) != value)
                    return QStringLiteral("%1 shows \"%2\", the store says %3").arg(name, shown(name), value);
            return {};
        });

    QString receipt;
    w.step(
        QStringLiteral("summary-slip"),
        [&] {
            officer.tap(QStringLiteral("cetakRingkasanButton"));
            receipt = w.collectReceipt(QStringLiteral("summary-slip"));
            Officer::waitUntil([&] { return alerts.visible(); });
            officer.settle();
        },
        [&]() -> QString {
            if (receipt.isEmpty())
                return QStringLiteral("the printer emulator received no slip");
            return Walkthrough::expectAlert(alerts, QStringLiteral("Notifikasi"),
                                            QStringLiteral("Ringkasan %1 telah dicetak.")
                                                .arg(today.day.toString(QStringLiteral("dd/MM/yyyy"))));
        });
    w.step(
        QStringLiteral("summary-closed"),
        [&] {
            officer.tap(QStringLiteral("alertButton0"));
            officer.tap(QStringLiteral("backButton"));
            officer.settle();
        },
        [&]() -> QString {
            return officer.isShowing(QStringLiteral("secondView"))
                       ? QString()
                       : QStringLiteral("not back on the printed list");
        });

    // "Log Keluar" with compounds waiting asks about them first; "Tidak" then "Batal" keeps the officer in.
    int waiting = 0;
    w.step(
        QStringLiteral("sign-out-upload-question"),
        [&] {
            waiting = core.saveStore().getDicetakUploadCountNumber();
            officer.tap(QStringLiteral("tab0"));
            app.shell().viewGetBackToRoot();
            officer.settle();
            officer.tap(QStringLiteral("logKeluarButton"));
            officer.settle();
        },
        [&]() -> QString {
            if (waiting == 0)
                return QStringLiteral("nothing waits for upload");
            return Walkthrough::expectAlert(alerts, QStringLiteral("Kepastian"),
                                            ShellController::uploadQuestion(waiting));
        });
    w.step(
        QStringLiteral("sign-out-upload-declined"),
        [&] {
            officer.tap(QStringLiteral("alertButton0"));
            officer.settle();
            officer.tap(QStringLiteral("alertButton0"));
        },
        [&]() -> QString { return app.shell().signedIn() ? QString() : QStringLiteral("signed out"); });
}

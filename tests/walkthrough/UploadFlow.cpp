#include "Flows.h"
#include "Walkthrough.h"
#include "app/Application.h"
#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/QtAlerts.h"
#include "platform/QtProgress.h"
#include "screens/ShellController.h"
#include "sync/LocationTracker.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

// "MuatNaik" from the printed list with its question and summary, and a position report reaching the
// council from the replayed positions.
void uploadFlow(Walkthrough& w) {
    Application& app = w.app();
    Officer& officer = w.officer();
    AppDelegate& core = app.app();
    QtAlerts& alerts = app.alerts();
    QtProgress& progress = app.progress();
    int waiting = 0;
    // The full pictures waiting, by compound number then position.
    QMap<QString, QMap<int, QByteArray>> photosWaiting;
    QStringList progressSeen;
    QObject::connect(&progress, &QtProgress::changed, &progress, [&] {
        if (progress.visible())
            progressSeen << progress.detail();
    });

    w.step(
        QStringLiteral("upload"),
        [&] {
            officer.tap(QStringLiteral("tab2"));
            waiting = core.saveStore().getDicetakUploadCountNumber();
            for (const SavedCompound& c : core.saveStore().getDicetak()) {
                if (c.flagValue() != 0)
                    continue;
                // Positions count from one, in the order the photographs were taken.
                for (int i = 0; i < c.photos.size(); ++i)
                    photosWaiting[c.record->value(Key::kompaunRunningNumber)][i + 1] =
                        QByteArray::fromBase64(c.photos.at(i).full.toLatin1());
            }
            // "MuatNaik" on the printed list's bar, and "Ya" to its question.
            officer.tap(QStringLiteral("muatNaikButton"));
            if (!alerts.visible() || alerts.title() != QLatin1String("Kepastian"))
                return;
            w.shot(QStringLiteral("upload-question"));
            officer.tap(QStringLiteral("alertButton1"));
            Officer::waitUntil([&] { return alerts.visible() && !progress.visible(); }, 60000);
        },
        [&]() -> QString {
            const QString expected = QStringLiteral("Berjaya : %1 , Gagal : 0, Jumlah : %1").arg(waiting);
            if (QString p = Walkthrough::expectAlert(alerts, QStringLiteral("Notifikasi"), expected);
                !p.isEmpty())
                return p;
            if (core.saveStore().getDicetakUploadCountNumber() != 0)
                return QStringLiteral("compounds still waiting after the upload");
            if (!progressSeen.contains(QStringLiteral("0/%1").arg(waiting)))
                return QStringLiteral("progress never showed 0/%1 (%2)")
                    .arg(waiting)
                    .arg(progressSeen.join(QLatin1Char(' ')));
            if (!w.ownCouncil())
                return {};
            const int compounds = int(w.councilHolds(QStringLiteral("compounds")).size());
            if (compounds != waiting)
                return QStringLiteral("the council holds %1 compounds, not %2").arg(compounds).arg(waiting);
            // Every photograph reached the council once, under its compound and position, byte for byte.
            QMap<QString, QMap<int, QByteArray>> received;
            for (const QJsonValue& v : w.councilHolds(QStringLiteral("photos"))) {
                const QJsonObject p = v.toObject();
                QByteArray& bytes = received[p.value(QStringLiteral("compound")).toString()]
                                            [p.value(QStringLiteral("index")).toInt()];
                if (!bytes.isEmpty())
                    return QStringLiteral("a photograph of %1 arrived twice")
                        .arg(p.value(QStringLiteral("compound")).toString());
                bytes =
                    QByteArray::fromBase64(p.value(QStringLiteral("content_base64")).toString().toLatin1());
            }
            if (received != photosWaiting) {
                int stored = 0;
                for (const auto& byPosition : photosWaiting)
                    stored += int(byPosition.size());
                int got = 0;
                for (const auto& byPosition : received)
                    got += int(byPosition.size());
                return QStringLiteral("the council holds %1 photographs that differ from the %2 stored")
                    .arg(got)
                    .arg(stored);
            }
            return {};
        });

    int before = 0;
    w.step(
        QStringLiteral("position-report"),
        [&] {
            officer.tap(QStringLiteral("alertButton0"));
            before = int(w.councilHolds(QStringLiteral("positions")).size());
            // The report timer's action, run at once; again a few seconds later should the replay not have
            // given its first fix yet on a slow machine.
            for (int attempt = 0; attempt < 10; ++attempt) {
                app.locationTracker().updateLocation();
                if (!w.ownCouncil())
                    break;
                Officer::waitUntil(
                    [&] { return w.councilHolds(QStringLiteral("positions")).size() > before; }, 3000);
                if (w.councilHolds(QStringLiteral("positions")).size() > before)
                    break;
            }
        },
        [&]() -> QString {
            if (!w.ownCouncil())
                return {};
            const QJsonArray positions = w.councilHolds(QStringLiteral("positions"));
            if (positions.size() <= before)
                return QStringLiteral("no position report reached the council");
            const QJsonObject last = positions.last().toObject();
            if (last.value(QStringLiteral("device_id")).toString() != w.deviceId() ||
                !last.value(QStringLiteral("lat")).toString().startsWith(QStringLiteral("3.07")))
                return QStringLiteral("report %1")
                    .arg(QString::fromUtf8(QJsonDocument(last).toJson(QJsonDocument::Compact)));
            return {};
        });
}

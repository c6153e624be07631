#include "sync/CouncilOutcome.h"

#include "platform/Alerts.h"
#include "platform/Log.h"
#include "platform/Progress.h"

void reportCouncilSuccess(const Platform& platform, const QString& logLine, const QString& message) {
    platform.progress->hide();
    platform.log->write(logLine);
    platform.alerts->show(Alert{QStringLiteral("Notifikasi"), message, {QStringLiteral("YA")}, 0, {}});
}

void reportCouncilFailure(const Platform& platform, const QString& codeName, const QString& why,
                          const QString& operation) {
    platform.log->write(codeName + QStringLiteral(": ") + why);
    platform.progress->hide();
    platform.alerts->show(Alert{QStringLiteral("Gagal"),
                                QStringLiteral("Operasi %1 gagal. Ia berkemungkinan pelayar ORVA tidak dapat "
                                               "disambung atau kegagalan internet anda. Sila cuba lagi.")
                                    .arg(operation),
                                {QStringLiteral("YA")},
                                0,
                                {}});
}

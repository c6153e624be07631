#include "sync/DeviceRegistration.h"

#include "core/DeviceIdentity.h"
#include "core/ReferenceData.h"
#include "core/RunningNumber.h"
#include "platform/Http.h"
#include "platform/Log.h"
#include "platform/Progress.h"
#include "sync/CouncilOutcome.h"

DeviceRegistration::DeviceRegistration(SyncServices services, QObject* parent)
    : QObject(parent), s_(std::move(services)) {}

void DeviceRegistration::kemas_kini_device(const QString& deviceId) {
    if (busy_)
        return;
    busy_ = true;
    s_.platform.progress->show(QStringLiteral("Mendaftar Device"));
    HttpRequest request;
    request.url = s_.endpoints.lastNumber(deviceId);
    request.timeoutMs = s_.timeoutMs;
    if (!request.url.isValid())
        return fail(QStringLiteral("device id \"%1\" cannot be sent as a path segment").arg(deviceId));
    s_.http.send(
        request, [this, deviceId](const HttpResponse& r) { onReply(deviceId, r.body); },
        [this](const HttpResponse& r) {
            fail(QStringLiteral("request failed: %1 %2").arg(r.status).arg(r.errorText));
        },
        this);
}

std::optional<QString> DeviceRegistration::lastNumberOf(const QByteArray& body) {
    const auto first = CouncilWire::firstObject(body);
    if (!first) {
        s_.platform.log->write(
            QStringLiteral("reply is not a list with an object: %1").arg(QString::fromUtf8(body.left(200))));
        return std::nullopt;
    }
    const auto lastNumber = CouncilWire::textValue(first->value(QStringLiteral("no_akhir")));
    if (!lastNumber) {
        s_.platform.log->write(QStringLiteral("reply has no no_akhir"));
        return std::nullopt;
    }
    s_.platform.log->write(QStringLiteral("No Komp Akhir : %1").arg(*lastNumber));
    if (CouncilWire::integerValue(QJsonValue(*lastNumber)) > largestRunningNumber) {
        s_.platform.log->write(QStringLiteral("no_akhir %1 is out of range").arg(*lastNumber));
        return std::nullopt;
    }
    return lastNumber;
}

void DeviceRegistration::confirmRunningNumber() {
    RunningNumber& numbers = s_.runningNumbers;
    if (numbers.isTrusted() || !s_.deviceIdentity.isRegistered())
        return;
    const QString deviceId = s_.deviceIdentity.getCustomDeviceID();
    HttpRequest request;
    request.url = s_.endpoints.lastNumber(deviceId);
    request.timeoutMs = s_.timeoutMs;
    if (!request.url.isValid()) {
        Q_EMIT runningNumberConfirmed(false);
        return;
    }
    s_.http.send(
        request,
        [this, deviceId](const HttpResponse& r) {
            const auto n = lastNumberOf(r.body);
            const bool confirmed =
                n && s_.runningNumbers.confirmFromCouncil(
                         int(std::max<qint64>(0, CouncilWire::integerValue(QJsonValue(*n)))), deviceId);
            s_.platform.log->write(confirmed ? QStringLiteral("Running number confirmed by the council")
                                             : QStringLiteral("Running number still unconfirmed"));
            Q_EMIT runningNumberConfirmed(confirmed);
        },
        [this](const HttpResponse& r) {
            s_.platform.log->write(
                QStringLiteral("Running number still unconfirmed: %1 %2").arg(r.status).arg(r.errorText));
            Q_EMIT runningNumberConfirmed(false);
        },
        this);
}

void DeviceRegistration::onReply(const QString& deviceId, const QByteArray& body) {
    const auto lastNumber = lastNumberOf(body);
    if (!lastNumber)
        return fail(QStringLiteral("no usable last number in the reply"));
    const QString n = *lastNumber;
    const qint64 count = std::max<qint64>(0, CouncilWire::integerValue(QJsonValue(n)));

    // The number seeded is the council's, or higher when this phone has numbered further (its number
    // file, its store's mark, the compounds it holds): registering again never lowers it.
    if (!s_.lookups.registerDevice(deviceId, n, int(count), s_.runningNumbers))
        return fail(
            QStringLiteral("the device table could not be rebuilt; the previous registration is kept"));

    busy_ = false;
    reportCouncilSuccess(s_.platform, QStringLiteral("Daftar Device : %1").arg(deviceId),
                         QStringLiteral("Berjaya mendaftar device."));
    Q_EMIT finished(true);
}

void DeviceRegistration::fail(const QString& why) {
    busy_ = false;
    reportCouncilFailure(s_.platform, QStringLiteral("kemas_kini_device"), why,
                         QStringLiteral("mendaftar device"));
    Q_EMIT finished(false);
}

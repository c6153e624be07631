#include "platform/QtPositionUpdates.h"

#include <QFile>
#include <QGeoPositionInfoSource>
#include <QNmeaPositionInfoSource>
#include <QTcpSocket>

QtPositionUpdates::QtPositionUpdates(QGeoPositionInfoSource* source, QObject* parent)
    : QObject(parent), source_(source) {
    if (!source_)
        return;
    source_->setPreferredPositioningMethods(QGeoPositionInfoSource::AllPositioningMethods);
    source_->setUpdateInterval(0);
    connect(source_, &QGeoPositionInfoSource::positionUpdated, this, [this](const QGeoPositionInfo& info) {
        if (!onFixes || !info.isValid())
            return;
        PositionFix fix;
        fix.latitude = info.coordinate().latitude();
        fix.longitude = info.coordinate().longitude();
        fix.horizontalAccuracy = info.hasAttribute(QGeoPositionInfo::HorizontalAccuracy)
                                     ? info.attribute(QGeoPositionInfo::HorizontalAccuracy)
                                     : -1;
        fix.timestamp = fixTime(source_, info);
        onFixes({fix});
    });
    connect(source_, &QGeoPositionInfoSource::errorOccurred, this,
            [this](QGeoPositionInfoSource::Error error) {
                if (!onFailure)
                    return;
                if (error == QGeoPositionInfoSource::AccessError)
                    onFailure(Failure::Denied);
                else if (error == QGeoPositionInfoSource::ClosedError)
                    onFailure(Failure::Network);
                else
                    onFailure(Failure::Other);
            });
}

QDateTime QtPositionUpdates::fixTime(const QGeoPositionInfoSource* source, const QGeoPositionInfo& info) {
    const auto* nmea = qobject_cast<const QNmeaPositionInfoSource*>(source);
    return nmea && nmea->updateMode() == QNmeaPositionInfoSource::SimulationMode
               ? QDateTime::currentDateTimeUtc()
               : info.timestamp();
}

PositionUpdates::Authorization QtPositionUpdates::authorization() const {
    // The desktop sources ask nobody; an access error, if any, arrives as a failure.
    return source_ ? Authorization::Authorized : Authorization::NotDetermined;
}

void QtPositionUpdates::startUpdates() {
    updating_ = true;
    if (source_)
        source_->startUpdates();
}

void QtPositionUpdates::stopUpdates() {
    updating_ = false;
    if (source_)
        source_->stopUpdates();
}

QGeoPositionInfoSource* QtPositionUpdates::makeNmeaSource(const QString& fileOrHostPort, QObject* parent) {
    QIODevice* device = nullptr;
    QNmeaPositionInfoSource::UpdateMode mode = QNmeaPositionInfoSource::SimulationMode;
    if (QFile::exists(fileOrHostPort)) {
        auto* file = new QFile(fileOrHostPort);
        if (!file->open(QIODevice::ReadOnly)) {
            delete file;
            return nullptr;
        }
        device = file;
    } else {
        const int colon = fileOrHostPort.lastIndexOf(QLatin1Char(':'));
        bool ok = false;
        const quint16 port = colon > 0 ? fileOrHostPort.mid(colon + 1).toUShort(&ok) : 0;
        if (!ok)
            return nullptr;
        auto* socket = new QTcpSocket;
        socket->connectToHost(fileOrHostPort.left(colon), port);
        device = socket;
        mode = QNmeaPositionInfoSource::RealTimeMode;
    }
    auto* source = new QNmeaPositionInfoSource(mode, parent);
    device->setParent(source);
    source->setDevice(device);
    // NMEA carries no accuracy of its own; a typical receiver's error gives fixes a usable one.
    source->setUserEquivalentRangeError(5.0);
    return source;
}

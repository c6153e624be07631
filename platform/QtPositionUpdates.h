#pragma once

#include "platform/PositionUpdates.h"

#include <QObject>
#include <QPointer>

#include <QGeoPositionInfoSource>
class QIODevice;

// Continuous updates over a Qt Positioning source; on the desktop an NMEA replay from a file or a
// socket ("host:port"), chosen with makeNmeaSource.
class QtPositionUpdates : public QObject, public PositionUpdates {
    Q_OBJECT
public:
    explicit QtPositionUpdates(QGeoPositionInfoSource* source, QObject* parent = nullptr);
    bool servicesEnabled() const override { return source_ != nullptr; }
    Authorization authorization() const override;
    void startUpdates() override;
    void stopUpdates() override;
    bool updating() const override { return updating_; }

    // An NMEA source reading a file (replayed at its own pace) or a TCP socket "host:port"; none on failure.
    static QGeoPositionInfoSource* makeNmeaSource(const QString& fileOrHostPort, QObject* parent);
    // When a fix was taken. A replayed recording carries the times it was made at; as a live receiver
    // would, its fixes are stamped now.
    static QDateTime fixTime(const QGeoPositionInfoSource* source, const QGeoPositionInfo& info);

private:
    QPointer<QGeoPositionInfoSource> source_;
    bool updating_ = false;
};

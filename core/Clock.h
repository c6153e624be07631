#pragma once

#include <QDateTime>
#include <QTimeZone>

// The time source, injectable so tests can stand on any instant.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const { return QDateTime::currentDateTimeUtc(); }
};

// A compound's dates are Kuala Lumpur dates, whatever zone the phone is set to.
namespace KualaLumpur {
inline QTimeZone zone() {
    return QTimeZone(QByteArrayLiteral("Asia/Kuala_Lumpur"));
}
inline QString format(const QDateTime& instant, const QString& pattern) {
    return instant.toTimeZone(zone()).toString(pattern);
}
} // namespace KualaLumpur

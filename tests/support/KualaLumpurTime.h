#pragma once

#include "core/KualaLumpurDate.h"
#include "platform/Clock.h"

#include <QDateTime>

namespace testsupport {

// A clock that reads whatever instant the test sets.
class FixedClock : public Clock {
public:
    QDateTime now() const override { return instant; }
    QDateTime instant;
};

// That wall-clock time in Kuala Lumpur, whatever the machine's zone.
inline QDateTime kl(int y, int m, int d, int hh, int mm) {
    return QDateTime(QDate(y, m, d), QTime(hh, mm), KualaLumpur::zone());
}

} // namespace testsupport

// The council's device registration reply, read as registration reads it: the first object's last number.
#include "sync/CouncilEndpoints.h"

#include <QJsonValue>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto first = CouncilWire::firstObject(body);
    if (!first)
        return 0;
    const auto lastNumber = CouncilWire::textValue(first->value(QStringLiteral("no_akhir")));
    if (lastNumber)
        (void)CouncilWire::integerValue(QJsonValue(*lastNumber));
    (void)CouncilWire::integerValue(first->value(QStringLiteral("no_akhir")));
    return 0;
}

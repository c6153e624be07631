// The council's officer list reply: read whole or refused, never half.
#include "sync/OfficerUpdate.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto rows = OfficerUpdate::parseOfficers(body);
    if (rows)
        for (const QStringList& row : *rows)
            if (row.size() != 11) // one value per column of the officers table
                std::abort();
    return 0;
}

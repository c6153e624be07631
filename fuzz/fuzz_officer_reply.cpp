// The council's officer list reply: read whole or refused, never half.
#include "sync/OfficerUpdate.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    const OfficerUpdate::OfficerList list = OfficerUpdate::parseOfficers(body);
    if (list.accepted())
        for (const QStringList& row : list.rows)
            if (row.size() != 11) // one value per column of the officers table
                std::abort();
    return 0;
}

// Scanned licence and bill data: the account rule holds for any text a barcode can carry.
#include "core/ControlCharacters.h"
#include "sync/LicenceScan.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString scanned = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const LicenceScan scan = LicenceScan::fromData(scanned);
    const QString text = withoutControlCharacters(scanned);
    // Never an empty account from non-empty data; the account is the data or one of its star pieces.
    if (!text.isEmpty() && scan.account.isEmpty())
        std::abort();
    if (scan.account != text && !text.split(QLatin1Char('*')).contains(scan.account))
        std::abort();
    const bool tax = scan.account.startsWith(QLatin1String("05"));
    if ((scan.kind == LicenceScan::AssessmentTax) != tax || bool(scan.licenceForRecord) == tax)
        std::abort();
    if (scan.licenceForRecord && *scan.licenceForRecord != scan.account.toUpper())
        std::abort();
    return 0;
}

// Scanned barcode text on its way into the compound: whatever bytes a sticker holds, no control character
// reaches the record, the account shown or the page's address.
#include "core/Record.h"
#include "core/RecordKeys.h"
#include "sync/CouncilEndpoints.h"
#include "sync/LicenceScan.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

namespace {

bool hasControl(const QString& text) {
    for (QChar c : text)
        if (c.category() == QChar::Other_Control)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const CouncilEndpoints endpoints(QStringLiteral("https://enquiry.example.gov.my"));
    FuzzedDataProvider input(data, size);
    // zbar hands text over as UTF-8 or as bytes read one to a character: both ways in.
    QStringList symbols;
    const int count = input.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < count; ++i) {
        const std::string bytes = input.ConsumeRandomLengthString(512);
        symbols.append(input.ConsumeBool() ? QString::fromUtf8(bytes.data(), qsizetype(bytes.size()))
                                           : QString::fromLatin1(bytes.data(), qsizetype(bytes.size())));
    }
    const std::optional<LicenceScan> scan = LicenceScan::fromSymbols(symbols);
    if (!scan)
        return 0;
    if (symbols.isEmpty() || scan->account.trimmed().isEmpty() || hasControl(scan->account))
        std::abort();
    // As the scan screen writes it.
    const Record record = makeRecord({{Key::lokasiLesenPerniagaan, QStringLiteral("151")}});
    if (scan->licenceForRecord)
        record->insert(Key::lokasiLesenPerniagaan, *scan->licenceForRecord);
    if (hasControl(record->value(Key::lokasiLesenPerniagaan)))
        std::abort();
    const QUrl page = LicenceScan::pageUrl(endpoints, scan->account);
    if (page.isValid()) {
        const QByteArray encoded = page.toEncoded();
        for (char c : encoded)
            if (uchar(c) < 0x21 || uchar(c) > 0x7e)
                std::abort();
        if (page.host() != QLatin1String("enquiry.example.gov.my") || page.hasQuery() || page.hasFragment())
            std::abort();
    }
    return 0;
}

// The property-list reader and the saved-compounds reading of its result: whatever the bytes, no crash, and
// whatever reads must write out as XML that reads back.
#include "core/PlistFile.h"
#include "core/SavedCompoundFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    // The old saved-compounds file's own reader, entry by entry, as the start-up import uses it.
    int entries = 0;
    QString error;
    SavedCompoundFile::read(QByteArray(bytes.constData(), bytes.size()),
                            [&](SavedCompoundFile::Entry&&) {
                                ++entries;
                                return true;
                            },
                            &error);
    const std::optional<QVariant> root = PlistFile::parse(bytes);
    if (!root)
        return 0;
    // Whatever reads writes out as XML that reads back.
    if (!PlistFile::parse(PlistFile::toXml(*root)))
        std::abort();
    return 0;
}

// The property-list reader and the saved-compounds reading of its result: whatever the bytes, no crash, and
// whatever reads must write out as XML that reads back.
#include "core/PlistFile.h"
#include "core/SavedCompoundStore.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<QVariant> root = PlistFile::parse(bytes);
    if (!root)
        return 0;
    const SavedCompoundList list = SavedCompoundStore::fromPlist(*root);
    // What the store makes of it writes and reads back to the same number of entries.
    const std::optional<QVariant> again =
        PlistFile::parse(PlistFile::toXml(SavedCompoundStore::toPlist(list)));
    if (!again || SavedCompoundStore::fromPlist(*again).size() != list.size())
        std::abort();
    return 0;
}

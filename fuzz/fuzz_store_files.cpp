// The three Documents files as the application reads them at start-up: the old saved-compounds file,
// the favourites and the running number, each given the fuzzer's bytes. Everything stays in memory
// (the readers take bytes, the store is an in-memory database made once), so an input costs parsing,
// not a folder of files and a database synced to disk.
#include "core/FavouriteStore.h"
#include "core/PlistFile.h"
#include "core/SavedCompoundFile.h"
#include "core/SavedCompoundStore.h"

#include <plist/plist.h>

#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // One store for the whole run; each input replaces what it holds, as a migration fills a new store.
    static const std::unique_ptr<SavedCompoundStore> store =
        SavedCompoundStore::atPath(QStringLiteral(":memory:"), nullptr);
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    // The old store, entry by entry, into the store and back out as the screens see it.
    SavedCompoundList entries;
    QString reason;
    const bool readable = SavedCompoundFile::read(
        bytes,
        [&](SavedCompoundFile::Entry&& e) {
            SavedCompound entry{makeRecord(std::move(e.record)), {}, e.flag};
            for (const StoredPhoto& photo : e.photos)
                entry.photos.append(photo.toEntry());
            entries.append(std::move(entry));
            return true;
        },
        &reason);
    if (readable && !entries.isEmpty()) {
        (void)store->saveArrayFile(entries);
        (void)store->getSaveArray();
        (void)store->printedListRows();
    }

    // The favourites and the running number: the same property-list reader, then each one's reading.
    if (const auto root = PlistFile::parse(bytes))
        (void)FavouriteStore::fromPlist(*root);
    if (void* tree = PlistFile::parseTree(bytes)) {
        (void)(plist_get_node_type(static_cast<plist_t>(tree)) == PLIST_ARRAY
                   ? plist_array_get_size(static_cast<plist_t>(tree))
                   : 0);
        plist_free(static_cast<plist_t>(tree));
    }
    return 0;
}

#include "core/FavouriteStore.h"
#include "platform/NullServices.h"

#include "core/FileAside.h"
#include "core/PlistFile.h"
#include "platform/Log.h"

#include <QFileInfo>

FavouriteStore::FavouriteStore(QString documentsDir, Log* log)
    : path_(documentsDir + QLatin1Char('/') + QLatin1String(fileName)), log_(orNothing(log)) {}

std::optional<FavouriteList> FavouriteStore::getFavSaveArray() const {
    const auto root = PlistFile::read(path_);
    return root ? fromPlist(*root) : std::nullopt;
}

std::optional<FavouriteList> FavouriteStore::fromPlist(const QVariant& root) {
    if (root.metaType().id() != QMetaType::QVariantList)
        return std::nullopt;
    FavouriteList list;
    for (const QVariant& item : root.toList()) {
        const QVariantList parts = item.toList();
        Favourite fav{parts.value(0).toString(), parts.value(1).toString(), {}};
        const QVariantMap record = parts.value(2).toMap();
        for (auto it = record.cbegin(); it != record.cend(); ++it)
            fav.record.insert(it.key(), it.value().toString());
        list.append(fav);
    }
    return list;
}

bool FavouriteStore::insertIntoFav(const RecordMap& record, const QString& title, const QString& subtitle) {
    FavouriteList list = getFavSaveArray().value_or(FavouriteList{});
    list.append({title, subtitle, record});
    QStringList parts;
    for (auto it = record.cbegin(); it != record.cend(); ++it)
        parts << QStringLiteral("%1 = \"%2\"").arg(it.key(), it.value());
    log_->write(QStringLiteral("Fav : { %1 }").arg(parts.join(QStringLiteral("; "))));
    return saveArrayFav(list);
}

bool FavouriteStore::saveArrayFav(const FavouriteList& list) {
    // Favourites in a file we cannot read are the officer's own work: kept aside, never written over.
    if (QFileInfo::exists(path_) && !getFavSaveArray() && moveAside(path_, log_).isEmpty())
        return false;
    QVariantList root;
    for (const Favourite& fav : list) {
        QVariantMap record;
        for (auto it = fav.record.cbegin(); it != fav.record.cend(); ++it)
            record.insert(it.key(), it.value());
        root.append(QVariant(QVariantList{fav.title, fav.subtitle, record}));
    }
    QString error;
    const bool ok = PlistFile::write(path_, root, &error);
    log_->write(ok ? QStringLiteral("Save Successfully") : QStringLiteral("Save failed: %1").arg(error));
    return ok;
}

bool FavouriteStore::replaceFav(const FavouriteList& list) {
    if (!QFileInfo::exists(path_))
        return true;
    return saveArrayFav(list);
}

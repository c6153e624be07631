#pragma once

#include "core/Record.h"

#include <QList>
#include <QVariant>

#include <optional>

class Log;

// One favourite offence: the row's title and subtitle and the offence's record.
struct Favourite {
    QString title;
    QString subtitle;
    RecordMap record;
    friend bool operator==(const Favourite&, const Favourite&) = default;
};
using FavouriteList = QList<Favourite>;

// The favourites store "fav.dat": read whole, written whole and atomically. A file that cannot be read is
// moved aside ("fav.dat.unreadable-<UTC time>") before the next write.
class FavouriteStore {
public:
    static constexpr const char* fileName = "fav.dat";

    FavouriteStore(QString documentsDir, Log* log);
    QString path() const { return path_; }

    std::optional<FavouriteList> getFavSaveArray() const;
    // The list a file's root value holds; none when it is not a list of favourites.
    static std::optional<FavouriteList> fromPlist(const QVariant& root);
    bool insertIntoFav(const RecordMap& record, const QString& title, const QString& subtitle);
    bool saveArrayFav(const FavouriteList& list);
    // As saveArrayFav, but only when the file already exists (true when there was nothing to do).
    bool replaceFav(const FavouriteList& list);

private:
    QString path_;
    Log* log_;
};

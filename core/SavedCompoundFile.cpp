#include "core/SavedCompoundFile.h"

#include "core/PlistFile.h"
#include "platform/WholeFile.h"

#include <QMap>
#include <QRegularExpression>
#include <QSaveFile>
#include <QUuid>

#include <plist/plist.h>

#include <memory>

namespace {

struct PlistDeleter {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

QString stringOf(plist_t node) {
    uint64_t length = 0;
    const char* text = plist_get_string_ptr(node, &length);
    return QString::fromUtf8(text, qsizetype(length));
}

// A value that is not text, as earlier versions turned it into text when they read the file (and
// then sent and wrote back): numbers and booleans spelt out, data as UTF-8, the rest empty.
QString textOf(plist_t node) {
    switch (plist_get_node_type(node)) {
    case PLIST_STRING:
        return stringOf(node);
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return value ? QStringLiteral("true") : QStringLiteral("false");
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return QString::number(value);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return QVariant(value).toString();
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* data = plist_get_data_ptr(node, &length);
        return QString::fromUtf8(data, qsizetype(length));
    }
    default:
        return {};
    }
}

// Base64 text is kept as bytes only when encoding the bytes again gives the same text.
void takePicture(plist_t node, QByteArray* bytes, int* kept, int keptBit) {
    const QString text = node && plist_get_node_type(node) == PLIST_STRING ? stringOf(node) : textOf(node);
    const QByteArray latin = text.toLatin1();
    QByteArray decoded = QByteArray::fromBase64(latin);
    if (QString::fromLatin1(decoded.toBase64()) == text) {
        *bytes = std::move(decoded);
    } else {
        *bytes = text.toUtf8();
        *kept |= keptBit;
    }
}

SavedCompoundFile::Entry entryOf(plist_t item) {
    SavedCompoundFile::Entry entry;
    // Entries are read leniently, as earlier versions read them: a damaged entry keeps what it has.
    const bool isList = plist_get_node_type(item) == PLIST_ARRAY;
    const uint32_t parts = isList ? plist_array_get_size(item) : 0;
    plist_t record = parts > 0 ? plist_array_get_item(item, 0) : nullptr;
    if (record && plist_get_node_type(record) == PLIST_DICT) {
        PlistPtr nonText(plist_new_dict());
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(record, &it);
        for (;;) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(record, it, &key, &value);
            if (!key)
                break;
            entry.record.insert(QString::fromUtf8(key), value ? textOf(value) : QString());
            if (value && plist_get_node_type(value) != PLIST_STRING)
                plist_dict_set_item(static_cast<plist_t>(nonText.get()), key, plist_copy(value));
            free(key);
        }
        free(it);
        if (plist_dict_get_size(static_cast<plist_t>(nonText.get())) > 0)
            entry.nonText = PlistFile::xmlOfTree(nonText.get());
    }
    plist_t photos = parts > 1 ? plist_array_get_item(item, 1) : nullptr;
    if (photos && plist_get_node_type(photos) == PLIST_ARRAY) {
        const uint32_t n = plist_array_get_size(photos);
        for (uint32_t i = 0; i < n; ++i) {
            plist_t pair = plist_array_get_item(photos, i);
            const bool pairIsList = plist_get_node_type(pair) == PLIST_ARRAY;
            const uint32_t size = pairIsList ? plist_array_get_size(pair) : 0;
            StoredPhoto photo;
            photo.position = int(i) + 1;
            takePicture(size > 0 ? plist_array_get_item(pair, 0) : nullptr, &photo.thumbnail, &photo.kept,
                        StoredPhoto::ThumbnailText);
            takePicture(size > 1 ? plist_array_get_item(pair, 1) : nullptr, &photo.full, &photo.kept,
                        StoredPhoto::FullText);
            entry.photos.append(std::move(photo));
        }
    }
    plist_t flag = parts > 2 ? plist_array_get_item(item, 2) : nullptr;
    entry.flag = flag ? textOf(flag) : QStringLiteral("0");
    return entry;
}

// A text as the library escapes it inside <string>; plain Base64 comes out unchanged.
QByteArray escapedText(const QString& text) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9+/=]*$"));
    if (plain.match(text).hasMatch())
        return text.toLatin1();
    PlistPtr node(plist_new_string(PlistFile::xmlSafeUtf8(text).constData()));
    const QByteArray xml = PlistFile::xmlOfTree(node.get());
    const qsizetype open = xml.indexOf("<string>");
    const qsizetype close = xml.lastIndexOf("</string>");
    return open >= 0 && close > open ? xml.mid(open + 8, close - open - 8) : QByteArray();
}

} // namespace

QString StoredPhoto::thumbnailBase64() const {
    return kept & ThumbnailText ? QString::fromUtf8(thumbnail) : QString::fromLatin1(thumbnail.toBase64());
}

QString StoredPhoto::fullBase64() const {
    return kept & FullText ? QString::fromUtf8(full) : QString::fromLatin1(full.toBase64());
}

QByteArray StoredPhoto::fullJpeg() const {
    return kept & FullText ? QByteArray::fromBase64(full) : full;
}

PhotoEntry StoredPhoto::toEntry() const {
    return {thumbnailBase64(), fullBase64()};
}

StoredPhoto StoredPhoto::fromEntry(int position, const PhotoEntry& entry) {
    StoredPhoto photo;
    photo.position = position;
    // The same rule as for an old file, through the same code.
    PlistPtr thumb(plist_new_string(entry.thumbnail.toUtf8().constData()));
    PlistPtr full(plist_new_string(entry.full.toUtf8().constData()));
    takePicture(static_cast<plist_t>(thumb.get()), &photo.thumbnail, &photo.kept, ThumbnailText);
    takePicture(static_cast<plist_t>(full.get()), &photo.full, &photo.kept, FullText);
    return photo;
}

namespace SavedCompoundFile {

bool read(QByteArray bytes, const std::function<bool(Entry&&)>& sink, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (bytes.isEmpty())
        return fail(QStringLiteral("empty file"));
    if (!PlistFile::withinDepth(bytes))
        return fail(QStringLiteral("nested deeper than %1 levels").arg(PlistFile::maxDepth));
    // Phones in service write this file as XML; a binary one is no file of ours, and the library's
    // handling of hostile binary trees is not to be trusted with the officer's compounds: kept aside.
    if (plist_is_binary(bytes.constData(), uint32_t(bytes.size())))
        return fail(QStringLiteral("a binary property list"));
    plist_t root = static_cast<plist_t>(PlistFile::parseTree(bytes));
    bytes = QByteArray(); // the parsed tree holds it all now
    PlistPtr owner(root);
    if (!root)
        return fail(QStringLiteral("not a property list"));
    if (plist_get_node_type(root) != PLIST_ARRAY)
        return fail(QStringLiteral("not a list"));
    // Each entry is freed once handed on, so the tree shrinks as the store fills.
    while (plist_array_get_size(root) > 0) {
        if (!sink(entryOf(plist_array_get_item(root, 0))))
            return true;
        plist_array_remove_item(root, 0);
    }
    return true;
}

bool write(const QString& path, const QList<Skeleton>& entries,
           const std::function<QString(int entry, int photo, bool full)>& photoText, QString* error) {
    // The file is laid out by the property-list library with a stand-in for every picture, then the
    // pictures are written in their places one at a time. Base64 needs no escaping in XML, so the
    // result is what the library would have written with the pictures in it.
    const QByteArray mark = "photo-" + QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + "-";
    struct Place {
        int entry, photo;
        bool full;
    };
    QList<Place> places;
    PlistPtr root(plist_new_array());
    for (int e = 0; e < entries.size(); ++e) {
        const Skeleton& s = entries.at(e);
        QMap<QString, plist_t> values;
        for (auto it = s.record.cbegin(); it != s.record.cend(); ++it)
            values.insert(it.key(), nullptr);
        PlistPtr nonText;
        if (!s.nonText.isEmpty()) {
            plist_t parsed = nullptr;
            plist_from_xml(s.nonText.constData(), uint32_t(s.nonText.size()), &parsed);
            nonText.reset(parsed);
            if (parsed && plist_get_node_type(parsed) == PLIST_DICT) {
                plist_dict_iter it = nullptr;
                plist_dict_new_iter(parsed, &it);
                for (;;) {
                    char* key = nullptr;
                    plist_t value = nullptr;
                    plist_dict_next_item(parsed, it, &key, &value);
                    if (!key)
                        break;
                    values.insert(QString::fromUtf8(key), value);
                    free(key);
                }
                free(it);
            }
        }
        plist_t record = plist_new_dict();
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            const QByteArray key = PlistFile::xmlSafeUtf8(it.key());
            plist_dict_set_item(record, key.constData(),
                                it.value()
                                    ? plist_copy(it.value())
                                    : plist_new_string(PlistFile::xmlSafeUtf8(s.record.value(it.key())).constData()));
        }
        plist_t photos = plist_new_array();
        for (int p = 0; p < s.photoCount; ++p) {
            plist_t pair = plist_new_array();
            for (const bool full : {false, true}) {
                const QByteArray stand = mark + QByteArray::number(places.size());
                places.append({e, p, full});
                plist_array_append_item(pair, plist_new_string(stand.constData()));
            }
            plist_array_append_item(photos, pair);
        }
        plist_t entry = plist_new_array();
        plist_array_append_item(entry, record);
        plist_array_append_item(entry, photos);
        plist_array_append_item(entry, plist_new_string(PlistFile::xmlSafeUtf8(s.flag).constData()));
        plist_array_append_item(static_cast<plist_t>(root.get()), entry);
    }
    const QByteArray xml = PlistFile::xmlOfTree(root.get());
    root.reset();

    QSaveFile file(path);
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        file.cancelWriting();
        return false;
    };
    if (xml.isEmpty())
        return fail(QStringLiteral("nothing to write"));
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    qsizetype from = 0;
    for (qsizetype at = xml.indexOf(mark); at >= 0; at = xml.indexOf(mark, from)) {
        qsizetype end = at + mark.size();
        while (end < xml.size() && xml.at(end) >= '0' && xml.at(end) <= '9')
            ++end;
        const int index = xml.mid(at + mark.size(), end - at - mark.size()).toInt();
        if (index < 0 || index >= places.size())
            return fail(QStringLiteral("picture %1 out of place").arg(index));
        const Place& place = places.at(index);
        const QByteArray text = escapedText(photoText(place.entry, place.photo, place.full));
        if (file.write(xml.constData() + from, at - from) != at - from || file.write(text) != text.size())
            return fail(file.errorString());
        from = end;
    }
    if (file.write(xml.constData() + from, xml.size() - from) != xml.size() - from)
        return fail(file.errorString());
    return WholeFile::commit(file, error);
}

QByteArray withoutKey(const QByteArray& nonText, const QString& key) {
    if (nonText.isEmpty())
        return {};
    plist_t parsed = nullptr;
    plist_from_xml(nonText.constData(), uint32_t(nonText.size()), &parsed);
    PlistPtr owner(parsed);
    if (!parsed || plist_get_node_type(parsed) != PLIST_DICT)
        return {};
    plist_dict_remove_item(parsed, key.toUtf8().constData());
    return plist_dict_get_size(parsed) > 0 ? PlistFile::xmlOfTree(parsed) : QByteArray();
}

} // namespace SavedCompoundFile

#include "core/SavedCompoundFile.h"

#include "core/PlistFile.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QMap>
#include <QRegularExpression>
#include <QSaveFile>
#include <QUuid>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

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

// Whether encoding the text's bytes again would give the very same text: the standard alphabet, "="
// padding only to a whole group of four, and no bits set that the last group drops.
bool plainBase64(const QString& text) {
    const qsizetype n = text.size();
    if (n % 4 != 0)
        return false;
    qsizetype padding = 0;
    if (n > 0 && text.at(n - 1) == QLatin1Char('='))
        padding = n > 1 && text.at(n - 2) == QLatin1Char('=') ? 2 : 1;
    auto value = [](char16_t c) {
        if (c >= 'A' && c <= 'Z')
            return int(c - 'A');
        if (c >= 'a' && c <= 'z')
            return int(c - 'a' + 26);
        if (c >= '0' && c <= '9')
            return int(c - '0' + 52);
        return c == '+' ? 62 : c == '/' ? 63 : -1;
    };
    const char16_t* chars = reinterpret_cast<const char16_t*>(text.constData());
    for (qsizetype i = 0; i < n - padding; ++i)
        if (value(chars[i]) < 0)
            return false;
    if (padding > 0) {
        const int last = value(chars[n - padding - 1]);
        if ((padding == 1 && (last & 0x3) != 0) || (padding == 2 && (last & 0xf) != 0))
            return false;
    }
    return true;
}

// Base64 text is kept as bytes only when encoding the bytes again gives the same text.
void takeText(const QString& text, QByteArray* bytes, int* kept, int keptBit) {
    if (plainBase64(text)) {
        *bytes = QByteArray::fromBase64(text.toLatin1());
    } else {
        *bytes = text.toUtf8();
        *kept |= keptBit;
    }
}

void takePicture(plist_t node, QByteArray* bytes, int* kept, int keptBit) {
    takeText(node && plist_get_node_type(node) == PLIST_STRING ? stringOf(node) : textOf(node), bytes, kept,
             keptBit);
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

// The device read through, every byte read also hashed: the reader pulls what it needs, so the digest
// costs no second read of the file.
class HashingReader : public QIODevice {
public:
    explicit HashingReader(QIODevice& in) : in_(in), hash_(QCryptographicHash::Sha256) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    bool atEnd() const override { return in_.atEnd(); }
    qint64 bytesAvailable() const override { return in_.bytesAvailable(); }
    QByteArray digest() const { return hash_.result().toHex(); }

protected:
    qint64 readData(char* data, qint64 max) override {
        const qint64 n = in_.read(data, max);
        if (n > 0)
            hash_.addData(QByteArrayView(data, n));
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QIODevice& in_;
    QCryptographicHash hash_;
};

bool isContainer(QStringView name) {
    return name == u"array" || name == u"dict";
}

// Walks an old file as a stream: the root list's entries are counted, and when sink is given each is
// written out as a property list of its own and read by the library one at a time, so an entry is read
// exactly as a whole-file read would have read it while memory holds only that entry.
bool walk(QIODevice& in, const std::function<bool(SavedCompoundFile::Entry&&)>* sink, int* count,
          QByteArray* digest, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QByteArray head = in.peek(8);
    if (head.isEmpty())
        return fail(QStringLiteral("empty file"));
    // Phones in service write this file as XML; a binary one is no file of ours, and the library's
    // handling of hostile binary trees is not to be trusted with the officer's compounds: kept aside.
    if (head.startsWith("bplist"))
        return fail(QStringLiteral("a binary property list"));
    HashingReader hashing(in);
    QXmlStreamReader xml(&hashing);
    int depth = 0;    // lists and records open
    int elements = 0; // elements open
    int entryAt = -1; // elements open outside the entry being read; -1 between entries
    int rootAt = -1;  // elements open inside the root list; -1 outside it
    bool rootDone = false;
    int entries = 0;
    QByteArray entryXml;
    std::unique_ptr<QXmlStreamWriter> out;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::Invalid)
            break;
        if (token == QXmlStreamReader::StartElement) {
            const QStringView name = xml.name();
            if (isContainer(name) && ++depth > PlistFile::maxDepth)
                return fail(QStringLiteral("nested deeper than %1 levels").arg(PlistFile::maxDepth));
            ++elements;
            if (rootAt < 0) {
                // The list itself, inside <plist> or bare; what follows it is not read, as by the library.
                if (name == u"plist" && elements == 1)
                    continue;
                if (rootDone)
                    continue;
                if (name != u"array")
                    return fail(QStringLiteral("not a list"));
                rootAt = elements;
                continue;
            }
            if (entryAt < 0) {
                entryAt = elements - 1;
                ++entries;
                if (sink) {
                    entryXml.clear();
                    out = std::make_unique<QXmlStreamWriter>(&entryXml);
                    out->writeStartElement(QStringLiteral("plist"));
                    out->writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
                }
            }
        }
        if (out && entryAt >= 0)
            out->writeCurrentToken(xml);
        if (token == QXmlStreamReader::EndElement) {
            if (isContainer(xml.name()))
                --depth;
            --elements;
            if (elements < rootAt) {
                rootAt = -1;
                rootDone = true;
            }
            if (entryAt >= 0 && elements == entryAt) {
                entryAt = -1;
                if (out) {
                    out->writeEndElement();
                    out.reset();
                    PlistPtr tree(static_cast<plist_t>(PlistFile::parseTree(entryXml)));
                    entryXml.clear();
                    if (!tree)
                        return fail(QStringLiteral("entry %1 is not a property list").arg(entries));
                    if (!(*sink)(entryOf(static_cast<plist_t>(tree.get()))))
                        return true;
                }
            }
        }
    }
    if (xml.hasError())
        return fail(
            QStringLiteral("not a property list: %1 (line %2)").arg(xml.errorString()).arg(xml.lineNumber()));
    if (!rootDone)
        return fail(QStringLiteral("not a list"));
    if (count)
        *count = entries;
    if (digest)
        *digest = hashing.digest();
    return true;
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
    // The picker's bytes are the texts' bytes: kept as they are.
    if (!entry.thumbnailJpeg.isEmpty() && !entry.fullJpeg.isEmpty()) {
        photo.thumbnail = entry.thumbnailJpeg;
        photo.full = entry.fullJpeg;
        return photo;
    }
    // The same rule as for an old file, through the same code.
    takeText(entry.thumbnail, &photo.thumbnail, &photo.kept, ThumbnailText);
    takeText(entry.full, &photo.full, &photo.kept, FullText);
    return photo;
}

namespace SavedCompoundFile {

bool read(QIODevice& file, const std::function<bool(Entry&&)>& sink, QString* error, QByteArray* digest) {
    return walk(file, &sink, nullptr, digest, error);
}

bool scan(QIODevice& file, Scan* result, QString* error) {
    Scan found;
    if (!walk(file, nullptr, &found.entries, &found.digest, error))
        return false;
    if (result)
        *result = found;
    return true;
}

bool read(QByteArray bytes, const std::function<bool(Entry&&)>& sink, QString* error) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    if (!scan(buffer, nullptr, error))
        return false;
    buffer.seek(0);
    return read(buffer, sink, error);
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
            plist_dict_set_item(
                record, key.constData(),
                it.value() ? plist_copy(it.value())
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
    if (file.write(xml.constData() + from, xml.size() - from) != xml.size() - from || !file.commit())
        return fail(file.errorString());
    return true;
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

#include "core/SavedCompoundFile.h"

#include "core/PlistFile.h"
#include "platform/WholeFile.h"

#include <QBuffer>
#include <QCryptographicHash>
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

// The markup of an XML file, read a block at a time (each block hashed as it comes): where each tag,
// comment or declaration begins and ends, and a tag's name. Text between tags is skipped without being
// looked at; the bytes from keepFrom on stay in memory, the rest goes as the reading moves on.
class MarkupScanner {
public:
    enum Kind { Start, End, Empty, Other, Eof, CutShort };
    static constexpr qsizetype blockSize = 1 << 20;

    explicit MarkupScanner(QIODevice& in) : in_(in), hash_(QCryptographicHash::Sha256) {}

    Kind next() {
        compact();
        qsizetype lt;
        while ((lt = buffer_.indexOf('<', pos_)) < 0) {
            pos_ = buffer_.size();
            compact();
            if (!more())
                return Eof;
        }
        start = lt;
        while (buffer_.size() < lt + 9 && more()) {
        }
        const QByteArrayView at = QByteArrayView(buffer_).sliced(lt);
        qsizetype close = -1;
        Kind kind = Other;
        if (at.startsWith("<!--")) {
            close = until("-->", lt + 4);
        } else if (at.startsWith("<![CDATA[")) {
            close = until("]]>", lt + 9);
        } else if (at.startsWith("<?")) {
            close = until("?>", lt + 2);
        } else if (at.startsWith("<!")) {
            close = tagEnd(lt + 2, true);
        } else {
            close = tagEnd(lt + 1, false);
            if (close >= 0) {
                const bool closing = buffer_.at(lt + 1) == '/';
                kind = closing ? End : buffer_.at(close - 2) == '/' ? Empty : Start;
                qsizetype from = lt + (closing ? 2 : 1);
                qsizetype to = from;
                while (to < close && !QChar::isSpace(uchar(buffer_.at(to))) && buffer_.at(to) != '/' &&
                       buffer_.at(to) != '>')
                    ++to;
                name = buffer_.mid(from, to - from);
            }
        }
        if (close < 0)
            return CutShort;
        end = close;
        pos_ = close;
        return kind;
    }

    // Bytes from here on are kept until keepFrom(-1); kept() is where they now begin in the buffer.
    void keepFrom(qsizetype at) { keep_ = at; }
    qsizetype kept() const { return keep_; }
    QByteArray bytes(qsizetype from, qsizetype to) const { return buffer_.mid(from, to - from); }
    QByteArray digest() const { return hash_.result().toHex(); }

    qsizetype start = 0; // of the last markup, in the buffer
    qsizetype end = 0;   // just past it
    QByteArray name;     // of the last tag

private:
    bool more() {
        const QByteArray block = in_.read(blockSize);
        if (block.isEmpty())
            return false;
        hash_.addData(block);
        buffer_.append(block);
        return true;
    }
    void compact() {
        const qsizetype drop = keep_ >= 0 ? std::min(keep_, pos_) : pos_;
        if (drop < blockSize)
            return;
        buffer_.remove(0, drop);
        pos_ -= drop;
        if (keep_ >= 0)
            keep_ -= drop;
    }
    // Just past the first `what` from `from` on; -1 when the file ends first.
    qsizetype until(const char* what, qsizetype from) {
        const qsizetype n = qsizetype(qstrlen(what));
        for (;;) {
            const qsizetype at = buffer_.indexOf(what, from);
            if (at >= 0)
                return at + n;
            from = std::max(from, buffer_.size() - n + 1);
            if (!more())
                return -1;
        }
    }
    // Just past the ">" closing a tag (quoted values may hold one) or a declaration (its [...] may too).
    qsizetype tagEnd(qsizetype from, bool declaration) {
        char quote = 0;
        int brackets = 0;
        for (qsizetype i = from;; ++i) {
            if (i >= buffer_.size() && !more())
                return -1;
            const char c = buffer_.at(i);
            if (quote) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (declaration && c == '[') {
                ++brackets;
            } else if (declaration && c == ']') {
                --brackets;
            } else if (c == '>' && brackets <= 0) {
                return i + 1;
            }
        }
    }

    QIODevice& in_;
    QCryptographicHash hash_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    qsizetype keep_ = -1;
};

bool isContainer(const QByteArray& name) {
    return name == "array" || name == "dict";
}

// Walks an old file's markup: the root list's entries are counted, and when sink is given each entry's
// bytes are read by the library as a property list of their own, one at a time, so an entry is read
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
    MarkupScanner xml(in);
    QList<QByteArray> open; // the elements open, outermost first
    int depth = 0;          // lists and records open
    qsizetype rootAt = -1;  // elements open inside the root list; -1 outside it
    bool rootDone = false;
    qsizetype entryAt = -1; // elements open outside the entry being read; -1 between entries
    int entries = 0;
    enum { Go, Stop, Bad };
    auto entryRead = [&](qsizetype to) {
        entryAt = -1;
        const qsizetype from = xml.kept();
        xml.keepFrom(-1);
        if (!sink)
            return Go;
        const QByteArray bytes = "<plist version=\"1.0\">" + xml.bytes(from, to) + "</plist>";
        PlistPtr tree(static_cast<plist_t>(PlistFile::parseTree(bytes)));
        if (!tree) {
            fail(QStringLiteral("entry %1 is not a property list").arg(entries));
            return Bad;
        }
        return (*sink)(entryOf(static_cast<plist_t>(tree.get()))) ? Go : Stop;
    };
    for (;;) {
        const MarkupScanner::Kind kind = xml.next();
        if (kind == MarkupScanner::Eof)
            break;
        if (kind == MarkupScanner::CutShort)
            return fail(QStringLiteral("not a property list: cut short"));
        if (kind == MarkupScanner::Other)
            continue;
        const QByteArray& name = xml.name;
        if (kind == MarkupScanner::End) {
            if (open.isEmpty() || open.last() != name)
                return fail(
                    QStringLiteral("not a property list: </%1> unexpected").arg(QString::fromUtf8(name)));
            open.removeLast();
            depth -= isContainer(name) ? 1 : 0;
            if (rootAt >= 0 && open.size() < rootAt) {
                rootAt = -1;
                rootDone = true;
            }
            if (entryAt >= 0 && open.size() == entryAt) {
                const auto read = entryRead(xml.end);
                if (read != Go)
                    return read == Stop;
            }
            continue;
        }
        if (isContainer(name) && depth + 1 > PlistFile::maxDepth)
            return fail(QStringLiteral("nested deeper than %1 levels").arg(PlistFile::maxDepth));
        const bool empty = kind == MarkupScanner::Empty;
        if (rootAt < 0) {
            // The list itself, inside <plist> or bare; what follows it is not read, as by the library.
            if (rootDone) {
                if (!empty)
                    open.append(name);
                continue;
            }
            if (name == "plist" && open.isEmpty()) {
                if (!empty)
                    open.append(name);
                continue;
            }
            if (name != "array")
                return fail(QStringLiteral("not a list"));
            if (empty) {
                rootDone = true;
                continue;
            }
            open.append(name);
            ++depth;
            rootAt = open.size();
            continue;
        }
        if (entryAt < 0) {
            entryAt = open.size();
            xml.keepFrom(xml.start);
            ++entries;
        }
        if (empty) {
            if (open.size() == entryAt) {
                const auto read = entryRead(xml.end);
                if (read != Go)
                    return read == Stop;
            }
            continue;
        }
        open.append(name);
        depth += isContainer(name) ? 1 : 0;
    }
    if (!open.isEmpty())
        return fail(QStringLiteral("not a property list: cut short"));
    if (!rootDone)
        return fail(QStringLiteral("not a list"));
    if (count)
        *count = entries;
    if (digest)
        *digest = xml.digest();
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

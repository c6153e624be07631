#include "core/PlistFile.h"

#include "platform/WholeFile.h"

#include <QFile>

#include <plist/plist.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct PlistDeleter {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

// ok turns false when the tree is not one a file of ours can hold.
QVariant toVariant(plist_t node, bool& ok) {
    switch (plist_get_node_type(node)) {
    case PLIST_ARRAY: {
        QVariantList list;
        const uint32_t n = plist_array_get_size(node);
        list.reserve(n);
        for (uint32_t i = 0; i < n && ok; ++i)
            list.append(toVariant(plist_array_get_item(node, i), ok));
        return list;
    }
    case PLIST_DICT: {
        QVariantMap map;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        while (ok) {
            // A binary file can give a dictionary a key that is not a key; the library aborts when asked
            // for its text, so look at each key before reading it.
            plist_t value = nullptr;
            plist_dict_next_item(node, it, nullptr, &value);
            if (!value)
                break;
            plist_t keyNode = plist_dict_item_get_key(value);
            if (!keyNode || plist_get_node_type(keyNode) != PLIST_KEY) {
                ok = false;
                break;
            }
            char* key = nullptr;
            plist_get_key_val(keyNode, &key);
            map.insert(QString::fromUtf8(key ? key : ""), toVariant(value, ok));
            free(key);
        }
        free(it);
        return map;
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return QString::fromUtf8(text, qsizetype(length));
    }
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return bool(value);
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return qulonglong(value);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return value;
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* data = plist_get_data_ptr(node, &length);
        return QByteArray(data, qsizetype(length));
    }
    default:
        return {};
    }
}


plist_t fromVariant(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        plist_t array = plist_new_array();
        for (const QVariant& item : value.toList())
            plist_array_append_item(array, fromVariant(item));
        return array;
    }
    case QMetaType::QVariantMap: {
        plist_t dict = plist_new_dict();
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            plist_dict_set_item(dict, PlistFile::xmlSafeUtf8(it.key()).constData(), fromVariant(it.value()));
        return dict;
    }
    case QMetaType::Bool:
        return plist_new_bool(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return plist_new_uint(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return plist_new_real(value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray data = value.toByteArray();
        return plist_new_data(data.constData(), uint64_t(data.size()));
    }
    default:
        return plist_new_string(PlistFile::xmlSafeUtf8(value.toString()).constData());
    }
}

std::optional<PlistPtr> parseNode(const QByteArray& bytes) {
    if (bytes.isEmpty() || !PlistFile::withinDepth(bytes))
        return std::nullopt;
    plist_t root = nullptr;
    if (plist_is_binary(bytes.constData(), uint32_t(bytes.size()))) {
        // The binary reader lets through keys the library then aborts on (embedded NULs, keys that are
        // not texts): read a binary file as the XML it writes out, which only holds what XML can.
        plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &root);
        if (!root)
            return std::nullopt;
        const PlistPtr binary(root);
        char* xml = nullptr;
        uint32_t length = 0;
        plist_to_xml(root, &xml, &length);
        root = nullptr;
        if (xml)
            plist_from_xml(xml, length, &root);
        plist_to_xml_free(xml);
    } else {
        plist_from_xml(bytes.constData(), uint32_t(bytes.size()), &root);
    }
    if (!root)
        return std::nullopt;
    return PlistPtr(root);
}

QByteArray xmlOf(plist_t node) {
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(node, &xml, &length);
    QByteArray out(xml, qsizetype(length));
    plist_to_xml_free(xml);
    return out;
}

bool writeXml(const QString& path, const QByteArray& xml, QString* error) {
    if (xml.isEmpty()) {
        if (error)
            *error = QStringLiteral("nothing to write");
        return false;
    }
    return WholeFile::write(path, xml, error);
}
// Nesting depth of an XML property list, counted on its tags before any parser recurses into it.
// Comments, CDATA sections, processing instructions and the doctype are skipped, so text in them
// cannot hide an opening tag.
bool xmlWithinDepth(const QByteArray& bytes, int maxDepth) {
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    auto skipPast = [&](const char* from, const char* marker) {
        const qsizetype at = QByteArrayView(from, end - from).indexOf(QByteArrayView(marker));
        return at < 0 ? end : from + at + qsizetype(qstrlen(marker));
    };
    auto startsWith = [&](const char* at, const char* text) {
        return QByteArrayView(at, end - at).startsWith(QByteArrayView(text));
    };
    int depth = 0;
    while (p < end) {
        p = static_cast<const char*>(memchr(p, '<', size_t(end - p)));
        if (!p)
            break;
        if (startsWith(p, "<!--"))
            p = skipPast(p + 4, "-->");
        else if (startsWith(p, "<![CDATA["))
            p = skipPast(p + 9, "]]>");
        else if (startsWith(p, "<?"))
            p = skipPast(p + 2, "?>");
        else if (startsWith(p, "<!"))
            p = skipPast(p + 2, ">");
        else if (startsWith(p, "</array") || startsWith(p, "</dict")) {
            --depth;
            p += 2;
        } else if (startsWith(p, "<array") || startsWith(p, "<dict")) {
            const char* close = skipPast(p + 1, ">");
            if (close - p < 2 || close[-2] != '/') {
                if (++depth > maxDepth)
                    return false;
            }
            p = close;
        } else {
            ++p;
        }
    }
    return true;
}

quint64 bigEndian(const uchar* at, int size) {
    quint64 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | at[i];
    return value;
}

// Nesting depth of a binary property list, walked over its object table with memoised heights so that
// shared and cyclic references cost nothing extra and recurse nowhere.
bool binaryWithinDepth(const QByteArray& bytes, int maxDepth) {
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype size = bytes.size();
    if (size < 8 + 32)
        return true; // too short to parse; the parser refuses it
    const uchar* trailer = data + size - 32;
    const int offsetSize = trailer[6];
    const int refSize = trailer[7];
    const quint64 count = bigEndian(trailer + 8, 8);
    const quint64 top = bigEndian(trailer + 16, 8);
    const quint64 tableAt = bigEndian(trailer + 24, 8);
    if (offsetSize < 1 || offsetSize > 8 || refSize < 1 || refSize > 8 || count == 0 ||
        count > quint64(size) || top >= count || tableAt >= quint64(size) ||
        (quint64(size) - tableAt) / quint64(offsetSize) < count)
        return false;
    auto offsetOf = [&](quint64 object) {
        return bigEndian(data + tableAt + object * quint64(offsetSize), offsetSize);
    };
    // The references an array, set or dictionary holds: where they start and how many there are.
    auto childrenOf = [&](quint64 object, quint64* first, quint64* n, bool* container) {
        const quint64 at = offsetOf(object);
        if (at >= quint64(size))
            return false;
        const int type = data[at] >> 4;
        *container = type == 0xA || type == 0xC || type == 0xD;
        if (!*container)
            return true;
        quint64 length = data[at] & 0x0F;
        quint64 start = at + 1;
        if (length == 0x0F) {
            if (start >= quint64(size) || (data[start] >> 4) != 0x1)
                return false;
            const int bytesOfLength = 1 << (data[start] & 0x0F);
            if (bytesOfLength > 8 || start + 1 + quint64(bytesOfLength) > quint64(size))
                return false;
            length = bigEndian(data + start + 1, bytesOfLength);
            start += 1 + quint64(bytesOfLength);
        }
        if (type == 0xD)
            length *= 2;
        if (length > quint64(size) || start + length * quint64(refSize) > quint64(size))
            return false;
        *first = start;
        *n = length;
        return true;
    };
    constexpr int unknown = -1;
    constexpr int visiting = -2;
    std::vector<int> height(count, unknown);
    struct Frame {
        quint64 object, first, n, next;
        int tallest;
    };
    std::vector<Frame> stack;
    auto push = [&](quint64 object) {
        Frame f{object, 0, 0, 0, 0};
        bool container = false;
        if (!childrenOf(object, &f.first, &f.n, &container))
            return false;
        if (!container) {
            height[object] = 0;
            return true;
        }
        height[object] = visiting;
        stack.push_back(f);
        return int(stack.size()) <= maxDepth;
    };
    if (!push(top))
        return false;
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next == f.n) {
            const int done = f.tallest + 1;
            height[f.object] = done;
            stack.pop_back();
            if (!stack.empty())
                stack.back().tallest = std::max(stack.back().tallest, done);
            continue;
        }
        const quint64 child = bigEndian(data + f.first + f.next * quint64(refSize), refSize);
        ++f.next;
        if (child >= count || height[child] == visiting)
            return false; // out of the table, or a cycle
        if (height[child] == unknown) {
            if (!push(child))
                return false;
        } else {
            f.tallest = std::max(f.tallest, height[child]);
            if (int(stack.size()) + height[child] > maxDepth)
                return false;
        }
    }
    return true;
}

} // namespace

namespace PlistFile {

QByteArray xmlSafeUtf8(const QString& text) {
    QString clean;
    clean.reserve(text.size());
    for (QChar c : text)
        if (c.unicode() >= 0x20 || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            clean.append(c);
    return clean.toUtf8();
}

bool withinDepth(const QByteArray& bytes, int depth) {
    if (plist_is_binary(bytes.constData(), uint32_t(bytes.size())))
        return binaryWithinDepth(bytes, depth);
    return xmlWithinDepth(bytes, depth);
}

void* parseTree(const QByteArray& bytes) {
    auto node = parseNode(bytes);
    return node ? node->release() : nullptr;
}

std::optional<QVariant> parse(const QByteArray& bytes) {
    const auto node = parseNode(bytes);
    if (!node)
        return std::nullopt;
    bool ok = true;
    QVariant root = toVariant(static_cast<plist_t>(node->get()), ok);
    if (!ok)
        return std::nullopt;
    return root;
}

std::optional<QVariant> read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parse(file.readAll());
}

QByteArray toXml(const QVariant& root) {
    PlistPtr node(fromVariant(root));
    return xmlOf(static_cast<plist_t>(node.get()));
}

std::optional<qsizetype> arraySize(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto node = parseNode(file.readAll());
    if (!node || plist_get_node_type(static_cast<plist_t>(node->get())) != PLIST_ARRAY)
        return std::nullopt;
    return qsizetype(plist_array_get_size(static_cast<plist_t>(node->get())));
}

bool writeRepeated(const QString& path, const QString& text, qsizetype count, QString* error) {
    PlistPtr array(plist_new_array());
    const QByteArray value = xmlSafeUtf8(text);
    for (qsizetype i = 0; i < count; ++i)
        plist_array_append_item(static_cast<plist_t>(array.get()), plist_new_string(value.constData()));
    return writeXml(path, xmlOf(static_cast<plist_t>(array.get())), error);
}

bool write(const QString& path, const QVariant& root, QString* error) {
    return writeXml(path, toXml(root), error);
}

QByteArray xmlOfTree(void* node) {
    return xmlOf(static_cast<plist_t>(node));
}

} // namespace PlistFile

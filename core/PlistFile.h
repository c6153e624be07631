#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// Property-list files as phones in service keep them: Apple's XML format (binary ones are read too),
// read whole and written whole and atomically. Lists are QVariantList, records QVariantMap, texts QString.
namespace PlistFile {

// UTF-8 of a text without the characters XML cannot carry (C0 controls other than tab and line ends),
// since a file holding them could not be read back by any standard reader.
QByteArray xmlSafeUtf8(const QString& text);

// The deepest nesting of lists and records any of our files uses is four; a file nested deeper than
// this is refused as unreadable rather than handed to a parser that recurses once per level.
constexpr int maxDepth = 16;
bool withinDepth(const QByteArray& bytes, int depth = maxDepth);

// The root value, or none when the file is missing or cannot be parsed.
std::optional<QVariant> read(const QString& path);
std::optional<QVariant> parse(const QByteArray& bytes);

// The library's own tree (a plist_t, freed with plist_free) for readers that walk it node by node; null
// when the bytes are no property list, nest too deep, or hold what only the binary format can (such a
// file is read as the XML the library writes of it, as parse() does).
void* parseTree(const QByteArray& bytes);
// The library's XML text of such a tree, or of any node of it.
QByteArray xmlOfTree(void* node);

// XML text of a value. Characters XML cannot carry (C0 controls other than tab and line ends) are
// dropped, since a file holding them could not be read back by any standard reader.
QByteArray toXml(const QVariant& root);

// Writes the value through a temporary file that replaces the old one; false (and the old file kept)
// when anything fails.
bool write(const QString& path, const QVariant& root, QString* error = nullptr);

// The number of elements of a file whose root is a list, without converting them; none when the file
// is missing, unreadable, or not a list. The running number lives in such a file and can be long.
std::optional<qsizetype> arraySize(const QString& path);

// Writes a list of count copies of one text, as write() would but without building a value per element.
bool writeRepeated(const QString& path, const QString& text, qsizetype count, QString* error = nullptr);

} // namespace PlistFile

#pragma once

#include <QString>

// What becomes of a control character that does not break a line.
enum class OtherControlCharacters {
    Drop,
    // Fixed columns, where each character typed holds its place.
    Space
};

// Text from outside (a scanned sticker, a typed field) may hold control characters: a printer takes them
// as commands (reset, cut, font changes) and a record keeps them invisibly. Line-breaking ones become a
// space, so words on two lines stay two words; every other one goes, or becomes a space when asked.
inline QString withoutControlCharacters(const QString& text,
                                        OtherControlCharacters others = OtherControlCharacters::Drop) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i).category() != QChar::Other_Control)
        ++i;
    if (i == text.size())
        return text;
    QString out = text.left(i);
    out.reserve(text.size());
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.category() != QChar::Other_Control)
            out.append(c);
        else if (others == OtherControlCharacters::Space || c == u'\t' || c == u'\n' || c == u'\v' ||
                 c == u'\f' || c == u'\r' || c == QChar(0x85))
            out.append(u' ');
    }
    return out;
}

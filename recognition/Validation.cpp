#include "recognition/Validation.h"

#include <QRegularExpression>

namespace Validation {

bool placeOfBirthCode(int code) {
    // States (01-16 and their later series 21-59) and countries (60-68, 71-72, 74-79, 82-93, 98-99).
    if (code >= 1 && code <= 16)
        return true;
    if (code >= 21 && code <= 68)
        return true;
    if (code == 71 || code == 72 || (code >= 74 && code <= 79))
        return true;
    if (code >= 82 && code <= 93)
        return true;
    return code == 98 || code == 99;
}

QString identityNumber(const QString& text, QDate today) {
    static const QRegularExpression shape(QStringLiteral("^(\\d{6})-?(\\d{2})-?(\\d{4})$"));
    const QRegularExpressionMatch match = shape.match(text.trimmed());
    if (!match.hasMatch())
        return {};
    const QString birth = match.captured(1);
    const int yy = birth.left(2).toInt();
    const int mm = birth.mid(2, 2).toInt();
    const int dd = birth.mid(4, 2).toInt();
    // The century is not written: the date must be real in the last hundred years up to today.
    QDate date(2000 + yy, mm, dd);
    if (!date.isValid() || date > today)
        date = QDate(1900 + yy, mm, dd);
    if (!date.isValid() || date > today)
        return {};
    if (!placeOfBirthCode(match.captured(2).toInt()))
        return {};
    return birth + match.captured(2) + match.captured(3);
}

QString plate(const QString& text) {
    QString compact;
    for (const QChar c : text) {
        if (c == u' ' || c == u'-' || c == u'.' || c == u'\n')
            continue;
        compact.append(c.toUpper());
    }
    // Series letters never use I or O (they read as 1 and 0); the first is a state's or territory's own.
    static const QRegularExpression ordinary(
        QStringLiteral("^([ABCDFJKMNPRTVWLQSZ][A-HJ-NP-Z]{0,2})([1-9][0-9]{0,3})([A-HJ-NP-Z]?)$"));
    static const QRegularExpression special(
        QStringLiteral("^(PUTRAJAYA|MALAYSIA|PATRIOT|PERFECT|LIMO|NAAM)([1-9][0-9]{0,3})([A-HJ-NP-Z]?)$"));
    QRegularExpressionMatch match = ordinary.match(compact);
    if (!match.hasMatch())
        match = special.match(compact);
    if (!match.hasMatch())
        return {};
    QString result = match.captured(1) + u' ' + match.captured(2);
    if (!match.captured(3).isEmpty())
        result += u' ' + match.captured(3);
    return result;
}

} // namespace Validation

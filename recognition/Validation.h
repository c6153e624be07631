#pragma once

#include <QDate>
#include <QString>

// What a read number must be before it may reach a form: an empty answer is always better than a wrong
// number on a notice.
namespace Validation {

// A MyKad number (12 digits, with or without its two dashes): the first six a real date of birth
// (YYMMDD, in the last hundred years up to today), the next two a place-of-birth code of the
// registration department's list. The 12 digits, or empty when it is not such a number.
QString identityNumber(const QString& text, QDate today);

// Whether the two digits are a state or country code the registration department issues.
bool placeOfBirthCode(int code);

// A Malaysian number plate in the shape the officer types it ("WXY 1234", "WA 7733 H", "PUTRAJAYA 12"):
// the letters of the series, the number (1 to 9999, no leading zero) and an optional suffix letter,
// separated by single spaces. Spaces, dashes and dots in the text are ignored; empty when the text is
// no plate's shape.
QString plate(const QString& text);

} // namespace Validation

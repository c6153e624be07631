#pragma once

#include <QDate>
#include <QList>
#include <QRect>
#include <QString>

#include "recognition/TextReader.h"

// The recognised text of a picture as the engine gives it: lines of words, each with its confidence
// (0-100) and its box in the picture.
struct ReadWord {
    QString text;
    float confidence = 0;
    QRect box;
};
struct ReadLine {
    QList<ReadWord> words;
    QRect box() const;
    QString text() const;
    float leastConfidence() const;
};

// Turns recognised lines into form fields. Pure functions of the text: the engine's passes and the
// fuzzer feed them.
namespace ReadText {

// The least word confidence a part needs to be written.
constexpr float kConfident = 70.0f;

// The line holding the identity-card number (its words from where the number starts), or -1; failing
// one, the line with its dashed shape where a digit or two read as a look-alike sign.
int identityLine(const QList<ReadLine>& lines);
// The number as written in that line (digits and dashes), before any validation.
QString identityText(const ReadLine& line);
// The least confidence of the words the number is written in (not of stray marks beside it).
float identityConfidence(const ReadLine& line);

// The card's parts below the number line: the name, the address lines and the postcode. Parts read
// without confidence stay empty. The number itself is left to the caller (read again on its own).
// nameLines receives the boxes of the one or two lines the name is printed on, read or not.
CardReading cardParts(const QList<ReadLine>& lines, int numberLine, QList<QRect>* nameLines = nullptr);

// The name as printed on one or more lines, each read on its own: empty unless every line is
// confident and the whole is a name's shape.
QString name(const QList<ReadLine>& lines);

// The plate among the lines (a line, or two stacked lines of a two-row plate), as Validation::plate
// writes it; the tallest when several qualify; empty when none is read with least confidence. where
// receives the box of the line or lines it was read from.
QString plate(const QList<ReadLine>& lines, QRect* where = nullptr, float least = kConfident);

} // namespace ReadText

// The engine's recognised text on its way into the forms: whatever the lines say, a number written is a
// valid one and a plate written has a Malaysian plate's shape.
#include "recognition/ReadText.h"
#include "recognition/Validation.h"

#include <QDate>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Each input line is a line of words; each word's box and confidence come from its bytes.
    QList<ReadLine> lines;
    int top = 0;
    for (const QByteArray& text :
         QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\n')) {
        ReadLine line;
        int left = 0;
        for (const QByteArray& word : text.split(' ')) {
            if (word.isEmpty())
                continue;
            const int height = 8 + uchar(word.at(0)) % 40;
            line.words.append({QString::fromUtf8(word), float(uchar(word.back()) % 101),
                               QRect(left, top, 1 + int(word.size()) * height / 2, height)});
            left += int(word.size()) * height / 2 + uchar(word.at(0)) % 90;
        }
        lines.append(line);
        top += 30;
    }
    const int number = ReadText::identityLine(lines);
    if (number >= 0) {
        const CardReading card = ReadText::cardParts(lines, number);
        if (!card.postcode.isEmpty() && card.postcode.size() != 5)
            std::abort();
        const QString valid =
            Validation::identityNumber(ReadText::identityText(lines[number]), QDate(2026, 1, 1));
        if (!valid.isEmpty() && valid.size() != 12)
            std::abort();
    }
    const QString plate = ReadText::plate(lines);
    if (!plate.isEmpty() && Validation::plate(plate) != plate)
        std::abort();
    return 0;
}

#pragma once

#include <QString>
#include <QStringList>

// What the review shows of a composite value: its filled parts only, so a half-filled address reads
// "NO 12, JALAN MERANTI 3, 42700" rather than "NO 12, JALAN MERANTI 3, , 42700". The notice keeps its
// own fixed layout.
namespace AddressText {

// The filled parts (blank ones left out) joined by the separator.
inline QString join(const QStringList& parts, const QString& separator = QStringLiteral(", ")) {
    QStringList filled;
    for (const QString& part : parts)
        if (!part.trimmed().isEmpty())
            filled.append(part.trimmed());
    return filled.join(separator);
}

// An address in the notice's order: line 1, line 2, postcode and town together, state.
inline QString address(const QString& line1, const QString& line2, const QString& postcode,
                       const QString& town, const QString& state) {
    return join({line1, line2, join({postcode, town}, QStringLiteral(" ")), state});
}

} // namespace AddressText

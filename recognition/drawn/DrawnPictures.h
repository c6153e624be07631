#pragma once

#include <QImage>
#include <QString>

// Photographs of made-up identity cards and number plates, as a phone takes them: at an angle, on a
// busy table or car, blurred, noisy and JPEG-compressed. Each seed draws the same picture again, so the
// tests, the walkthrough and the accuracy benchmark agree on what was drawn and what should be read.
namespace DrawnPictures {

struct Person {
    QString icNumber; // 12 digits
    QString name;
    QString address1;
    QString address2;
    QString postcode;
    QString town;
    QString state;
};

// How hard a picture is to read; Phone is what the targets are measured on.
enum class Difficulty { Clean, Phone };

struct Card {
    Person person;
    QImage picture;
};
struct Plate {
    QString plate; // as the officer types it
    QImage picture;
};

// A person with a valid number, a name and an address (the postcode one of the reference data's).
Person person(quint32 seed);
Card card(quint32 seed, Difficulty difficulty = Difficulty::Phone);
Card card(const Person& who, quint32 seed, Difficulty difficulty = Difficulty::Phone);
Plate plate(quint32 seed, Difficulty difficulty = Difficulty::Phone);
Plate plate(const QString& text, quint32 seed, Difficulty difficulty = Difficulty::Phone);
// A photograph with neither card nor plate: the busy background alone.
QImage nothing(quint32 seed);
// A card whose number's date of birth cannot be (month 13): the card is read, the number refused.
Card cardWithNumber(const QString& printedNumber, quint32 seed);

// The picture as a phone stores it (JPEG bytes at the quality given).
QByteArray jpeg(const QImage& picture, int quality);

} // namespace DrawnPictures

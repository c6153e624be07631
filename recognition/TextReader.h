#pragma once

#include <QImage>
#include <QString>

// What was read from an identity card: each part empty when it was not read with confidence.
struct CardReading {
    QString icNumber; // 12 digits, a valid number
    QString name;
    QString address1;
    QString address2;
    QString postcode; // 5 digits
    bool isEmpty() const {
        return icNumber.isEmpty() && name.isEmpty() && address1.isEmpty() && address2.isEmpty() &&
               postcode.isEmpty();
    }
};

// What was read from a number plate: the plate as the officer types it, or empty.
struct PlateReading {
    QString plate;
    bool isEmpty() const { return plate.isEmpty(); }
};

// Reads a picture's text into the fields of a form. Called on a worker thread, one call at a time;
// the picture stays on the phone and is not kept.
class TextReader {
public:
    virtual ~TextReader() = default;
    virtual CardReading readCard(const QImage& picture) = 0;
    virtual PlateReading readPlate(const QImage& picture) = 0;
};

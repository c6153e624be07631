#pragma once

#include "platform/NullServices.h"

#include <QByteArray>

#include <optional>

class Log;

// Reads what the printer sends back: its acknowledgement or the tracks of a swiped card.
class WSParser {
public:
    enum Kind { CardData = 0, PrinterReply = 1, Other = 2 };

    explicit WSParser(Log* log = nullptr) : log_(orNothing(log)) {}

    int decode(const QByteArray& data);

    const std::optional<QByteArray>& track1() const { return track1_; }
    const std::optional<QByteArray>& track2() const { return track2_; }
    const std::optional<QByteArray>& track3() const { return track3_; }

private:
    bool decodeMSR(const QByteArray& data);
    void log(const QString& line) const;

    std::optional<QByteArray> track1_;
    std::optional<QByteArray> track2_;
    std::optional<QByteArray> track3_;
    Log* log_ = nullptr;
};

#include "printing/WSParser.h"

#include "platform/Log.h"

#include <QString>

namespace {
constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;
constexpr char kFs = 0x1c;
constexpr int kTrack1Length = 76;
constexpr int kTrack2Length = 37;
constexpr int kTrack3Length = 104;
constexpr int kHeaderBytes = 4;
} // namespace

void WSParser::log(const QString& line) const {
    log_->write(line);
}

int WSParser::decode(const QByteArray& data) {
    qsizetype i = 0;
    while (i < data.size() && data.at(i) == '\0')
        ++i;
    if (i >= data.size())
        return Other;
    const char first = data.at(i);
    if (first == '\x1b')
        return (i + 2 < data.size() && data.at(i + 1) == '\x4d' && data.at(i + 2) == '\x31') ? PrinterReply
                                                                                             : Other;
    if (first == kStx)
        return decodeMSR(data) ? CardData : Other;
    return Other;
}

bool WSParser::decodeMSR(const QByteArray& data) {
    QByteArray run;
    for (qsizetype offset = kHeaderBytes; offset < data.size(); ++offset) {
        const char c = data.at(offset);
        if (c == '\n' || c == '\r')
            continue;
        if (c == kFs) {
            const int n = int(run.size());
            if (n == kTrack1Length)
                track1_ = run;
            else if (n == kTrack2Length)
                track2_ = run;
            else if (n == kTrack3Length)
                track3_ = run;
            else if (n != 0) {
                log(QStringLiteral("MSR data is broken (offset:%1, index:%2)").arg(offset).arg(n));
                return false;
            }
            run.clear();
            continue;
        }
        if (c == kEtx) {
            if (run.size() == kTrack2Length)
                track2_ = run;
            else if (run.size() == kTrack3Length)
                track3_ = run;
            continue;
        }
        run.append(c);
        if (run.size() > kTrack3Length) {
            log(QStringLiteral("MSR data is exceeding"));
            return false;
        }
    }
    return true;
}

#include "platform/fake/FakePlatform.h"
#include "printing/WSParser.h"

#include <gtest/gtest.h>

namespace {

// A swipe as the printer frames it: STX, three header bytes, then the tracks separated by FS.
QByteArray swipe(const QList<QByteArray>& tracks, char end = '\x03') {
    QByteArray d("\x02\x00\x00\x00", 4);
    for (qsizetype i = 0; i < tracks.size(); ++i)
        d += tracks[i] + (i + 1 < tracks.size() ? "\x1c" : "");
    return d + end;
}

} // namespace

TEST(WSParser, RepliesAndUnknownData) {
    WSParser p;
    for (const char* reply : {"00001b4d31", "1b4d31"})
        EXPECT_EQ(p.decode(QByteArray::fromHex(reply)), WSParser::PrinterReply) << reply;
    for (const char* other : {"41", "1b4d", "0000", ""})
        EXPECT_EQ(p.decode(QByteArray::fromHex(other)), WSParser::Other) << other;
}

TEST(WSParser, CardTracksAreStoredOnlyAtTheirExactLengths) {
    FakeLog log;
    WSParser p(&log);
    const QByteArray t1(76, 'A'), t2(37, '2'), t3(104, '3');
    EXPECT_EQ(p.decode(swipe({QByteArray(), t2}, '\x1c')), WSParser::CardData);
    EXPECT_FALSE(p.track1().has_value());
    EXPECT_EQ(p.track2(), t2);
    EXPECT_FALSE(p.track3().has_value());

    WSParser all(&log);
    QByteArray withLineEnds = swipe({t1, t2, t3});
    withLineEnds.insert(10, "\r\n");
    EXPECT_EQ(all.decode(withLineEnds), WSParser::CardData);
    EXPECT_EQ(all.track1(), t1);
    EXPECT_EQ(all.track2(), t2);
    EXPECT_EQ(all.track3(), t3);
}

TEST(WSParser, BrokenAndOverlongCardDataFail) {
    FakeLog log;
    WSParser p(&log);
    EXPECT_EQ(p.decode(swipe({QByteArray(50, '9'), QByteArray()}, '\x1c')), WSParser::Other);
    EXPECT_FALSE(p.track2().has_value());
    EXPECT_EQ(p.decode(swipe({QByteArray(105, '9')})), WSParser::Other);
}

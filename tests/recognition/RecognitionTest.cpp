// The checks a read number or plate must pass, the parser of the engine's lines, and the refusals of
// the real engine on drawn photographs: an empty answer where a wrong one could be written.
#include "recognition/Prepare.h"
#include "recognition/ReadText.h"
#include "recognition/TesseractReader.h"
#include "recognition/Validation.h"
#include "recognition/drawn/DrawnPictures.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>

namespace {

const QDate kToday(2026, 12, 7);

TEST(Validation, IdentityNumbers) {
    const struct {
        const char* text;
        const char* number;
    } cases[] = {
        {"880514-10-5123", "880514105123"}, // Selangor
        {"880514105123", "880514105123"},
        {"000229-14-0001", "000229140001"}, // 29 February 2000
        {"010229-14-0001", ""},             // no 29 February in 2001 nor 1901
        {"881314-10-5123", ""},             // month 13
        {"880532-10-5123", ""},             // day 32
        {"880514-00-5123", ""},             // place code 00
        {"880514-17-5123", ""},             // 17-20 are not issued
        {"880514-70-5123", ""},
        {"880514-60-5123", "880514605123"}, // born in Brunei
        {"880514-98-5123", "880514985123"}, // stateless
        {"261208-10-5123", "261208105123"}, // 8 December 1926: tomorrow's date a hundred years ago
        {"88051410512", ""},                // 11 digits
        {"88051-410-5123", ""},
        {"880514-10-512A", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Validation::identityNumber(QString::fromLatin1(c.text), kToday),
                  QString::fromLatin1(c.number))
            << c.text;
}

TEST(Validation, Plates) {
    const struct {
        const char* text;
        const char* plate;
    } cases[] = {
        {"WXY 1234", "WXY 1234"},
        {"wxy1234", "WXY 1234"},
        {"WA 7733 H", "WA 7733 H"},
        {"WA7733H", "WA 7733 H"},
        {"B 1", "B 1"},
        {"SAB 1234 A", "SAB 1234 A"},
        {"QAA-1234", "QAA 1234"},
        {"PUTRAJAYA 12", "PUTRAJAYA 12"},
        {"WXY 0123", ""},  // no leading zero
        {"WXY 12345", ""}, // five digits
        {"WOX 1234", ""},  // O is never a series letter
        {"IXY 1234", ""},  // nor I
        {"XYZ 1234", ""},  // X is no state's letter
        {"WXYZ 1234", ""}, // four letters
        {"1234", ""},
        {"WXY", ""},
        {"", ""},
        {"WA 7733 HH", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Validation::plate(QString::fromLatin1(c.text)), QString::fromLatin1(c.plate)) << c.text;
}

ReadLine line(int top, std::initializer_list<std::pair<const char*, float>> words, int left = 100,
              int height = 20) {
    ReadLine read;
    int x = left;
    for (const auto& [text, confidence] : words) {
        const int width = int(qstrlen(text)) * height * 2 / 3;
        read.words.append({QString::fromLatin1(text), confidence, QRect(x, top, width, height)});
        x += width + height / 2;
    }
    return read;
}

TEST(ReadText, CardPartsBelowTheNumber) {
    const QList<ReadLine> lines{
        line(20, {{"MyKad", 90}, {"KAD", 90}, {"PENGENALAN", 90}}),
        line(80, {{"880514-10-5123", 95}}, 100, 30),
        line(150, {{"|_|", 40}}),
        line(300, {{"KRISHNAN", 93}, {"A/L", 90}, {"MUTHU", 91}}),
        // The card's right-hand side, beside the name: not part of it.
        line(302, {{"WARGANEGARA", 92}}, 700),
        line(330, {{"NO", 96}, {"216", 95}, {"JALAN", 94}, {"SERI", 93}, {"INDAH", 92}, {"10", 96}}),
        line(360, {{"TAMAN", 93}, {"SENTOSA", 60}}),
        line(390, {{"05000", 96}, {"ALOR", 93}, {"SETAR", 91}}),
        line(420, {{"KEDAH", 96}}),
    };
    ASSERT_EQ(ReadText::identityLine(lines), 1);
    EXPECT_EQ(ReadText::identityText(lines[1]), QStringLiteral("880514-10-5123"));
    const CardReading read = ReadText::cardParts(lines, 1);
    EXPECT_EQ(read.name, QStringLiteral("KRISHNAN A/L MUTHU"));
    EXPECT_EQ(read.address1, QStringLiteral("NO 216 JALAN SERI INDAH 10"));
    // A word read without confidence: the line is left to the officer.
    EXPECT_EQ(read.address2, QString());
    EXPECT_EQ(read.postcode, QStringLiteral("05000"));

    // Without the postcode's line the address's end is unknown: the name alone.
    const CardReading cut = ReadText::cardParts(lines.mid(0, 6), 1);
    EXPECT_EQ(cut.name, QStringLiteral("KRISHNAN A/L MUTHU"));
    EXPECT_TRUE(cut.address1.isEmpty());

    // The engine may give the block under the number before the number's own: the same parts.
    QList<ReadLine> blocks = lines;
    blocks.move(1, blocks.size() - 1);
    const int number = ReadText::identityLine(blocks);
    QList<QRect> nameLines;
    const CardReading reordered = ReadText::cardParts(blocks, number, &nameLines);
    EXPECT_EQ(reordered.name, read.name);
    EXPECT_EQ(reordered.address1, read.address1);
    EXPECT_EQ(reordered.postcode, read.postcode);
    EXPECT_EQ(nameLines, QList<QRect>{lines[3].box()});
}

TEST(ReadText, NameOverLinesReadAlone) {
    EXPECT_EQ(
        ReadText::name({line(0, {{"MOHD", 91}, {"FAIZAL", 90}, {"BIN", 93}}), line(30, {{"SULAIMAN", 95}})}),
        QStringLiteral("MOHD FAIZAL BIN SULAIMAN"));
    // One word without confidence, or signs no name has: nothing.
    EXPECT_EQ(ReadText::name({line(0, {{"MOHD", 91}, {"FAIZAL", 90}}), line(30, {{"SULAIMAN", 55}})}),
              QString());
    EXPECT_EQ(ReadText::name({line(0, {{"AHMAD", 96}, {"BINT!", 90}, {"OTHMAN", 95}})}), QString());
    // A/P read without its slash: another name than the card's.
    EXPECT_EQ(ReadText::name({line(0, {{"KRISHNAN", 96}, {"AP", 90}, {"RAMASAMY", 95}})}), QString());
}

TEST(ReadText, TheNumbersLineWithALookAlikeSignIsStillFound) {
    // The 5 read as $: the line is where the number stands, but its text is no number to write.
    const QList<ReadLine> lines{line(20, {{"MyKad", 90}}), line(80, {{"$90120-56-7938", 72}}, 100, 30),
                                line(300, {{"NG", 93}, {"AH", 90}, {"KOW", 91}})};
    ASSERT_EQ(ReadText::identityLine(lines), 1);
    EXPECT_TRUE(ReadText::identityText(lines[1]).isEmpty());
    EXPECT_EQ(ReadText::cardParts(lines, 1).name, QStringLiteral("NG AH KOW"));
    // A true number comes first, wherever the look-alike stands.
    EXPECT_EQ(ReadText::identityLine({lines[1], line(120, {{"590120-56-7938", 90}})}), 1);
}

// A plate's letters drawn black on white inside a thick border, as a binarised photograph shows them;
// spacing below zero runs bold letters into each other. drawn receives where the letters were drawn.
QImage drawnLetters(const QString& text, double spacing, QRect* drawn) {
    QImage image(900, 200, QImage::Format_Grayscale8);
    image.fill(255);
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 8));
    p.drawRect(20, 20, 860, 160);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(90);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    p.setFont(font);
    p.drawText(QRect(20, 20, 860, 160), Qt::AlignCenter, text, drawn);
    p.end();
    return Prepare::binarised(image);
}

TEST(Prepare, PlateLettersKeptAndCounted) {
    const struct {
        const char* text;
        double spacing;
        int fewest; // the letters the marks must at least be
    } cases[] = {
        {"PJ 9811 W", 2, 7},
        // T, Y and W run together: kept (not dropped as a border's piece), one mark of two letters at least.
        {"TYW 1890", -6, 6},
    };
    for (const auto& c : cases) {
        QRect drawn;
        const QImage binary = drawnLetters(QString::fromLatin1(c.text), c.spacing, &drawn);
        const QRect area = binary.rect().adjusted(10, 10, -10, -10);
        const Prepare::Letters letters = Prepare::lettersOnly(binary, area);
        EXPECT_GE(letters.height, 60) << c.text;
        EXPECT_EQ(Prepare::fewestLetters(letters, letters.tight), c.fewest) << c.text;
        // The border is gone; every letter is within the letters' box.
        EXPECT_EQ(letters.image.pixelColor(binary.width() / 2 - area.left(), 20 - area.top()).value(), 255)
            << c.text;
        EXPECT_LE(letters.tight.left(), drawn.left() + 8) << c.text;
        EXPECT_GE(letters.tight.right(), drawn.right() - 8) << c.text;
    }
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!reader.ready())
            GTEST_SKIP() << "no Tesseract data";
    }
    TesseractReader reader{{}, [] { return kToday; }};
};

TEST_F(EngineTest, RefusesWhatIsNoCardNorPlate) {
    EXPECT_TRUE(reader.readCard(DrawnPictures::nothing(5)).isEmpty());
    EXPECT_TRUE(reader.readPlate(DrawnPictures::nothing(6)).isEmpty());
    EXPECT_TRUE(reader.readCard(QImage()).isEmpty());
}

TEST_F(EngineTest, ReadsACardButRefusesAnInvalidNumber) {
    const DrawnPictures::Card valid =
        DrawnPictures::card(DrawnPictures::person(1019), 1019, DrawnPictures::Difficulty::Clean);
    const CardReading read = reader.readCard(valid.picture);
    EXPECT_EQ(read.icNumber, valid.person.icNumber);
    EXPECT_EQ(read.name, valid.person.name);

    // Month 13: the rest of the card is read, the number is not written.
    const DrawnPictures::Card invalid = DrawnPictures::cardWithNumber(QStringLiteral("881314-10-5123"), 1019);
    const CardReading refused = reader.readCard(invalid.picture);
    EXPECT_TRUE(refused.icNumber.isEmpty());
    EXPECT_EQ(refused.name, invalid.person.name);
}

TEST_F(EngineTest, ReadsANumberThePagesPassMisread) {
    // Cards once left without a number: the page's pass read a digit wrong with confidence (3 for 5,
    // 6 for 0) and the reads of the number alone disagreed with it; they outnumber it now.
    for (const quint32 seed : {12007u, 12238u}) {
        const DrawnPictures::Card card = DrawnPictures::card(seed);
        EXPECT_EQ(reader.readCard(card.picture).icNumber, card.person.icNumber) << seed;
    }
}

TEST_F(EngineTest, RefusesAPlateOfNoMalaysianShape) {
    EXPECT_EQ(
        reader
            .readPlate(DrawnPictures::plate(QStringLiteral("N 4359"), 1003, DrawnPictures::Difficulty::Clean)
                           .picture)
            .plate,
        QStringLiteral("N 4359"));
    EXPECT_TRUE(reader.readPlate(DrawnPictures::plate(QStringLiteral("XQ 0123"), 1003).picture).isEmpty());
}

TEST_F(EngineTest, NeverWritesAPlateMissingALetter) {
    // Photographs whose plates were once written short: bold letters run together (TY, WB) and a
    // narrow J the engine passes over beside a P. Read, or left empty; never another plate.
    for (const quint32 seed : {3077u, 3100u, 3182u}) {
        const DrawnPictures::Plate plate = DrawnPictures::plate(seed);
        const QString read = reader.readPlate(plate.picture).plate;
        EXPECT_TRUE(read.isEmpty() || read == plate.plate) << seed << ": " << qPrintable(read);
    }
}

TEST_F(EngineTest, ReadsTwoRowPlatesAndTheJ) {
    // Photographs once left empty: a two-row plate whose series letters ran into one mark (AA, RX), and
    // a J the English data reads with doubt or not at all (the Malay data's second opinion reads it).
    for (const quint32 seed : {10005u, 10036u, 10045u, 10087u, 10246u}) {
        const DrawnPictures::Plate plate = DrawnPictures::plate(seed);
        EXPECT_EQ(reader.readPlate(plate.picture).plate, plate.plate) << seed;
    }
}

} // namespace

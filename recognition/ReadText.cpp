#include "recognition/ReadText.h"

#include "recognition/Validation.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

QRect ReadLine::box() const {
    QRect all;
    for (const ReadWord& word : words)
        all = all.united(word.box);
    return all;
}

QString ReadLine::text() const {
    QStringList parts;
    for (const ReadWord& word : words)
        parts.append(word.text);
    return parts.join(u' ');
}

float ReadLine::leastConfidence() const {
    float least = words.isEmpty() ? 0.0f : 100.0f;
    for (const ReadWord& word : words)
        least = std::min(least, word.confidence);
    return least;
}

namespace ReadText {
namespace {

const QRegularExpression& numberShape() {
    static const QRegularExpression shape(QStringLiteral("\\d{6}-\\d{2}-\\d{4}|\\d{12}"));
    return shape;
}

// The words of a line that make one column: a gap wider than twice the line's height starts another
// (the card's right-hand side: the photograph, citizenship, sex, religion).
QList<ReadLine> columns(const ReadLine& line) {
    QList<ReadLine> parts;
    const int height = std::max(1, line.box().height());
    for (const ReadWord& word : line.words) {
        if (parts.isEmpty() || word.box.left() - parts.last().words.last().box.right() > 2 * height)
            parts.append(ReadLine{});
        parts.last().words.append(word);
    }
    return parts;
}

bool confident(const ReadLine& line) {
    return !line.words.isEmpty() && line.leastConfidence() >= kConfident;
}

// Words printed on every card beside the owner's own: never a name or an address.
bool cardWording(const QString& text) {
    static const QSet<QString> words{
        QStringLiteral("WARGANEGARA"), QStringLiteral("LELAKI"),    QStringLiteral("PEREMPUAN"),
        QStringLiteral("ISLAM"),       QStringLiteral("KRISTIAN"),  QStringLiteral("BUDDHA"),
        QStringLiteral("HINDU"),       QStringLiteral("MYKAD"),     QStringLiteral("MALAYSIA"),
        QStringLiteral("KAD"),         QStringLiteral("PENGENALAN")};
    return words.contains(text.split(u' ').first().toUpper());
}

// The chip's contacts, the security print: marks read as a few stray signs, no name or address.
bool smudge(const ReadLine& part) {
    int signs = 0;
    for (const QChar c : part.text())
        signs += c.isLetterOrNumber();
    return signs < 2 || (signs < 4 && part.leastConfidence() < kConfident);
}

bool addressLike(const QString& text) {
    static const QRegularExpression start(
        QStringLiteral("^(NO|LOT|JALAN|JLN|LORONG|LRG|KAMPUNG|KG|TAMAN|TMN|BLOK|BLK|PERSIARAN|LEBUH|"
                       "BATU|PANGSAPURI|APARTMENT|FLAT|RUMAH|PT|KM|LADANG|BANDAR|SEKSYEN|PPR)\\b"));
    return text.contains(QRegularExpression(QStringLiteral("\\d"))) || start.match(text).hasMatch();
}

QString nameOf(const ReadLine& line) {
    static const QRegularExpression allowed(QStringLiteral("^[A-Z][A-Z '@/.\\-]*[A-Z.)]$"));
    // A/L and A/P ("son of", "daughter of") with the slash lost: another name, not the owner's.
    static const QRegularExpression slashLost(QStringLiteral("(^| )A[LP]( |$)"));
    const QString text = line.text();
    return confident(line) && allowed.match(text).hasMatch() && !slashLost.match(text).hasMatch() ? text
                                                                                                  : QString();
}

QString addressOf(const ReadLine& line) {
    static const QRegularExpression allowed(QStringLiteral("^[A-Z0-9][A-Z0-9 ,./'()&\\-]*$"));
    const QString text = line.text();
    return confident(line) && allowed.match(text).hasMatch() ? text : QString();
}

bool postcodeWord(const ReadWord& word) {
    static const QRegularExpression code(QStringLiteral("^(0[1-9]|[1-9][0-9])\\d{3}$"));
    return code.match(word.text).hasMatch();
}

} // namespace

int identityLine(const QList<ReadLine>& lines) {
    // Failing a number, its dashed shape with a digit or two read as a look-alike sign ($ for 5, @ for
    // 0): that line is where the number stands, though the number is read again before it is written.
    static const QRegularExpression rough(QStringLiteral("[\\d$@SOBZ]{6}-[\\d$@SOBZ]{2}-[\\d$@SOBZ]{4}"));
    for (const QRegularExpression* shape : {&numberShape(), &rough})
        for (int i = 0; i < lines.size(); ++i) {
            QString joined;
            for (const ReadWord& word : lines[i].words)
                joined += word.text;
            if (shape->match(joined).hasMatch())
                return i;
        }
    return -1;
}

QString identityText(const ReadLine& line) {
    QString joined;
    for (const ReadWord& word : line.words)
        joined += word.text;
    return numberShape().match(joined).captured(0);
}

float identityConfidence(const ReadLine& line) {
    QString joined;
    QList<int> ends;
    for (const ReadWord& word : line.words) {
        joined += word.text;
        ends.append(int(joined.size()));
    }
    const QRegularExpressionMatch match = numberShape().match(joined);
    if (!match.hasMatch())
        return 0;
    float least = 100;
    int start = 0;
    for (int i = 0; i < line.words.size(); ++i) {
        if (ends[i] > match.capturedStart() && start < match.capturedEnd())
            least = std::min(least, line.words[i].confidence);
        start = ends[i];
    }
    return least;
}

CardReading cardParts(const QList<ReadLine>& lines, int numberLine, QList<QRect>* nameLines) {
    CardReading reading;
    if (numberLine < 0 || numberLine >= lines.size())
        return reading;
    const QRect number = lines[numberLine].box();
    const int height = std::max(1, number.height());

    // The lines of the column under the number, top to bottom, until the postcode's line or a gap.
    // The engine's blocks need not come top to bottom: every line below the number counts.
    QList<ReadLine> below;
    for (int i = 0; i < lines.size(); ++i) {
        if (i == numberLine || lines[i].box().top() < number.bottom() - height / 3)
            continue;
        for (const ReadLine& part : columns(lines[i])) {
            if (std::abs(part.box().left() - number.left()) > std::max(2 * height, number.width() / 3))
                continue;
            if (cardWording(part.text()) || smudge(part))
                continue;
            below.append(part);
            break;
        }
    }
    std::sort(below.begin(), below.end(),
              [](const ReadLine& a, const ReadLine& b) { return a.box().top() < b.box().top(); });
    int postcodeAt = -1;
    for (int i = 0; i < below.size(); ++i) {
        if (i > 0 && below[i].box().top() - below[i - 1].box().bottom() > 3 * below[i - 1].box().height()) {
            below = below.mid(0, i);
            break;
        }
        if (postcodeWord(below[i].words.first())) {
            postcodeAt = i;
            break;
        }
    }
    if (below.isEmpty())
        return reading;
    reading.name = nameOf(below[0]);
    if (nameLines)
        *nameLines = {below[0].box()};
    // Without the postcode's line the end of the address is not known: it is left to the officer.
    if (postcodeAt < 0)
        return reading;
    if (below[postcodeAt].words.first().confidence >= kConfident)
        reading.postcode = below[postcodeAt].words.first().text;
    int first = 1;
    // A long name runs on to a second line: one that is not an address, with an address still to come.
    if (postcodeAt >= 3 && !addressLike(below[1].text())) {
        const QString more = nameOf(below[1]);
        reading.name = reading.name.isEmpty() || more.isEmpty() ? QString() : reading.name + u' ' + more;
        if (nameLines)
            nameLines->append(below[1].box());
        first = 2;
    }
    if (first < postcodeAt)
        reading.address1 = addressOf(below[first]);
    QStringList rest;
    for (int i = first + 1; i < postcodeAt; ++i) {
        const QString line = addressOf(below[i]);
        if (line.isEmpty()) {
            rest.clear();
            break;
        }
        rest.append(line);
    }
    reading.address2 = rest.join(u' ');
    return reading;
}

QString name(const QList<ReadLine>& lines) {
    QStringList parts;
    for (const ReadLine& line : lines) {
        const QString part = nameOf(line);
        if (part.isEmpty())
            return {};
        parts.append(part);
    }
    return parts.join(u' ');
}

QString plate(const QList<ReadLine>& lines, QRect* where, float least) {
    QString best;
    int bestHeight = 0;
    QRect bestBox;
    const auto consider = [&](const QString& text, float confidence, int height, const QRect& box) {
        const QString read = Validation::plate(text);
        if (read.isEmpty() || confidence < least || height <= bestHeight)
            return;
        best = read;
        bestHeight = height;
        bestBox = box;
    };
    for (int i = 0; i < lines.size(); ++i) {
        const ReadLine& line = lines[i];
        if (line.words.isEmpty())
            continue;
        const QRect box = line.box();
        consider(line.text(), line.leastConfidence(), box.height(), box);
        // A two-row plate: the series above the number, about as tall and over the same width.
        if (i + 1 < lines.size() && !lines[i + 1].words.isEmpty()) {
            const QRect next = lines[i + 1].box();
            const bool stacked = next.top() > box.center().y() && next.top() - box.bottom() < box.height() &&
                                 next.left() < box.right() && box.left() < next.right() &&
                                 std::abs(next.height() - box.height()) < box.height() / 3;
            if (stacked)
                consider(line.text() + u' ' + lines[i + 1].text(),
                         std::min(line.leastConfidence(), lines[i + 1].leastConfidence()),
                         std::min(box.height(), next.height()), box.united(next));
        }
    }
    if (where)
        *where = bestBox;
    return best;
}

} // namespace ReadText

#include "recognition/drawn/DrawnPictures.h"

#include <QBuffer>
#include <QDate>
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <random>

namespace DrawnPictures {
namespace {

using Random = std::mt19937;

int between(Random& rng, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
}
double real(Random& rng, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(rng);
}
template <typename T, size_t N> const T& any(Random& rng, const T (&items)[N]) {
    return items[between(rng, 0, static_cast<int>(N) - 1)];
}

const char* const kGiven[] = {"MUHAMMAD", "AHMAD",    "NUR AISYAH", "SITI",     "MOHD FAIZAL", "TAN",
                              "LIM",      "WONG",     "RAJESH",     "KAVITHA",  "NORAZLINA",   "HAFIZ",
                              "FARAH",    "CHONG",    "LEE",        "ARUMUGAM", "ZULKIFLI",    "AMIRAH",
                              "KHAIRUL",  "SHARIFAH", "ONG",        "MEGAT",    "NG",          "AZMAN"};
const char* const kMalayFamily[] = {"ABDULLAH", "ISMAIL",   "HASSAN", "OTHMAN", "YUSOF",  "IBRAHIM",
                                    "RAHMAN",   "SULAIMAN", "HAMZAH", "RAZAK",  "MANSOR", "JAAFAR"};
const char* const kChinese[] = {"WEI MING", "MEI LING", "KAH HOE", "SIEW LAN", "CHEE KEONG", "AH KOW"};
const char* const kIndian[] = {"MUTHU", "SUBRAMANIAM", "GOVINDASAMY", "KRISHNAN", "RAMASAMY"};
const char* const kStreets[] = {"JALAN MAWAR",   "JALAN MERBAU",   "LORONG SENTOSA",   "JALAN BUNGA RAYA",
                                "JALAN KENANGA", "LORONG PERDANA", "JALAN SERI INDAH", "JALAN TUN RAZAK"};
const char* const kAreas[] = {"TAMAN SRI MERBAU", "KAMPUNG BARU",  "TAMAN DESA JAYA",   "BANDAR BARU",
                              "TAMAN MEGAH",      "KAMPUNG TELUK", "TAMAN BUKIT INDAH", "TAMAN SENTOSA"};
struct Place {
    const char* postcode;
    const char* town;
    const char* state;
};
// Postcodes the reference data holds, so that the form fills their towns and states.
const Place kPlaces[] = {{"01000", "KANGAR", "PERLIS"},    {"05000", "ALOR SETAR", "KEDAH"},
                         {"05150", "ALOR SETAR", "KEDAH"}, {"06000", "JITRA", "KEDAH"},
                         {"02600", "ARAU", "PERLIS"},      {"02100", "PADANG BESAR", "PERLIS"}};
const char* const kFonts[] = {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono"};

QString validNumber(Random& rng) {
    const QDate birth = QDate(1950, 1, 1).addDays(between(rng, 0, 365 * 55));
    static const int codes[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                12, 13, 14, 21, 25, 30, 38, 41, 43, 56, 71};
    return birth.toString(QStringLiteral("yyMMdd")) +
           QStringLiteral("%1").arg(any(rng, codes), 2, 10, QChar(u'0')) +
           QStringLiteral("%1").arg(between(rng, 0, 9999), 4, 10, QChar(u'0'));
}

QString dashed(const QString& number) {
    return number.length() == 12 ? number.left(6) + u'-' + number.mid(6, 2) + u'-' + number.mid(8) : number;
}

// ---- the photograph's flaws ----

void blur(QImage& image, int radius) {
    if (radius <= 0)
        return;
    // Two box passes each way approximate a Gaussian.
    QImage copy = image.convertToFormat(QImage::Format_RGB32);
    const int w = copy.width();
    const int h = copy.height();
    std::vector<QRgb> line;
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < h; ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(copy.scanLine(y));
            line.assign(row, row + w);
            for (int x = 0; x < w; ++x) {
                int r = 0, g = 0, b = 0, n = 0;
                for (int k = std::max(0, x - radius); k <= std::min(w - 1, x + radius); ++k, ++n) {
                    r += qRed(line[k]);
                    g += qGreen(line[k]);
                    b += qBlue(line[k]);
                }
                row[x] = qRgb(r / n, g / n, b / n);
            }
        }
        for (int x = 0; x < w; ++x) {
            line.resize(h);
            for (int y = 0; y < h; ++y)
                line[y] = reinterpret_cast<const QRgb*>(copy.constScanLine(y))[x];
            for (int y = 0; y < h; ++y) {
                int r = 0, g = 0, b = 0, n = 0;
                for (int k = std::max(0, y - radius); k <= std::min(h - 1, y + radius); ++k, ++n) {
                    r += qRed(line[k]);
                    g += qGreen(line[k]);
                    b += qBlue(line[k]);
                }
                reinterpret_cast<QRgb*>(copy.scanLine(y))[x] = qRgb(r / n, g / n, b / n);
            }
        }
    }
    image = copy;
}

void noise(QImage& image, Random& rng, double sigma) {
    if (sigma <= 0)
        return;
    image = image.convertToFormat(QImage::Format_RGB32);
    std::normal_distribution<double> grain(0.0, sigma);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int d = static_cast<int>(grain(rng));
            row[x] = qRgb(std::clamp(qRed(row[x]) + d, 0, 255), std::clamp(qGreen(row[x]) + d, 0, 255),
                          std::clamp(qBlue(row[x]) + d, 0, 255));
        }
    }
}

QImage asPhone(QImage image, Random& rng, Difficulty difficulty) {
    if (difficulty == Difficulty::Clean)
        return image;
    blur(image, between(rng, 0, 2));
    noise(image, rng, real(rng, 2.0, 10.0));
    QImage decoded;
    decoded.loadFromData(jpeg(image, between(rng, 55, 85)), "JPEG");
    return decoded;
}

// A table, a desk or a street: shapes, lines and stray words in many colours.
void busy(QPainter& p, const QSize& size, Random& rng, bool plain) {
    QLinearGradient ground(0, 0, size.width(), size.height());
    ground.setColorAt(0, QColor::fromHsv(between(rng, 0, 359), between(rng, 20, 120), between(rng, 60, 200)));
    ground.setColorAt(1, QColor::fromHsv(between(rng, 0, 359), between(rng, 20, 120), between(rng, 60, 200)));
    p.fillRect(QRect(QPoint(0, 0), size), ground);
    if (plain)
        return;
    for (int i = 0; i < 40; ++i) {
        const QColor colour = QColor::fromHsv(between(rng, 0, 359), between(rng, 0, 255),
                                              between(rng, 30, 255), between(rng, 80, 255));
        const QRectF box(real(rng, -100, size.width()), real(rng, -100, size.height()), real(rng, 20, 400),
                         real(rng, 10, 300));
        p.setPen(QPen(colour.darker(between(rng, 100, 200)), real(rng, 1, 6)));
        p.setBrush(colour);
        switch (between(rng, 0, 3)) {
        case 0:
            p.drawRect(box);
            break;
        case 1:
            p.drawEllipse(box);
            break;
        case 2:
            p.drawLine(box.topLeft(), box.bottomRight());
            break;
        default: {
            QFont font(QString::fromLatin1(any(rng, kFonts)));
            font.setPixelSize(between(rng, 10, 40));
            p.setFont(font);
            p.drawText(box.topLeft(), QStringLiteral("resit %1 harga").arg(between(rng, 1, 999)));
        }
        }
    }
}

QFont font(const QString& family, double pixels, bool bold) {
    QFont f(family);
    f.setPixelSize(std::max(6, static_cast<int>(std::lround(pixels))));
    f.setBold(bold);
    return f;
}

// The card itself, upright, w pixels wide.
QImage cardFace(const Person& who, const QString& printedNumber, Random& rng, int w) {
    const int h = static_cast<int>(w / 1.585);
    QImage face(w, h, QImage::Format_ARGB32_Premultiplied);
    face.fill(Qt::transparent);
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient paper(0, 0, w, h);
    const int hue = between(rng, 180, 240);
    paper.setColorAt(0, QColor::fromHsv(hue, between(rng, 10, 50), between(rng, 225, 255)));
    paper.setColorAt(1, QColor::fromHsv((hue + between(rng, 60, 160)) % 360, between(rng, 10, 50),
                                        between(rng, 215, 250)));
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, w, h), w * 0.04, w * 0.04);
    p.fillPath(outline, paper);
    p.setClipPath(outline);
    // Fine security print.
    p.setPen(QPen(QColor::fromHsv(hue, 60, 200, 120), 1));
    for (int i = 0; i < 30; ++i) {
        QPainterPath wave;
        wave.moveTo(0, h * i / 30.0);
        for (int x = 0; x <= w; x += 20)
            wave.lineTo(x, h * i / 30.0 + 6 * std::sin(x / 40.0 + i));
        p.drawPath(wave);
    }
    const QString family = QString::fromLatin1(any(rng, kFonts));
    const QColor ink = QColor::fromHsv(between(rng, 200, 240), between(rng, 0, 120), between(rng, 0, 60));
    const double jx = real(rng, -0.01, 0.01) * w;
    const double jy = real(rng, -0.02, 0.02) * h;

    p.setPen(QColor(0, 70, 160));
    p.setFont(font(family, h * 0.09, true));
    p.drawText(QPointF(w * 0.04, h * 0.12), QStringLiteral("MyKad"));
    p.setFont(font(family, h * 0.045, true));
    p.drawText(QPointF(w * 0.45, h * 0.08), QStringLiteral("KAD PENGENALAN"));
    p.drawText(QPointF(w * 0.45, h * 0.14), QStringLiteral("MALAYSIA"));
    // The number, large, above the chip.
    p.setPen(ink);
    const double numberSize = h * real(rng, 0.065, 0.085);
    p.setFont(font(family, numberSize, between(rng, 0, 3) > 0));
    p.drawText(QPointF(w * 0.05 + jx, h * 0.27 + jy), printedNumber);
    // Chip and photograph.
    p.setPen(QPen(QColor(150, 120, 40), 2));
    p.setBrush(QColor(214, 180, 90));
    p.drawRoundedRect(QRectF(w * 0.07, h * 0.34, w * 0.12, h * 0.15), 6, 6);
    p.setBrush(QColor::fromHsv(between(rng, 0, 40), 40, 170));
    p.setPen(Qt::NoPen);
    const QRectF photo(w * 0.68, h * 0.2, w * 0.27, h * 0.48);
    p.drawRect(photo);
    p.setBrush(QColor::fromHsv(between(rng, 10, 30), 90, 120));
    p.drawEllipse(photo.adjusted(photo.width() * 0.25, photo.height() * 0.12, -photo.width() * 0.25,
                                 -photo.height() * 0.35));
    // Name and address, left-aligned under the chip.
    const double size = h * real(rng, 0.042, 0.052);
    const QFont text = font(family, size, between(rng, 0, 2) == 0);
    p.setFont(text);
    p.setPen(ink);
    const QFontMetricsF metrics(text);
    QStringList lines;
    // A name wider than the space beside the photograph runs on to a second line.
    const double room = w * 0.6;
    if (metrics.horizontalAdvance(who.name) > room) {
        const QStringList words = who.name.split(u' ');
        QString first;
        int i = 0;
        while (i < words.size() && metrics.horizontalAdvance(first + u' ' + words[i]) <= room)
            first += (first.isEmpty() ? QString() : QStringLiteral(" ")) + words[i++];
        lines << first << QStringList(words.mid(i)).join(u' ');
    } else {
        lines << who.name;
    }
    lines << who.address1;
    if (!who.address2.isEmpty())
        lines << who.address2;
    lines << who.postcode + u' ' + who.town << who.state;
    const double spacing = size * real(rng, 1.25, 1.45);
    double y = h * 0.93 - spacing * (lines.size() - 1) + jy;
    for (const QString& line : lines) {
        p.drawText(QPointF(w * 0.05 + jx, y), line);
        y += spacing;
    }
    p.setFont(font(family, h * 0.04, true));
    p.drawText(QPointF(w * 0.72, h * 0.80), QStringLiteral("WARGANEGARA"));
    p.drawText(QPointF(w * 0.72, h * 0.87),
               who.icNumber.right(1).toInt() % 2 ? QStringLiteral("LELAKI") : QStringLiteral("PEREMPUAN"));
    p.end();
    return face;
}

// An upright object photographed: on a busy background, turned, at some size.
QImage photograph(const QImage& object, Random& rng, double angle, double fill, bool plainGround) {
    const int width = between(rng, 1280, 2000);
    const QSize size(width, width * 3 / 4);
    QImage scene(size, QImage::Format_RGB32);
    QPainter p(&scene);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    busy(p, size, rng, plainGround);
    const double scale = size.width() * fill / object.width();
    const QPointF centre(size.width() * real(rng, 0.45, 0.55), size.height() * real(rng, 0.45, 0.55));
    p.translate(centre);
    p.rotate(angle);
    p.scale(scale, scale);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(
        QRectF(-object.width() / 2.0 + 8, -object.height() / 2.0 + 8, object.width(), object.height()), 12,
        12);
    p.drawImage(QPointF(-object.width() / 2.0, -object.height() / 2.0), object);
    p.end();
    return scene;
}

QString plateText(Random& rng) {
    static const char first[] = "ABCDJKMNPRTW";
    static const char series[] = "ABCDEFGHJKLMNPQRSTUVWXY";
    QString letters(QChar::fromLatin1(first[between(rng, 0, 11)]));
    for (int i = between(rng, 0, 2); i > 0; --i)
        letters += QChar::fromLatin1(series[between(rng, 0, 22)]);
    QString text = letters + u' ' + QString::number(between(rng, 1, 9999));
    if (between(rng, 0, 3) == 0)
        text += u' ' + QChar::fromLatin1(series[between(rng, 0, 22)]);
    return text;
}

QImage plateFace(const QString& text, Random& rng) {
    const bool taxi = between(rng, 0, 9) == 0;
    const bool twoRows = between(rng, 0, 3) == 0;
    const QStringList parts = text.split(u' ');
    QStringList rows;
    if (twoRows)
        rows << parts[0] << QStringList(parts.mid(1)).join(u' ');
    else
        rows << text;
    static const char* const families[] = {"DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif"};
    QFont f = font(QString::fromLatin1(any(rng, families)), 100, true);
    f.setStretch(between(rng, 80, 105));
    const QFontMetricsF metrics(f);
    double textWidth = 0;
    for (const QString& row : rows)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(row));
    const int w = static_cast<int>(textWidth + 80);
    const int h = static_cast<int>(rows.size() * metrics.capHeight() * 1.45 + 50);
    QImage face(w, h, QImage::Format_ARGB32_Premultiplied);
    face.fill(Qt::transparent);
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(taxi ? Qt::black : QColor(200, 200, 200), 6));
    p.setBrush(taxi ? QColor(245, 245, 240) : QColor(15, 15, 18));
    p.drawRoundedRect(QRectF(3, 3, w - 6, h - 6), 10, 10);
    p.setFont(f);
    p.setPen(taxi ? QColor(10, 10, 10) : QColor(240, 240, 240));
    double y = 25 + metrics.capHeight();
    for (const QString& row : rows) {
        p.drawText(QPointF((w - metrics.horizontalAdvance(row)) / 2, y), row);
        y += metrics.capHeight() * 1.45;
    }
    p.end();
    // The car around it: a painted panel with the bumper's line.
    QImage car(w * 3, h * 4, QImage::Format_ARGB32_Premultiplied);
    const QColor body = QColor::fromHsv(between(rng, 0, 359), between(rng, 0, 200), between(rng, 40, 240));
    car.fill(body);
    QPainter c(&car);
    c.setRenderHint(QPainter::Antialiasing);
    c.fillRect(QRectF(0, car.height() * 0.7, car.width(), car.height() * 0.3), body.darker(150));
    c.setPen(QPen(body.darker(200), 4));
    c.drawLine(QPointF(0, car.height() * 0.25), QPointF(car.width(), car.height() * 0.22));
    c.drawImage(QPointF(w, h * 1.5), face);
    c.end();
    return car;
}

} // namespace

QByteArray jpeg(const QImage& picture, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG", quality);
    return bytes;
}

Person person(quint32 seed) {
    Random rng(seed);
    Person who;
    who.icNumber = validNumber(rng);
    const bool woman = who.icNumber.right(1).toInt() % 2 == 0;
    switch (between(rng, 0, 2)) {
    case 0:
        who.name = QString::fromLatin1(any(rng, kGiven)) +
                   (woman ? QStringLiteral(" BINTI ") : QStringLiteral(" BIN ")) +
                   QString::fromLatin1(any(rng, kMalayFamily));
        if (between(rng, 0, 3) == 0)
            who.name += u' ' + QString::fromLatin1(any(rng, kMalayFamily));
        break;
    case 1:
        who.name = QString::fromLatin1(any(rng, kGiven)) + u' ' + QString::fromLatin1(any(rng, kChinese));
        break;
    default:
        who.name = QString::fromLatin1(any(rng, kIndian)) +
                   (woman ? QStringLiteral(" A/P ") : QStringLiteral(" A/L ")) +
                   QString::fromLatin1(any(rng, kIndian));
    }
    who.address1 = QStringLiteral("NO %1 %2 %3")
                       .arg(between(rng, 1, 250))
                       .arg(QString::fromLatin1(any(rng, kStreets)))
                       .arg(between(rng, 1, 12));
    who.address2 = QString::fromLatin1(any(rng, kAreas));
    const Place& place = any(rng, kPlaces);
    who.postcode = QString::fromLatin1(place.postcode);
    who.town = QString::fromLatin1(place.town);
    who.state = QString::fromLatin1(place.state);
    return who;
}

Card card(const Person& who, quint32 seed, Difficulty difficulty) {
    Random rng(seed * 7919u + 1);
    const QImage face = cardFace(who, dashed(who.icNumber), rng, 1100);
    const double angle = difficulty == Difficulty::Clean ? 0.0 : real(rng, -8.0, 8.0);
    QImage scene = photograph(face, rng, angle, real(rng, 0.6, 0.85), difficulty == Difficulty::Clean);
    return {who, asPhone(scene, rng, difficulty)};
}

Card card(quint32 seed, Difficulty difficulty) {
    return card(person(seed), seed, difficulty);
}

Card cardWithNumber(const QString& printedNumber, quint32 seed) {
    Random rng(seed);
    Person who = person(seed);
    const QImage face = cardFace(who, printedNumber, rng, 1100);
    who.icNumber.clear();
    return {who, photograph(face, rng, 0, 0.75, true)};
}

Plate plate(const QString& text, quint32 seed, Difficulty difficulty) {
    Random rng(seed * 104729u + 3);
    const QImage face = plateFace(text, rng);
    const double angle = difficulty == Difficulty::Clean ? 0.0 : real(rng, -8.0, 8.0);
    QImage scene = photograph(face, rng, angle, real(rng, 0.6, 0.95), difficulty == Difficulty::Clean);
    return {text, asPhone(scene, rng, difficulty)};
}

Plate plate(quint32 seed, Difficulty difficulty) {
    Random rng(seed);
    return plate(plateText(rng), seed, difficulty);
}

QImage nothing(quint32 seed) {
    Random rng(seed);
    QImage scene(1600, 1200, QImage::Format_RGB32);
    QPainter p(&scene);
    busy(p, scene.size(), rng, false);
    p.end();
    return scene;
}

} // namespace DrawnPictures

// draw-pictures OUTDIR
//
// Draws the application's own pictures: four monochrome tab icons (60 x 60, transparent, dark strokes the
// tab bar can tint) and six compound-type badges (88 x 88, one colour each, white pictogram and a short
// label, since the type menu shows the picture alone). Deterministic, so re-running changes nothing.
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

#include <cstdio>
#include <functional>

namespace {

const QColor kInk(0x20, 0x20, 0x20);

bool save(const QImage& image, const QString& dir, const QString& name) {
    QSaveFile file(dir + "/" + name);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        std::fprintf(stderr, "draw-pictures: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

QImage canvas(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QPen line(qreal width, const QColor& colour = kInk) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// ---- tab icons, 60 x 60 ----

QImage suitcase() {
    QImage image = canvas(60);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(line(3.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(8, 19, 44, 31), 5, 5);
    // Handle.
    QPainterPath handle;
    handle.moveTo(23, 19);
    handle.lineTo(23, 13);
    handle.quadTo(23, 10, 26, 10);
    handle.lineTo(34, 10);
    handle.quadTo(37, 10, 37, 13);
    handle.lineTo(37, 19);
    p.drawPath(handle);
    // Band and clasp.
    p.drawLine(QPointF(8, 31), QPointF(52, 31));
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(26.5, 28.5, 7, 6), 1.5, 1.5);
    return image;
}

QImage cabinet() {
    QImage image = canvas(60);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(line(3.5));
    p.drawRoundedRect(QRectF(13, 6, 34, 49), 3, 3);
    p.drawLine(QPointF(13, 22.5), QPointF(47, 22.5));
    p.drawLine(QPointF(13, 39), QPointF(47, 39));
    for (qreal y : {14.0, 30.5, 47.0}) {
        p.drawLine(QPointF(25, y), QPointF(35, y));
    }
    return image;
}

QImage indexCards() {
    QImage image = canvas(60);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(line(3.0));
    // Back card: only the part not hidden by the front card.
    QPainterPath back;
    back.moveTo(14, 17);
    back.lineTo(14, 12);
    back.quadTo(14, 9, 17, 9);
    back.lineTo(51, 9);
    back.quadTo(54, 9, 54, 12);
    back.lineTo(54, 38);
    back.quadTo(54, 41, 51, 41);
    back.lineTo(47, 41);
    p.drawPath(back);
    p.drawRoundedRect(QRectF(6, 17, 41, 33), 3, 3);
    // Ruled lines of the front card, the top one heavier as a heading.
    p.setPen(line(3.0));
    p.drawLine(QPointF(12, 26), QPointF(41, 26));
    p.setPen(line(2.0));
    p.drawLine(QPointF(12, 34), QPointF(41, 34));
    p.drawLine(QPointF(12, 41), QPointF(33, 41));
    return image;
}

QImage printer() {
    QImage image = canvas(60);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(line(3.5));
    // Paper going in at the top.
    p.drawLine(QPointF(18, 20), QPointF(18, 8));
    p.drawLine(QPointF(18, 8), QPointF(42, 8));
    p.drawLine(QPointF(42, 8), QPointF(42, 20));
    // Body.
    QPainterPath body;
    body.moveTo(16, 42);
    body.lineTo(10, 42);
    body.quadTo(6, 42, 6, 38);
    body.lineTo(6, 24);
    body.quadTo(6, 20, 10, 20);
    body.lineTo(50, 20);
    body.quadTo(54, 20, 54, 24);
    body.lineTo(54, 38);
    body.quadTo(54, 42, 50, 42);
    body.lineTo(44, 42);
    p.drawPath(body);
    // Printed sheet coming out.
    p.drawRect(QRectF(16, 34, 28, 18));
    p.setPen(line(2.0));
    p.drawLine(QPointF(21, 41), QPointF(39, 41));
    p.drawLine(QPointF(21, 46.5), QPointF(34, 46.5));
    // Status light.
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(46, 27), 2.5, 2.5);
    return image;
}

// ---- compound-type badges, 88 x 88 ----

// A rounded badge of one colour with a slightly darker lower edge, the pictogram drawn by `draw` in the
// upper part (a 56 x 50 box starting at (16, 6)) and a label under it.
QImage badge(const QColor& colour, const QString& label, const std::function<void(QPainter&)>& draw) {
    QImage image = canvas(88);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour.darker(125));
    p.drawRoundedRect(QRectF(2, 3, 84, 84), 16, 16);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(2, 1, 84, 83), 16, 16);

    p.save();
    draw(p);
    p.restore();

    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(11);
    // Shrink long labels until they fit the badge with a margin.
    while (QFontMetricsF(font).horizontalAdvance(label) > 76 && font.pixelSize() > 7) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(4, 62, 80, 16), Qt::AlignCenter, label);
    return image;
}

void trafficLight(QPainter& p) {
    p.setPen(Qt::NoPen);
    // A white rim keeps the dark housing apart from the dark badge.
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(30.5, 3.5, 27, 57), 9, 9);
    p.setBrush(QColor(0x26, 0x26, 0x26));
    p.drawRoundedRect(QRectF(33, 6, 22, 52), 7, 7);
    const QColor lamps[] = {QColor(0xE5, 0x39, 0x35), QColor(0xFF, 0xB3, 0x00), QColor(0x43, 0xA0, 0x47)};
    qreal y = 16;
    for (const QColor& lamp : lamps) {
        p.setBrush(lamp);
        p.drawEllipse(QPointF(44, y), 6.5, 6.5);
        y += 16;
    }
}

void car(QPainter& p, qreal x, qreal y, qreal scale, const QColor& body, const QColor& window) {
    p.save();
    p.translate(x, y);
    p.scale(scale, scale);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    QPainterPath shape;
    shape.moveTo(2, 22);
    shape.lineTo(2, 15);
    shape.quadTo(2, 12, 6, 11);
    shape.lineTo(12, 10);
    shape.lineTo(18, 3);
    shape.quadTo(20, 1, 23, 1);
    shape.lineTo(37, 1);
    shape.quadTo(40, 1, 42, 4);
    shape.lineTo(47, 10);
    shape.lineTo(52, 11);
    shape.quadTo(56, 12, 56, 16);
    shape.lineTo(56, 22);
    shape.closeSubpath();
    p.drawPath(shape);
    p.setBrush(window);
    QPainterPath front;
    front.moveTo(16, 10);
    front.lineTo(21, 4.5);
    front.lineTo(28, 4.5);
    front.lineTo(28, 10);
    front.closeSubpath();
    p.drawPath(front);
    QPainterPath rear;
    rear.moveTo(31, 10);
    rear.lineTo(31, 4.5);
    rear.lineTo(38.5, 4.5);
    rear.lineTo(43, 10);
    rear.closeSubpath();
    p.drawPath(rear);
    for (qreal wx : {14.0, 44.0}) {
        p.setBrush(window);
        p.drawEllipse(QPointF(wx, 22), 6.5, 6.5);
        p.setBrush(body);
        p.drawEllipse(QPointF(wx, 22), 3.5, 3.5);
    }
    p.restore();
}

void parkedCar(QPainter& p) {
    const QColor blue(0x15, 0x65, 0xC0);
    // Parking sign: white plate with a blue "P" on a post.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(50, 6, 24, 24), 4, 4);
    p.drawRect(QRectF(60.5, 30, 3, 14));
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(20);
    p.setFont(font);
    p.setPen(blue);
    p.drawText(QRectF(50, 6, 24, 24), Qt::AlignCenter, "P");
    car(p, 10, 28, 0.78, Qt::white, blue);
    // Kerb line under the car.
    p.setPen(QPen(Qt::white, 2.5, Qt::DashLine, Qt::FlatCap));
    p.drawLine(QPointF(10, 56), QPointF(78, 56));
}

void personWithNotice(QPainter& p) {
    const QColor green(0x2E, 0x7D, 0x32);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    // Person.
    p.drawEllipse(QPointF(30, 17), 8, 8);
    QPainterPath torso;
    torso.moveTo(15, 56);
    torso.lineTo(15, 40);
    torso.quadTo(15, 28, 30, 28);
    torso.quadTo(45, 28, 45, 40);
    torso.lineTo(45, 56);
    torso.closeSubpath();
    p.drawPath(torso);
    // Notice held up beside the person.
    p.save();
    p.translate(58, 30);
    p.rotate(8);
    p.setBrush(Qt::white);
    p.setPen(QPen(green, 2));
    p.drawRoundedRect(QRectF(-12, -18, 24, 32), 2, 2);
    p.setPen(QPen(green, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-7, -10), QPointF(7, -10));
    p.drawLine(QPointF(-7, -4), QPointF(7, -4));
    p.drawLine(QPointF(-7, 2), QPointF(3, 2));
    p.restore();
}

void sealedCrate(QPainter& p) {
    const QColor brown(0xA8, 0x5A, 0x1C);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(14, 18, 44, 38), 3, 3);
    // Planks.
    p.setPen(QPen(brown, 2.5));
    p.drawLine(QPointF(14, 31), QPointF(58, 31));
    p.drawLine(QPointF(14, 44), QPointF(58, 44));
    p.drawLine(QPointF(18, 22), QPointF(54, 52));
    // Padlock on the side.
    p.setPen(QPen(Qt::white, 3.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(60, 20, 14, 18), 0, 180 * 16);
    p.drawLine(QPointF(60, 29), QPointF(60, 34));
    p.drawLine(QPointF(74, 29), QPointF(74, 34));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(56, 33, 22, 18), 3, 3);
    p.setBrush(brown);
    p.drawEllipse(QPointF(67, 40), 2.5, 2.5);
    p.drawRect(QRectF(66, 41, 2, 5));
}

void gavel(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    // Sound block.
    p.drawRoundedRect(QRectF(14, 50, 34, 7), 2, 2);
    p.save();
    p.translate(44, 28);
    p.rotate(-40);
    // Head and handle.
    p.drawRoundedRect(QRectF(-14, -8, 28, 15), 3, 3);
    p.drawRect(QRectF(-2.5, 7, 5, 30));
    p.restore();
    // Motion marks.
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17, 41), QPointF(11, 37));
    p.drawLine(QPointF(20, 36), QPointF(16, 30));
}

void healthCross(QPainter& p) {
    const QColor teal(0x00, 0x83, 0x8F);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(44, 31), 25, 25);
    p.setBrush(teal);
    p.drawRoundedRect(QRectF(38, 14, 12, 34), 2, 2);
    p.drawRoundedRect(QRectF(27, 25, 34, 12), 2, 2);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the tab and list pictures the application ships."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("OUTDIR"), QStringLiteral("where the PNG files go"));
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 2;
    }
    const QString dir = parser.positionalArguments().first();
    bool ok = true;
    ok &= save(suitcase(), dir, "37-suitcase.png");
    ok &= save(cabinet(), dir, "33-cabinet.png");
    ok &= save(indexCards(), dir, "104-index-cards.png");
    ok &= save(printer(), dir, "185-printer.png");
    ok &= save(badge(QColor(0x13, 0x2C, 0x7C), "LALU LINTAS", trafficLight), dir, "laulintas.png");
    ok &= save(badge(QColor(0x15, 0x65, 0xC0), "UUK KENDERAAN", parkedCar), dir, "bylawkenderaan.png");
    ok &= save(badge(QColor(0x2E, 0x7D, 0x32), "UUK PESALAH", personWithNotice), dir, "bylawOffender.png");
    ok &= save(badge(QColor(0xA8, 0x5A, 0x1C), "SITAAN", sealedCrate), dir, "sitaan.png");
    ok &= save(badge(QColor(0x6A, 0x1B, 0x9A), "ENAKMEN", gavel), dir, "kesenakmen.png");
    ok &= save(badge(QColor(0x00, 0x83, 0x8F), "KESIHATAN", healthCross), dir, "kesihatan.png");
    return ok ? 0 : 1;
}

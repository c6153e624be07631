// Draws the council's notice header, 800 x 200 dots in black and white, and saves it as a BMP.
// Run once when the header changes: make-printheader resources/printheader.bmp
#include <QCommandLineParser>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the council's notice header (800 x 200, black and white)."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("OUT.bmp"), QStringLiteral("the picture to write"));
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 2;
    }
    const QString outPath = parser.positionalArguments().first();
    const int id = QFontDatabase::addApplicationFont(
        QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"));
    const QString family =
        id >= 0 ? QFontDatabase::applicationFontFamilies(id).value(0) : QStringLiteral("sans");

    QImage img(800, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);

    // Double rule above and below, as on the council's letterhead.
    p.fillRect(QRect(10, 8, 780, 6), Qt::black);
    p.fillRect(QRect(10, 18, 780, 2), Qt::black);
    p.fillRect(QRect(10, 180, 780, 2), Qt::black);
    p.fillRect(QRect(10, 186, 780, 6), Qt::black);

    // A plain round seal with the council's initials.
    p.setPen(QPen(Qt::black, 6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(88, 100), 66, 66);
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(QPointF(88, 100), 56, 56);
    QFont seal(family);
    seal.setPixelSize(34);
    p.setFont(seal);
    p.setPen(Qt::black);
    p.drawText(QRectF(22, 60, 132, 80), Qt::AlignCenter, QStringLiteral("MPT"));

    QFont big(family);
    big.setPixelSize(40);
    p.setFont(big);
    p.drawText(QRectF(170, 38, 620, 56), Qt::AlignCenter, QStringLiteral("MAJLIS PERBANDARAN"));
    QFont name(family);
    name.setPixelSize(50);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(name);
    p.drawText(QRectF(170, 96, 620, 64), Qt::AlignCenter, QStringLiteral("TELUKMERBAU"));
    p.end();

    // Pure black and white, so the printer's threshold has nothing to decide.
    QImage mono = img.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < mono.height(); ++y) {
        uchar* row = mono.scanLine(y);
        for (int x = 0; x < mono.width(); ++x)
            row[x] = row[x] < 128 ? 0 : 255;
    }
    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly) || !mono.convertToFormat(QImage::Format_RGB888).save(&out, "BMP") ||
        !out.commit()) {
        std::fprintf(stderr, "make-printheader: cannot write %s\n", qPrintable(outPath));
        return 1;
    }
    return 0;
}

#include "printing/ReceiptRenderer.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QPainter>

#include <qrencode.h>

#include <algorithm>

namespace {

constexpr char kEsc = 0x1b;
constexpr char kGs = 0x1d;

// Code 39: nine elements (bar, space, ...), 1 = wide.
struct Code39Char {
    char c;
    const char* wide;
};
constexpr Code39Char kCode39[] = {
    {'0', "000110100"}, {'1', "100100001"}, {'2', "001100001"}, {'3', "101100000"}, {'4', "000110001"},
    {'5', "100110000"}, {'6', "001110000"}, {'7', "000100101"}, {'8', "100100100"}, {'9', "001100100"},
    {'A', "100001001"}, {'B', "001001001"}, {'C', "101001000"}, {'D', "000011001"}, {'E', "100011000"},
    {'F', "001011000"}, {'G', "000001101"}, {'H', "100001100"}, {'I', "001001100"}, {'J', "000011100"},
    {'K', "100000011"}, {'L', "001000011"}, {'M', "101000010"}, {'N', "000010011"}, {'O', "100010010"},
    {'P', "001010010"}, {'Q', "000000111"}, {'R', "100000110"}, {'S', "001000110"}, {'T', "000010110"},
    {'U', "110000001"}, {'V', "011000001"}, {'W', "111000000"}, {'X', "010010001"}, {'Y', "110010000"},
    {'Z', "011010000"}, {'-', "010000101"}, {'.', "110000100"}, {' ', "011000100"}, {'$', "010101000"},
    {'/', "010100010"}, {'+', "010001010"}, {'%', "000101010"}, {'*', "010010100"},
};

const char* code39Pattern(char c) {
    for (const auto& e : kCode39)
        if (e.c == c)
            return e.wide;
    return nullptr;
}

QImage whiteImage(int w, int h) {
    QImage img(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

int le16(const QByteArray& s, qsizetype i) {
    return uchar(s[i]) | (uchar(s[i + 1]) << 8);
}

QFont printerFont() {
    // The printer's own font is a fixed-pitch bitmap; a bold monospace face at this size fills the 9-dot
    // cell.
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(
            QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf"));
        const QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
        return families.isEmpty() ? QStringLiteral("monospace") : families.first();
    }();
    QFont font(family);
    font.setPixelSize(15);
    font.setBold(true);
    font.setStyleHint(QFont::Monospace);
    return font;
}

} // namespace

ReceiptRenderer::ReceiptRenderer() {
    const QFont font = printerFont();
    glyphs_.reserve(128);
    for (int c = 0; c < 128; ++c) {
        QImage cell(kCellWidth, kCellHeight, QImage::Format_RGB32);
        cell.fill(Qt::white);
        if (c > 0x20 && c < 0x7f) {
            QPainter p(&cell);
            p.setFont(font);
            p.setPen(Qt::black);
            p.drawText(QRect(0, 0, kCellWidth, kCellHeight - 3), Qt::AlignHCenter | Qt::AlignBottom,
                       QString(QChar(c)));
            p.end();
            // Thermal dots are either burnt or not.
            for (int y = 0; y < cell.height(); ++y) {
                QRgb* row = reinterpret_cast<QRgb*>(cell.scanLine(y));
                for (int x = 0; x < cell.width(); ++x)
                    row[x] = qGray(row[x]) < 150 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            }
        }
        glyphs_.append(cell);
    }
}

ReceiptRenderer::~ReceiptRenderer() = default;

QImage ReceiptRenderer::render(const QByteArray& stream) {
    ReceiptRenderer r;
    r.feed(stream);
    return r.image();
}

void ReceiptRenderer::feed(const QByteArray& s) {
    qsizetype i = 0;
    while (i < s.size()) {
        const qsizetype next = command(s, i);
        if (next <= i)
            break; // incomplete command at the end
        i = next;
    }
}

// Interprets one command or character at i; returns the index after it, or i when it is incomplete.
qsizetype ReceiptRenderer::command(const QByteArray& s, qsizetype i) {
    const qsizetype left = s.size() - i;
    const char c = s[i];
    auto need = [&](qsizetype n) { return left >= n; };
    if (c == '\n') {
        if (!pageMode_)
            newLine();
        return i + 1;
    }
    if (c == '\r')
        return i + 1; // the line is printed on the line feed
    if (c == kEsc) {
        if (!need(2))
            return i;
        switch (s[i + 1]) {
        case '@':
            if (!line_.isEmpty())
                newLine();
            leftMargin_ = x_ = 0;
            widthScale_ = heightScale_ = 1;
            barcodeHeight_ = kDefaultBarcodeHeight;
            moduleWidth_ = kDefaultModuleWidth;
            hri_ = 0;
            pageMode_ = false;
            return i + 2;
        case 'L':
            if (!line_.isEmpty())
                newLine();
            pageMode_ = true;
            startPage();
            return i + 2;
        case '\x0c':
            if (pageMode_)
                printPageBuffer();
            return i + 2;
        case 'S':
            pageMode_ = false;
            page_ = {};
            return i + 2;
        case 'W':
            if (!need(10))
                return i;
            pageArea_ = QRect(le16(s, i + 2), le16(s, i + 4), le16(s, i + 6), le16(s, i + 8));
            startPage();
            return i + 10;
        case 'O':
            if (!need(6))
                return i;
            pageX_ = le16(s, i + 2);
            pageY_ = le16(s, i + 4);
            return i + 6;
        case 'X': {
            if (!need(5))
                return i;
            const int r = uchar(s[i + 3]);
            const int rows = uchar(s[i + 4]);
            const qsizetype bytes = qsizetype(r) * rows;
            if (!need(5 + bytes))
                return i;
            rasterBand(r, rows, reinterpret_cast<const uchar*>(s.constData() + i + 5));
            return i + 5 + bytes;
        }
        case 'Z': {
            if (!need(7))
                return i;
            const int a1 = uchar(s[i + 2]), a2 = uchar(s[i + 3]), a3 = uchar(s[i + 4]);
            const int n = le16(s, i + 5);
            // Non-ASCII data was left out by the sender, so the length may promise more than follows;
            // take what printable ASCII there is.
            qsizetype taken = 0;
            while (taken < n && i + 7 + taken < s.size() && uchar(s[i + 7 + taken]) >= 0x20 &&
                   uchar(s[i + 7 + taken]) < 0x7f)
                ++taken;
            if (taken < n && i + 7 + taken >= s.size() && taken > 0)
                return i; // the data is still arriving
            const QByteArray data = s.mid(i + 7, taken);
            if (symbology2D_ == 2)
                placeItem(qrCode(data, a1, a2, a3));
            else if (!data.isEmpty())
                placeItem(placeholder(QStringLiteral("2-D symbol %1").arg(symbology2D_)));
            return i + 7 + taken;
        }
        case 'd':
            if (!need(3))
                return i;
            for (int k = 0; k < uchar(s[i + 2]); ++k)
                newLine();
            return i + 3;
        case 'J':
            if (!need(3))
                return i;
            feedDots(uchar(s[i + 2]));
            return i + 3;
        default:
            return i + 2;
        }
    }
    if (c == kGs) {
        if (!need(2))
            return i;
        switch (s[i + 1]) {
        case 'L':
            if (!need(4))
                return i;
            leftMargin_ = std::min(le16(s, i + 2), kPaperDots - kCellWidth);
            // A margin set part-way through a line moves on to it, which is how the notices pair two fields.
            x_ = line_.isEmpty() ? leftMargin_ : std::max(x_, leftMargin_);
            return i + 4;
        case '!':
            if (!need(3))
                return i;
            widthScale_ = ((uchar(s[i + 2]) >> 4) & 7) + 1;
            heightScale_ = (uchar(s[i + 2]) & 7) + 1;
            return i + 3;
        case 'w':
            if (!need(3))
                return i;
            moduleWidth_ = std::clamp(int(uchar(s[i + 2])), 1, 8);
            return i + 3;
        case 'h':
            if (!need(3))
                return i;
            barcodeHeight_ = std::max(1, int(uchar(s[i + 2])));
            return i + 3;
        case 'H':
            if (!need(3))
                return i;
            hri_ = uchar(s[i + 2]);
            return i + 3;
        case 'Z':
            if (!need(3))
                return i;
            symbology2D_ = uchar(s[i + 2]);
            return i + 3;
        case 'k': {
            if (!need(4))
                return i;
            const int m = uchar(s[i + 2]);
            QByteArray data;
            qsizetype end = 0;
            if (m >= 65) {
                const int n = uchar(s[i + 3]);
                // Data the sender could not carry is missing: read only what is printable.
                qsizetype taken = 0;
                while (taken < n && i + 4 + taken < s.size() && uchar(s[i + 4 + taken]) >= 0x20 &&
                       uchar(s[i + 4 + taken]) < 0x7f)
                    ++taken;
                if (taken < n && i + 4 + taken >= s.size() && taken > 0)
                    return i;
                data = s.mid(i + 4, taken);
                end = i + 4 + taken;
            } else {
                const qsizetype nul = s.indexOf('\0', i + 3);
                if (nul < 0)
                    return i;
                data = s.mid(i + 3, nul - i - 3);
                end = nul + 1;
            }
            if (m == 69 || m == 4) {
                QImage bars = code39(data);
                if (!bars.isNull()) {
                    withHri(bars, data);
                    placeItem(bars);
                }
            } else if (!data.isEmpty()) {
                QImage box = placeholder(QStringLiteral("barcode %1").arg(m));
                withHri(box, data);
                placeItem(box);
            }
            return end;
        }
        case '1': {
            // GS1 DataBar carries no length: its data runs to the next control character.
            if (!need(4))
                return i;
            qsizetype end = i + 4;
            while (end < s.size() && uchar(s[end]) >= 0x20)
                ++end;
            if (end > i + 4)
                placeItem(placeholder(QStringLiteral("GS1 DataBar")));
            return end;
        }
        case 'V':
            if (!need(3))
                return i;
            return uchar(s[i + 2]) >= 65 ? (need(4) ? i + 4 : i) : i + 3;
        default:
            return i + 2;
        }
    }
    if (!pageMode_)
        printText(c);
    return i + 1;
}

void ReceiptRenderer::printText(char c) {
    const uchar u = uchar(c);
    if (u < 0x20)
        return;
    QImage g = glyph(u < 0x80 ? c : '?');
    if (widthScale_ != 1 || heightScale_ != 1)
        g = g.scaled(g.width() * widthScale_, g.height() * heightScale_);
    placeItem(g);
}

QImage ReceiptRenderer::glyph(char c) const {
    return glyphs_.value(uchar(c) & 0x7f);
}

void ReceiptRenderer::placeItem(QImage picture) {
    if (picture.isNull())
        return;
    // Whatever does not fit on the rest of the line starts the next one, as the printer wraps.
    if (x_ + picture.width() > kPaperDots && !line_.isEmpty())
        newLine();
    line_.append(Item{x_, std::move(picture)});
    x_ += line_.constLast().picture.width();
}

void ReceiptRenderer::newLine() {
    int height = kCellHeight;
    for (const Item& item : line_)
        height = std::max(height, item.picture.height());
    QImage strip = whiteImage(kPaperDots, height);
    {
        QPainter p(&strip);
        for (const Item& item : line_)
            p.drawImage(item.x, height - item.picture.height(), item.picture);
    }
    strips_.append(strip);
    line_.clear();
    x_ = leftMargin_;
}

void ReceiptRenderer::feedDots(int dots) {
    if (dots > 0)
        strips_.append(whiteImage(kPaperDots, dots));
}

void ReceiptRenderer::startPage() {
    const QRect area = pageArea_.isValid() ? pageArea_ : QRect(0, 0, kPaperDots, 0);
    page_ = whiteImage(kPaperDots, std::max(1, area.y() + area.height()));
    pageX_ = 0;
    pageY_ = 0;
}

void ReceiptRenderer::rasterBand(int bytesPerRow, int rows, const uchar* bits) {
    QImage band = whiteImage(bytesPerRow * 8, rows);
    for (int y = 0; y < rows; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(band.scanLine(y));
        for (int x = 0; x < bytesPerRow * 8; ++x)
            if (bits[qsizetype(y) * bytesPerRow + x / 8] & (0x80 >> (x % 8)))
                row[x] = qRgb(0, 0, 0);
    }
    if (!pageMode_) {
        placeItem(band);
        newLine();
        return;
    }
    const int top = pageArea_.y() + pageY_;
    if (page_.height() < top + rows) {
        QImage grown = whiteImage(kPaperDots, top + rows);
        QPainter(&grown).drawImage(0, 0, page_);
        page_ = grown;
    }
    QPainter p(&page_);
    p.setCompositionMode(QPainter::CompositionMode_Darken);
    p.drawImage(pageArea_.x() + pageX_, top, band);
    pageY_ += rows;
}

void ReceiptRenderer::printPageBuffer() {
    if (!page_.isNull())
        strips_.append(page_);
    startPage();
}

QImage ReceiptRenderer::code39(const QByteArray& raw) const {
    QByteArray data;
    for (char ch : raw) {
        const char up = (ch >= 'a' && ch <= 'z') ? char(ch - 32) : ch;
        if (up != '*' && code39Pattern(up))
            data.append(up);
    }
    if (data.isEmpty())
        return {};
    const QByteArray framed = '*' + data + '*';
    const int narrow = moduleWidth_;
    const int wide = 2 * moduleWidth_;
    int width = 0;
    for (char ch : framed) {
        const char* pattern = code39Pattern(ch);
        for (int k = 0; k < 9; ++k)
            width += pattern[k] == '1' ? wide : narrow;
        width += narrow; // gap between characters
    }
    width -= narrow;
    QImage img = whiteImage(width, barcodeHeight_);
    QPainter p(&img);
    int x = 0;
    for (char ch : framed) {
        const char* pattern = code39Pattern(ch);
        for (int k = 0; k < 9; ++k) {
            const int w = pattern[k] == '1' ? wide : narrow;
            if (k % 2 == 0)
                p.fillRect(x, 0, w, barcodeHeight_, Qt::black);
            x += w;
        }
        x += narrow;
    }
    return img;
}

void ReceiptRenderer::withHri(QImage& bars, const QByteArray& data) const {
    // GS H takes 0-3 or their digits '0'-'3': bit 0 puts the text above the bars, bit 1 below.
    const int position = (hri_ >= '0' && hri_ <= '3') ? hri_ - '0' : (hri_ <= 3 ? hri_ : 0);
    const bool above = (position & 1) != 0;
    const bool below = (position & 2) != 0;
    if ((!above && !below) || data.isEmpty())
        return;
    const int textWidth = int(data.size()) * kCellWidth;
    const int barsTop = above ? kCellHeight : 0;
    QImage out = whiteImage(std::max(bars.width(), textWidth),
                            bars.height() + (above ? kCellHeight : 0) + (below ? kCellHeight : 0));
    QPainter p(&out);
    p.drawImage((out.width() - bars.width()) / 2, barsTop, bars);
    const auto text = [&](int top) {
        int x = (out.width() - textWidth) / 2;
        for (char ch : data) {
            p.drawImage(x, top, glyph(ch));
            x += kCellWidth;
        }
    };
    if (above)
        text(0);
    if (below)
        text(barsTop + bars.height());
    p.end();
    bars = out;
}

QImage ReceiptRenderer::qrCode(const QByteArray& data, int version, int ecLevel, int moduleSize) const {
    if (data.isEmpty())
        return {};
    QRecLevel level = QR_ECLEVEL_M;
    switch (ecLevel) {
    case 'L':
        level = QR_ECLEVEL_L;
        break;
    case 'Q':
        level = QR_ECLEVEL_Q;
        break;
    case 'H':
        level = QR_ECLEVEL_H;
        break;
    default:
        break;
    }
    QRcode* qr = QRcode_encodeData(int(data.size()), reinterpret_cast<const unsigned char*>(data.constData()),
                                   std::clamp(version, 0, 40), level);
    if (!qr)
        return placeholder(QStringLiteral("QR too long"));
    const int module = std::clamp(moduleSize, 1, 16);
    const int quiet = 4 * module;
    QImage img = whiteImage(qr->width * module + 2 * quiet, qr->width * module + 2 * quiet);
    QPainter p(&img);
    for (int y = 0; y < qr->width; ++y)
        for (int x = 0; x < qr->width; ++x)
            if (qr->data[y * qr->width + x] & 1)
                p.fillRect(quiet + x * module, quiet + y * module, module, module, Qt::black);
    p.end();
    QRcode_free(qr);
    return img;
}

QImage ReceiptRenderer::placeholder(const QString& label) const {
    QImage img = whiteImage(std::max(120, int(label.size()) * kCellWidth + 16), 60);
    QPainter p(&img);
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(img.rect().adjusted(1, 1, -2, -2));
    int x = 8;
    for (QChar ch : label) {
        p.drawImage(x, 18, glyph(char(ch.toLatin1())));
        x += kCellWidth;
    }
    return img;
}

QImage ReceiptRenderer::image() {
    if (!line_.isEmpty())
        newLine();
    int height = 0;
    for (const QImage& s : strips_)
        height += s.height();
    QImage out = whiteImage(kPaperDots + 2 * kPaperEdge, height + 2 * kPaperEdge);
    QPainter p(&out);
    int y = kPaperEdge;
    for (const QImage& s : strips_) {
        p.drawImage(kPaperEdge, y, s);
        y += s.height();
    }
    p.end();
    return out.convertToFormat(QImage::Format_Grayscale8);
}

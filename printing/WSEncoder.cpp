#include "printing/WSEncoder.h"

#include "platform/Log.h"

#include <QSysInfo>
#include <QtEndian>

#include <cstring>
#include <vector>

namespace {

bool isAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 0x7f)
            return false;
    return true;
}

bool isLatin1(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 0xff)
            return false;
    return true;
}

// Black when darker than the threshold, except where nothing was drawn at all (all four bytes 0). With
// straight alpha, each channel is first premultiplied as the conversion to premultiplied ARGB does it
// ((t + t / 256 + 128) / 256 of t = channel * alpha), in 16-bit lanes, which is what lets the compiler
// take eight dots at a time; a dot with alpha 0 premultiplies to nothing drawn.
template <bool Straight> inline uchar dark(quint32 p) {
    if constexpr (Straight) {
        const quint16 a = quint16(p >> 24);
        const auto premultiplied = [a](quint16 c) {
            const quint16 t = quint16(c * a);
            return quint16(quint16(t + quint16(t >> 8) + 0x80) >> 8);
        };
        const quint16 s = quint16(premultiplied(quint16((p >> 16) & 0xff)) +
                                  premultiplied(quint16((p >> 8) & 0xff)) + premultiplied(quint16(p & 0xff)));
        return uchar((s < quint16(WSEncoder::kBlackThreshold)) & (a != 0));
    } else {
        const quint32 s = ((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff);
        return uchar((s < quint32(WSEncoder::kBlackThreshold)) & (p != 0));
    }
}

// A row at a time: each dot's decision into a byte of its own, in a loop without branches that the
// compiler turns into vector instructions, then eight decisions packed into a byte by one multiply (byte
// k of the eight, 0 or 1, lands on bit 7 - k of the top byte).
template <bool Straight> void rasterRows(const QImage& canvas, uchar* out, int r) {
    const int w = canvas.width();
    std::vector<uchar> decisions(size_t(r) * 8, 0);
    for (int y = 0; y < canvas.height(); ++y) {
        const quint32* line = reinterpret_cast<const quint32*>(canvas.constScanLine(y));
        uchar* d = decisions.data();
        for (int x = 0; x < w; ++x)
            d[x] = dark<Straight>(line[x]);
        uchar* row = out + qsizetype(y) * r;
        for (int i = 0; i < r; ++i) {
            quint64 eight;
            std::memcpy(&eight, d + size_t(i) * 8, 8);
            row[i] = uchar((qFromLittleEndian(eight) * 0x8040201008040201ULL) >> 56);
        }
    }
}

void appendLe16(QByteArray& b, int v) {
    b.append(char(v & 0xff));
    b.append(char((v >> 8) & 0xff));
}

} // namespace

QByteArray& WSEncoder::buffer() {
    return data_;
}

QByteArray WSEncoder::toAsciiLossy(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() <= 0x7f) {
            out.append(char(c.unicode()));
            continue;
        }
        // One replacement per character the officer sees, not per UTF-16 half.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        out.append('?');
    }
    return out;
}

void WSEncoder::addString(const QString& text, int encoding) {
    if (encoding == kEncodingLatin1) {
        QByteArray bytes;
        for (QChar c : text)
            bytes.append(c.unicode() <= 0xff ? char(c.unicode()) : '?');
        buffer().append(bytes);
        return;
    }
    buffer().append(toAsciiLossy(text));
}

void WSEncoder::createBarcode(const QString& data, int barcodeType) {
    QByteArray& b = buffer();
    b.append("\x1d\x6b", 2);
    b.append(char(barcodeType & 0xff));
    b.append(char(data.size() & 0xff));
    // Data the printer cannot carry is left out rather than sent garbled; the header still stands.
    if (barcodeType == kBarcodeCode128) {
        if (isLatin1(data))
            b.append(data.toLatin1());
    } else if (isAscii(data)) {
        b.append(data.toLatin1());
    }
}

void WSEncoder::setBarcodeWidth(int width) {
    if (width < 1 || width > 8)
        return;
    buffer().append("\x1d\x77", 2).append(char(width));
}

void WSEncoder::setBarcodeHeight(int height) {
    if (height < 1 || height > 255)
        return;
    buffer().append("\x1d\x68", 2).append(char(height));
}

void WSEncoder::enableHRI(bool enable) {
    buffer().append("\x1d\x48", 2).append(char(enable ? 1 : 0));
}

void WSEncoder::setHRIPosition(int position) {
    if (position < kHriNone || position > kHriBoth)
        return;
    buffer().append("\x1d\x48", 2).append(char(position));
}

void WSEncoder::make2DBarcode(const QString& data, int barcodeType, int a1, int a2, int a3) {
    QByteArray& b = buffer();
    b.append("\x1d\x5a", 2).append(char(barcodeType & 0xff));
    b.append("\x1b\x5a", 2);
    b.append(char(a1 & 0xff)).append(char(a2 & 0xff)).append(char(a3 & 0xff));
    appendLe16(b, int(data.size()));
    if (isAscii(data))
        b.append(data.toLatin1());
}

void WSEncoder::createBarcodePDF417(const QString& data, int column, int securityLevel, int hvRatio) {
    make2DBarcode(data, 0, column, securityLevel, hvRatio);
}

void WSEncoder::createBarcodeDataMatrix(const QString& data, int symbolHeight, int symbolWidth,
                                        int moduleSize) {
    make2DBarcode(data, 1, symbolHeight, symbolWidth, moduleSize);
}

void WSEncoder::createBarcodeQRCode(const QString& data, int symbolVersion, int ecLevel, int moduleSize) {
    make2DBarcode(data, 2, symbolVersion, ecLevel, moduleSize);
}

void WSEncoder::createBarcodeMicroPDF417(const QString& data, int column, int row, int hvRatio) {
    make2DBarcode(data, 3, column, row, hvRatio);
}

void WSEncoder::createBarcodeTruncPDF417(const QString& data, int column, int securityLevel, int hvRatio) {
    make2DBarcode(data, 4, column, securityLevel, hvRatio);
}

void WSEncoder::createBarcodeMaxicode(const QString& data, int mode) {
    make2DBarcode(data, 5, mode, 0, 0);
}

void WSEncoder::createGS1Databar(const QString& data, int type, int rowSegment) {
    QByteArray& b = buffer();
    b.append("\x1d\x31", 2).append(char(type & 0xff)).append(char(rowSegment & 0xff));
    // As for every other symbol: data the printer cannot carry is left out, never sent with stand-ins that
    // would encode a different number.
    if (isAscii(data))
        b.append(data.toLatin1());
}

QByteArray WSEncoder::rasterize(const QImage& image, int* bytesPerRow, QString* error) {
    const int w = image.width();
    const int h = image.height();
    auto fail = [&](const char* message) {
        if (error)
            *error = QString::fromLatin1(message);
        return QByteArray();
    };
    if (image.isNull() || w < 1 || h < 1)
        return fail("ERROR: bitmap context is not created");
    // The row size travels in one byte: a wider image would be sent garbled, so it is refused.
    if ((w + 7) / 8 > 255)
        return fail("ERROR: bitmap context is not created");

    // Drawn over a zeroed (transparent black) canvas so transparency reads as white paper. Source-over
    // onto transparent black is the premultiplied image itself: an image in a premultiplied or opaque
    // 32-bit form is read as it is, one with straight alpha (ARGB32, RGBA8888) premultiplied dot by dot
    // in the same loop, with the same rounding as the conversion, and any other form converted.
    // Red and blue only ever meet in their sum, so the byte orders of ARGB and RGBA read alike.
    const QImage::Format format = image.format();
    const bool littleEndian = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    const bool premultiplied =
        format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_RGB32 ||
        (littleEndian &&
         (format == QImage::Format_RGBA8888_Premultiplied || format == QImage::Format_RGBX8888));
    const bool straight =
        format == QImage::Format_ARGB32 || (littleEndian && format == QImage::Format_RGBA8888);
    const QImage canvas =
        premultiplied || straight ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull())
        return fail("ERROR: memory allocation for bitmap is failed");

    const int r = (w + 7) / 8;
    QByteArray bits(qsizetype(r) * h, '\0');
    uchar* out = reinterpret_cast<uchar*>(bits.data());
    if (straight)
        rasterRows<true>(canvas, out, r);
    else
        rasterRows<false>(canvas, out, r);
    if (bytesPerRow)
        *bytesPerRow = r;
    return bits;
}

void WSEncoder::createPrintableDataFromImage(const QImage& image, int coordinateX, int coordinateY, int width,
                                             int height) {
    int r = 0;
    QString error;
    const QByteArray bits = rasterize(image, &r, &error);
    if (bits.isEmpty()) {
        log_->write(error);
        return;
    }
    const int w = image.width();
    const int h = image.height();
    QByteArray& b = buffer();
    b.append("\x1b\x57", 2);
    appendLe16(b, coordinateX);
    appendLe16(b, coordinateY);
    appendLe16(b, width < 1 ? w : width);
    appendLe16(b, height < 1 ? h : height);

    const int fullBands = h / kBandRows;
    const qsizetype bandBytes = qsizetype(r) * kBandRows;
    for (int band = 0; band < fullBands; ++band) {
        b.append("\x1b\x58\x34", 3).append(char(r)).append(char(0xff));
        b.append(bits.constData() + band * bandBytes, bandBytes);
        b.append("\x1b\x4f", 2);
        appendLe16(b, coordinateX);
        appendLe16(b, kBandRows * (band + 1));
    }
    const int rest = h % kBandRows;
    if (rest != 0) {
        b.append("\x1b\x58\x34", 3).append(char(r)).append(char(rest));
        b.append(bits.constData() + fullBands * bandBytes, qsizetype(r) * rest);
    }
}

#include "printing/WSEncoder.h"

#include "platform/Log.h"

#include <QSysInfo>
#include <QtEndian>

#include <array>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// The vector path's sixteen decisions come out with dot i in bit i; the printer wants the leftmost dot in
// the most significant bit.
constexpr std::array<uchar, 256> kLeftmostHigh = [] {
    std::array<uchar, 256> t{};
    for (int i = 0; i < 256; ++i)
        for (int k = 0; k < 8; ++k)
            if (i & (1 << k))
                t[size_t(i)] |= uchar(0x80 >> k);
    return t;
}();

inline __m128i load4(const quint32* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Four premultiplied or opaque dots as all-ones (black) or 0 in 32-bit lanes. With x = 256 * (red + green +
// blue) + alpha, nothing drawn is x = 0, so a dot is black when 1 <= x < 256 * 702: one unsigned comparison
// of x - 1, made signed by moving both sides down by 2^31.
inline __m128i darkOpaque4(__m128i v) {
    const __m128i blueRed = _mm_and_si128(v, _mm_set1_epi32(0x00ff00ff));
    const __m128i greenAlpha = _mm_srli_epi16(v, 8);
    const __m128i x = _mm_add_epi32(_mm_madd_epi16(blueRed, _mm_set1_epi16(256)),
                                    _mm_madd_epi16(greenAlpha, _mm_set1_epi32(0x00010100)));
    return _mm_cmplt_epi32(_mm_add_epi32(x, _mm_set1_epi32(0x7fffffff)),
                           _mm_set1_epi32(qint32(0x80000000u + 256 * WSEncoder::kBlackThreshold - 1)));
}

// Eight premultiplied or opaque dots as 0xffff (black) or 0 in 16-bit lanes.
inline __m128i darkOpaque8(__m128i v0, __m128i v1) {
    return _mm_packs_epi32(darkOpaque4(v0), darkOpaque4(v1));
}

// A channel times alpha, divided by 255 as the conversion rounds it, (t + t / 256 + 128) / 256 of t =
// channel * alpha: the high half of (channel * 256) * (alpha * 257) is t + t / 256 exactly.
inline __m128i premultiply(__m128i channelHigh, __m128i alpha257) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_mulhi_epu16(channelHigh, alpha257), _mm_set1_epi16(0x80)), 8);
}

// Eight straight-alpha dots, each premultiplied exactly: the low and the high half of each dot (sign-extended
// so the saturating pack keeps them whole) gathered into 16-bit lanes, then a channel at a time. Alpha * 257
// is the alpha byte twice.
inline __m128i darkStraightExact8(__m128i v0, __m128i v1, __m128i alpha257) {
    const __m128i low = _mm_packs_epi32(_mm_srai_epi32(_mm_slli_epi32(v0, 16), 16),
                                        _mm_srai_epi32(_mm_slli_epi32(v1, 16), 16));
    const __m128i high = _mm_packs_epi32(_mm_srai_epi32(v0, 16), _mm_srai_epi32(v1, 16));
    const __m128i sums = _mm_add_epi16(
        _mm_add_epi16(premultiply(_mm_slli_epi16(low, 8), alpha257),
                      premultiply(_mm_and_si128(low, _mm_set1_epi16(qint16(0xff00))), alpha257)),
        premultiply(_mm_slli_epi16(high, 8), alpha257));
    return _mm_cmplt_epi16(sums, _mm_set1_epi16(WSEncoder::kBlackThreshold));
}

// Red + green + blue + 4 * alpha of four dots. Premultiplying by 255 leaves a channel as it is, and by
// alpha 233 or less leaves at most 3 * 233 < 702 however light the dot: so where no alpha lies in 234..254
// a dot is black exactly when this sum is below 702 + 4 * 255 (and alpha is not 0).
inline __m128i channelSumsWithAlpha(__m128i v) {
    const __m128i blueRed = _mm_and_si128(v, _mm_set1_epi32(0x00ff00ff));
    const __m128i greenAlpha = _mm_srli_epi16(v, 8);
    return _mm_add_epi32(_mm_madd_epi16(blueRed, _mm_set1_epi16(1)),
                         _mm_madd_epi16(greenAlpha, _mm_set1_epi32(0x00040001)));
}

// Sixteen straight-alpha dots as 0xff (black) or 0 bytes; alpha 0 is white. Premultiplying is only needed,
// dot by dot, for a group with an alpha in 234..254 (the soft edge of a drawing); elsewhere the sum above
// decides.
inline __m128i darkStraight16(__m128i v0, __m128i v1, __m128i v2, __m128i v3) {
    const __m128i alpha = _mm_packus_epi16(_mm_packs_epi32(_mm_srli_epi32(v0, 24), _mm_srli_epi32(v1, 24)),
                                           _mm_packs_epi32(_mm_srli_epi32(v2, 24), _mm_srli_epi32(v3, 24)));
    const __m128i clear = _mm_cmpeq_epi8(alpha, _mm_setzero_si128());
    const __m128i opaque = _mm_cmpeq_epi8(alpha, _mm_set1_epi8(char(0xff)));
    const __m128i nearlyOpaque =
        _mm_cmpeq_epi8(_mm_adds_epu8(alpha, _mm_set1_epi8(21)), _mm_set1_epi8(char(0xff)));
    if (_mm_movemask_epi8(_mm_xor_si128(opaque, nearlyOpaque)) != 0)
        return _mm_andnot_si128(clear,
                                _mm_packs_epi16(darkStraightExact8(v0, v1, _mm_unpacklo_epi8(alpha, alpha)),
                                                darkStraightExact8(v2, v3, _mm_unpackhi_epi8(alpha, alpha))));
    const __m128i limit = _mm_set1_epi16(WSEncoder::kBlackThreshold + 4 * 255);
    const __m128i dark = _mm_packs_epi16(
        _mm_cmplt_epi16(_mm_packs_epi32(channelSumsWithAlpha(v0), channelSumsWithAlpha(v1)), limit),
        _mm_cmplt_epi16(_mm_packs_epi32(channelSumsWithAlpha(v2), channelSumsWithAlpha(v3)), limit));
    return _mm_andnot_si128(clear, dark);
}

// Sixteen dots a step: decisions packed to bytes, their top bits gathered, the two bytes reversed into
// the printer's order; the dots after the last whole step one by one into the (zeroed) row.
template <bool Straight> void rasterRowsSse2(const QImage& canvas, uchar* out, int r) {
    const int w = canvas.width();
    const int whole = w & ~15;
    for (int y = 0; y < canvas.height(); ++y) {
        const quint32* line = reinterpret_cast<const quint32*>(canvas.constScanLine(y));
        uchar* row = out + qsizetype(y) * r;
        for (int x = 0; x < whole; x += 16) {
            const __m128i v0 = load4(line + x), v1 = load4(line + x + 4);
            const __m128i v2 = load4(line + x + 8), v3 = load4(line + x + 12);
            const __m128i decisions = Straight ? darkStraight16(v0, v1, v2, v3)
                                               : _mm_packs_epi16(darkOpaque8(v0, v1), darkOpaque8(v2, v3));
            const unsigned bits = unsigned(_mm_movemask_epi8(decisions));
            row[x / 8] = kLeftmostHigh[bits & 0xff];
            row[x / 8 + 1] = kLeftmostHigh[bits >> 8];
        }
        for (int x = whole; x < w; ++x)
            row[x / 8] |= uchar(dark<Straight>(line[x]) << (7 - x % 8));
    }
}
#endif

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
#if defined(__SSE2__)
    return rasterizeWith(image, true, bytesPerRow, error);
#else
    return rasterizeWith(image, false, bytesPerRow, error);
#endif
}

QByteArray WSEncoder::rasterizePortable(const QImage& image) {
    return rasterizeWith(image, false, nullptr, nullptr);
}

QByteArray WSEncoder::rasterizeWith(const QImage& image, bool vector, int* bytesPerRow, QString* error) {
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
    // 32-bit form is read as it is, one with straight alpha (ARGB32, RGBA8888) read in place and decided as
    // if premultiplied with the conversion's own rounding, and any other form converted.
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
    void (*rows)(const QImage&, uchar*, int) = straight ? rasterRows<true> : rasterRows<false>;
#if defined(__SSE2__)
    if (vector)
        rows = straight ? rasterRowsSse2<true> : rasterRowsSse2<false>;
#else
    Q_UNUSED(vector);
#endif
    rows(canvas, out, r);
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

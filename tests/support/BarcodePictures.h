#pragma once

// Pictures of barcodes as a licence or a tax bill carries them, made here so the tests, the walkthrough
// and the benchmarks need no files: a QR code (libqrencode) and a Code 128 (set B, drawn bar by bar).
#include <QImage>
#include <QPainter>
#include <QString>

#include <qrencode.h>

#include <cstring>

namespace barcodepictures {

// A QR code of the text, each module `scale` pixels, with a four-module quiet zone.
inline QImage qrCode(const QString& text, int scale = 6) {
    const QByteArray data = text.toUtf8();
    QRcode* qr = QRcode_encodeData(int(data.size()), reinterpret_cast<const unsigned char*>(data.constData()),
                                   0, QR_ECLEVEL_M);
    if (!qr)
        return {};
    const int side = (qr->width + 8) * scale;
    QImage image(side, side, QImage::Format_Grayscale8);
    image.fill(255);
    for (int y = 0; y < qr->width; ++y)
        for (int x = 0; x < qr->width; ++x)
            if (qr->data[y * qr->width + x] & 1)
                for (int dy = 0; dy < scale; ++dy)
                    memset(image.scanLine((y + 4) * scale + dy) + (x + 4) * scale, 0, size_t(scale));
    QRcode_free(qr);
    return image;
}

// A Code 128 of printable ASCII text (set B), each module `module` pixels wide, `height` tall, on a
// white picture with quiet zones, as printed on a bill.
inline QImage code128(const QString& text, int module = 3, int height = 120) {
    // The bar and space widths of its 107 patterns (values 0 to 102, the three starts, and the stop).
    static const char* const patterns[] = {
        "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
        "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
        "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
        "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
        "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
        "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
        "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
        "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
        "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
        "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
        "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};
    QList<int> values{104};
    int checksum = 104;
    for (int i = 0; i < text.size(); ++i) {
        const int v = text.at(i).unicode() - 32;
        if (v < 0 || v > 94)
            return {};
        values << v;
        checksum += v * (i + 1);
    }
    values << checksum % 103 << 106;
    int modules = 0;
    for (int v : values)
        for (const char* w = patterns[v]; *w; ++w)
            modules += *w - '0';
    const int quiet = 12;
    QImage image((modules + 2 * quiet) * module, height + 40, QImage::Format_Grayscale8);
    image.fill(255);
    QPainter painter(&image);
    int x = quiet * module;
    for (int v : values) {
        bool bar = true;
        for (const char* w = patterns[v]; *w; ++w) {
            const int width = (*w - '0') * module;
            if (bar)
                painter.fillRect(x, 20, width, height, Qt::black);
            x += width;
            bar = !bar;
        }
    }
    return image;
}

// A picture the size of a camera frame (1280 x 720), grey, with the barcode pasted in the middle when given.
inline QImage cameraFrame(const QImage& barcode = {}) {
    QImage frame(1280, 720, QImage::Format_Grayscale8);
    // A plain, slightly uneven desk: no barcode to find in it.
    for (int y = 0; y < frame.height(); ++y) {
        uchar* line = frame.scanLine(y);
        for (int x = 0; x < frame.width(); ++x)
            line[x] = uchar(150 + ((x * 7 + y * 13) % 23));
    }
    if (!barcode.isNull()) {
        QPainter painter(&frame);
        painter.drawImage((frame.width() - barcode.width()) / 2, (frame.height() - barcode.height()) / 2,
                          barcode);
    }
    return frame;
}

} // namespace barcodepictures

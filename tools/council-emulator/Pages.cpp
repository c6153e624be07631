#include "Pages.h"

#include <QBuffer>
#include <QImage>

#include <cstdint>

namespace EmulatorPages {
namespace {

bool known(const std::string& account) {
    if (account.empty() || account.size() > 30)
        return false;
    for (char c : account)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-'))
            return false;
    return true;
}

// Stable per account: the same account always shows the same details.
uint32_t hashOf(const std::string& text) {
    uint32_t h = 2166136261u;
    for (unsigned char c : text)
        h = (h ^ c) * 16777619u;
    return h;
}

template <size_t N> const char* pick(const char* const (&options)[N], uint32_t h) {
    return options[h % N];
}

std::string row(const std::string& name, const std::string& value) {
    return "<tr><th align=\"left\">" + name + "</th><td>" + value + "</td></tr>";
}

std::string document(const std::string& heading, const std::string& rows) {
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + heading +
           "</title></head><body><h2>Majlis Perbandaran Telukmerbau</h2><h3>" + heading +
           "</h3><table border=\"1\" cellpadding=\"4\" cellspacing=\"0\" width=\"100%\">" + rows +
           "</table><p>Maklumat ini dijana oleh sistem. Sila hubungi kaunter majlis untuk pertanyaan.</p>"
           "</body></html>";
}

const char* const streets[] = {"Jalan Meranti 3", "Jalan Telukmerbau-Banting", "Jalan Bunga Raya",
                               "Lorong Pasar 2", "Jalan Sultan Abdul Samad"};
const char* const businesses[] = {"Kedai Runcit Ah Kow", "Restoran Selera Kampung", "Bengkel Motor Jaya",
                                  "Kedai Gunting Rambut Murni", "Syarikat Niaga Cahaya"};
const char* const licenceKinds[] = {"Lesen Premis Perniagaan", "Lesen Penjaja", "Lesen Iklan",
                                    "Lesen Premis Makanan"};
const char* const owners[] = {"Tan Ah Kow", "Siti Aminah binti Yusof", "Muthu a/l Rajan", "Lim Mei Ling",
                              "Ahmad Fauzi bin Ismail"};

} // namespace

std::optional<std::string> licencePage(const std::string& account) {
    if (!known(account))
        return std::nullopt;
    const uint32_t h = hashOf(account);
    const bool paid = h % 5 != 0;
    return document("Maklumat Lesen " + account,
                    row("No. Lesen", account) + row("Nama Perniagaan", pick(businesses, h)) +
                        row("Alamat", std::to_string(1 + h % 80) + ", " + pick(streets, h >> 3)) +
                        row("Jenis Lesen", pick(licenceKinds, h >> 6)) +
                        row("Tarikh Tamat", "31/12/" + std::to_string(2024 + h % 3)) +
                        row("Status", paid ? "AKTIF" : "TAMAT TEMPOH"));
}

std::optional<std::string> taxPage(const std::string& account) {
    if (!known(account))
        return std::nullopt;
    const uint32_t h = hashOf(account);
    const unsigned half = 80 + h % 900;
    const unsigned arrears = h % 3 == 0 ? half : 0;
    return document("Maklumat Cukai Taksiran " + account,
                    row("No. Akaun", account) + row("Pemilik", pick(owners, h)) +
                        row("Alamat Harta", std::to_string(1 + h % 120) + ", " + pick(streets, h >> 4)) +
                        row("Cukai Setengah Tahun", "RM " + std::to_string(half) + ".00") +
                        row("Tunggakan", "RM " + std::to_string(arrears) + ".00") +
                        row("Status", arrears ? "BELUM BAYAR" : "TIADA TUNGGAKAN"));
}

std::optional<std::string> tilePng(int zoom, int x, int y) {
    if (zoom < 0 || zoom > 22 || x < 0 || y < 0 || x >= (1 << zoom) || y >= (1 << zoom))
        return std::nullopt;
    // Drawn pixel by pixel: no painter, so no fonts or display are needed in the emulator.
    QImage tile(256, 256, QImage::Format_RGB32);
    const uint32_t h = uint32_t(zoom) * 73856093u ^ uint32_t(x) * 19349663u ^ uint32_t(y) * 83492791u;
    const QRgb ground = qRgb(236 - int(h % 12), 232, 220 + int(h % 10));
    const QRgb block = qRgb(220, 214, 200);
    const QRgb park = qRgb(200, 230, 190);
    const QRgb road = qRgb(255, 255, 255);
    const QRgb edge = qRgb(200, 200, 205);
    const int step = 64;
    for (int py = 0; py < 256; ++py) {
        QRgb* line = reinterpret_cast<QRgb*>(tile.scanLine(py));
        for (int px = 0; px < 256; ++px) {
            const int cx = px % step, cy = py % step;
            const bool onRoad = cx < 8 || cy < 8;
            const bool roadEdge = cx == 8 || cy == 8;
            const uint32_t cell = h ^ uint32_t(px / step) * 2654435761u ^ uint32_t(py / step) * 40503u;
            QRgb colour = ground;
            if (onRoad)
                colour = road;
            else if (roadEdge)
                colour = edge;
            else if (cx > 14 && cx < 58 && cy > 14 && cy < 58)
                colour = cell % 7 == 0 ? park : block;
            line[px] = colour;
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!tile.save(&buffer, "PNG"))
        return std::nullopt;
    return bytes.toStdString();
}

} // namespace EmulatorPages

#pragma once

#include "core/Record.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

class Log;

// The printed notices as the byte blocks sent to the printer, one block per write, in order. The same
// record, header and base address always give the same bytes; the header's raster is the one thing kept
// between calls (made once per picture and width, under a lock), so the notices may be laid out on any
// thread.
namespace NoticeLayout {

// The print area of the header bitmap, in dots.
constexpr int kHeaderWidth = 800;
constexpr int kHeaderHeight = 200;
constexpr int kSampleHeaderWidth = 384;

// The compound look-up address printed as the QR code: the web service's base, "/v2/wsc/mk/" and the number.
QString lookupAddress(const QString& baseUrl, const QString& compoundNumber);

// The general notice: page-mode header, then the title, offender, vehicle, offence, amount and closing
// blocks. Empty when the header cannot be converted: then nothing at all is printed.
QList<QByteArray> generalNotice(const RecordMap& record, const QImage& header, const QString& baseUrl,
                                Log* log = nullptr);
// The traffic notice: the page-mode header and one block for the whole notice. Empty as above.
QList<QByteArray> trafficNotice(const RecordMap& record, const QImage& header, Log* log = nullptr);
// The printer check page of the printer screen: header, sample text, a QR code and a Code 39 barcode.
QList<QByteArray> samplePage(const QImage& header, const QString& sampleAddress, Log* log = nullptr);

} // namespace NoticeLayout

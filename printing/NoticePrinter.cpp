#include "printing/NoticePrinter.h"

#include "printing/NoticeLayout.h"
#include "printing/WSSessionController.h"

NoticePrinter::NoticePrinter(QString headerPath, QString baseUrl, Log* log)
    : headerPath_(std::move(headerPath)), baseUrl_(std::move(baseUrl)), log_(log) {
    if (baseUrl_.isEmpty())
        baseUrl_ = defaultBaseUrl();
}

QString NoticePrinter::defaultBaseUrl() {
    return QStringLiteral(KOMPAUN_PRINTING_BASE_URL);
}

// Read on every print, so a replaced header file is picked up without a restart.
QImage NoticePrinter::header() const {
    return headerPath_.isEmpty() ? QImage() : QImage(headerPath_);
}

namespace {
void writeAll(WSSessionController* session, const QList<QByteArray>& blocks) {
    if (!session)
        return;
    for (const QByteArray& block : blocks)
        session->writeData(block);
}
RecordMap valuesOf(const Record& record) {
    return record ? *record : RecordMap();
}
} // namespace

void NoticePrinter::cetakSamanBaruNewSDK(WSSessionController* session, const Record& record) const {
    writeAll(session, NoticeLayout::generalNotice(valuesOf(record), header(), baseUrl_, log_));
}

void NoticePrinter::cetakSamanTrafficNewSdk(WSSessionController* session, const Record& record) const {
    writeAll(session, NoticeLayout::trafficNotice(valuesOf(record), header(), log_));
}

void NoticePrinter::cetakSaman(WSSessionController* session, const Record& record, bool traffic) const {
    if (traffic)
        cetakSamanTrafficNewSdk(session, record);
    else
        cetakSamanBaruNewSDK(session, record);
}

void NoticePrinter::printSampleNewSDK(WSSessionController* session) const {
    writeAll(session, NoticeLayout::samplePage(header(), baseUrl_, log_));
}

QByteArray NoticePrinter::noticeBytes(const Record& record, bool traffic) const {
    const QList<QByteArray> blocks =
        traffic ? NoticeLayout::trafficNotice(valuesOf(record), header(), log_)
                : NoticeLayout::generalNotice(valuesOf(record), header(), baseUrl_, log_);
    QByteArray all;
    for (const QByteArray& b : blocks)
        all += b;
    return all;
}

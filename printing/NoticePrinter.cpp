#include "printing/NoticePrinter.h"

#include "printing/NoticeLayout.h"
#include "printing/WSSessionController.h"

#include <QFileInfo>
#include <QMutexLocker>

NoticePrinter::NoticePrinter(QString headerPath, QString baseUrl, Log* log)
    : headerPath_(std::move(headerPath)), baseUrl_(std::move(baseUrl)), log_(log) {
    if (baseUrl_.isEmpty())
        baseUrl_ = defaultBaseUrl();
}

QString NoticePrinter::defaultBaseUrl() {
    return QStringLiteral(KOMPAUN_PRINTING_BASE_URL);
}

// Decoded again only when the file has changed, so a replaced header file is still picked up without a
// restart while a notice costs no reading and decoding of it.
QImage NoticePrinter::header() const {
    if (headerPath_.isEmpty())
        return QImage();
    const QFileInfo file(headerPath_);
    const QDateTime modified = file.lastModified();
    const qint64 size = file.size();
    QMutexLocker locker(&headerLock_);
    if (!file.exists() || modified != headerModified_ || size != headerSize_ || headerImage_.isNull()) {
        headerImage_ = QImage(headerPath_);
        headerModified_ = modified;
        headerSize_ = size;
    }
    return headerImage_;
}

namespace {
void writeAll(WSSessionController* session, const QList<QByteArray>& blocks) {
    if (!session)
        return;
    for (const QByteArray& block : blocks)
        session->writeData(block);
}
int writeNotice(WSSessionController* session, const QList<QByteArray>& blocks) {
    if (!session)
        return 0;
    writeAll(session, blocks);
    return session->markNotice();
}
RecordMap valuesOf(const Record& record) {
    return record ? *record : RecordMap();
}
} // namespace

int NoticePrinter::cetakSamanBaruNewSDK(WSSessionController* session, const Record& record) const {
    return writeNotice(session, NoticeLayout::generalNotice(valuesOf(record), header(), baseUrl_, log_));
}

int NoticePrinter::cetakSamanTrafficNewSdk(WSSessionController* session, const Record& record) const {
    return writeNotice(session, NoticeLayout::trafficNotice(valuesOf(record), header(), log_));
}

int NoticePrinter::cetakSaman(WSSessionController* session, const Record& record, bool traffic) const {
    return traffic ? cetakSamanTrafficNewSdk(session, record) : cetakSamanBaruNewSDK(session, record);
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

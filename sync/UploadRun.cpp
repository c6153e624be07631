#include "sync/UploadRun.h"

#include "core/SavedCompoundStore.h"
#include "platform/Alerts.h"
#include "platform/Http.h"
#include "platform/Log.h"
#include "platform/Progress.h"
#include "sync/UploadFlag.h"

#include <QJsonDocument>
#include <QThread>

#include <algorithm>

UploadRun::UploadRun(SyncServices services, QObject* parent) : QObject(parent), s_(std::move(services)) {}

UploadRun::~UploadRun() {
    if (worker_)
        worker_->wait();
}

void UploadRun::log(const QString& line) {
    s_.platform.log->write(line);
}

void UploadRun::muatNaik() {
    if (worker_)
        return;
    s_.platform.progress->show(QStringLiteral("Di muat naik"));
    s_.platform.progress->setDetail(QStringLiteral("0/%1").arg(s_.saveStore->getDicetakUploadCountNumber()));
    worker_ = QThread::create([this] { muatNaikExe(); });
    connect(worker_, &QThread::finished, this, [this] {
        s_.platform.progress->hide();
        worker_->deleteLater();
        worker_ = nullptr;
    });
    worker_->start();
}

void UploadRun::setDetail(int attempted, const SavedCompoundList& entries) {
    // Counted from the list just written rather than by reading the store (photographs and all) again.
    const auto waiting = std::count_if(entries.cbegin(), entries.cend(),
                                       [](const SavedCompound& e) { return e.flagValue() == 0; });
    s_.platform.progress->setDetail(
        QStringLiteral("%1/%2").arg(attempted).arg(attempted + qsizetype(waiting)));
}

bool UploadRun::sendCompound(const RecordMap& record) {
    HttpRequest request = CouncilWire::compoundRequest(s_.endpoints, record);
    request.timeoutMs = s_.timeoutMs;
    log(QStringLiteral("muatNaik kompaun : %1").arg(QString::fromUtf8(request.body)));
    const HttpResponse response = s_.http->sendBlocking(request);
    const auto reply = response.succeeded() ? CouncilWire::firstObject(response.body) : std::nullopt;
    log(QStringLiteral("muatNaik kompaun reply : %1 %2")
            .arg(response.status)
            .arg(reply ? QString::fromUtf8(QJsonDocument(*reply).toJson(QJsonDocument::Compact))
                       : response.errorText + QStringLiteral(" ") +
                             QString::fromUtf8(response.body.left(200))));
    // Only a "retval" of exactly 1 means the council kept the compound.
    return reply && CouncilWire::integerValue(reply->value(QStringLiteral("retval"))) == 1;
}

bool UploadRun::sendPhoto(const QString& compoundNumber, int position, const QString& base64) {
    QByteArray jpeg = QByteArray::fromBase64(base64.toLatin1());
    HttpRequest request = CouncilWire::photoRequest(s_.endpoints, compoundNumber, position, jpeg);
    jpeg.clear();
    request.timeoutMs = s_.timeoutMs;
    const HttpResponse response = s_.http->sendBlocking(std::move(request));
    const auto reply = response.succeeded() ? CouncilWire::firstObject(response.body) : std::nullopt;
    log(QStringLiteral("muatNaik gambar %1/%2 reply : %3 %4")
            .arg(compoundNumber)
            .arg(position)
            .arg(response.status)
            .arg(reply ? QString::fromUtf8(QJsonDocument(*reply).toJson(QJsonDocument::Compact))
                       : response.errorText));
    // A photograph is rejected only by a "retval" reading as 0, which no reply at all also gives.
    return reply && CouncilWire::integerValue(reply->value(QStringLiteral("retval"))) != 0;
}

void UploadRun::muatNaikExe() {
    SavedCompoundStore& store = *s_.saveStore;
    if (!store.purgeUploaded())
        log(QStringLiteral("muatNaik: the purge of uploaded compounds could not be written"));
    // An unreadable store is left alone: writing back what we could read would lose it.
    std::optional<SavedCompoundList> read = store.getSaveArray();
    SavedCompoundList entries = read.value_or(SavedCompoundList{});
    if (!read)
        log(QStringLiteral("muatNaik: the store could not be read; nothing is sent"));

    int attempted = 0;
    int successes = 0;
    int failures = 0;
    for (SavedCompound& entry : entries) {
        if (entry.flagValue() != 0)
            continue;
        UploadFlag flag = UploadFlag::parse(entry.uploadFlag);
        const RecordMap record = entry.record ? *entry.record : RecordMap{};
        bool success = true;
        if (!flag.compoundAccepted) {
            const bool accepted = sendCompound(record);
            ++attempted;
            if (!accepted) {
                ++failures;
                setDetail(attempted, entries);
                continue;
            }
            flag.compoundAccepted = true;
        } else {
            ++attempted; // only photographs are left of this one
        }

        const QString number = record.value(QStringLiteral("kompaunRunningNumber"));
        for (qsizetype n = 0; n < entry.photos.size(); ++n) {
            const int position = int(n) + 1;
            if (flag.acceptedPhotos.contains(position))
                continue;
            if (!sendPhoto(number, position, entry.photos.at(n).full)) {
                success = false;
                break; // the rest wait for the next run with this one
            }
            flag.acceptedPhotos.insert(position);
        }
        flag.uploaded = success;
        entry.uploadFlag = flag.text();
        success ? ++successes : ++failures;
        if (!store.saveArrayFile(entries))
            log(QStringLiteral("muatNaik: the store could not be written; %1 will be sent again")
                    .arg(number));
        setDetail(attempted, entries);
    }

    const QStringList counts{QString::number(successes), QString::number(failures)};
    if (QThread::currentThread() == thread())
        kejayaanNotifikasi(counts);
    else
        QMetaObject::invokeMethod(
            this, [this, counts] { kejayaanNotifikasi(counts); }, Qt::BlockingQueuedConnection);
}

void UploadRun::kejayaanNotifikasi(const QStringList& counts) {
    const int s = counts.value(0).toInt();
    const int f = counts.value(1).toInt();
    s_.platform.alerts->show(Alert{QStringLiteral("Notifikasi"),
                                   QStringLiteral("Berjaya : %1 , Gagal : %2, Jumlah : %3")
                                       .arg(counts.value(0), counts.value(1))
                                       .arg(s + f),
                                   {QStringLiteral("OK")},
                                   0,
                                   {}});
    if (relo_)
        relo_();
    Q_EMIT finished(s, f);
}

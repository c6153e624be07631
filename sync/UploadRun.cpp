#include "sync/UploadRun.h"

#include "core/RecordKeys.h"
#include "core/SavedCompoundStore.h"
#include "platform/Alerts.h"
#include "platform/Files.h"
#include "platform/Http.h"
#include "platform/Log.h"
#include "platform/Progress.h"
#include "sync/PhotoFailures.h"
#include "sync/UploadFlag.h"

#include <QJsonDocument>
#include <QSet>
#include <QThread>

#include <algorithm>

UploadRun::UploadRun(SyncServices services, QObject* parent) : QObject(parent), s_(std::move(services)) {}

UploadRun::~UploadRun() {
    if (!worker_)
        return;
    // The worker notices between two requests, and gives up the one in flight (a photograph may be
    // allowed minutes): what the council did not answer stays waiting.
    stopping_ = true;
    worker_->wait();
    delete worker_;
}

void UploadRun::log(const QString& line) {
    s_.platform.log->write(line);
}

void UploadRun::muatNaik() {
    if (worker_)
        return;
    s_.platform.progress->show(QStringLiteral("Di muat naik"));
    s_.platform.progress->setDetail(QStringLiteral("0/%1").arg(s_.saveStore.getDicetakUploadCountNumber()));
    worker_ = QThread::create([this] { muatNaikExe(); });
    connect(worker_, &QThread::finished, this, [this] {
        s_.platform.progress->hide();
        worker_->deleteLater();
        worker_ = nullptr;
    });
    worker_->start();
}

void UploadRun::setDetail(int attempted) {
    s_.platform.progress->setDetail(
        QStringLiteral("%1/%2").arg(attempted).arg(attempted + s_.saveStore.getDicetakUploadCountNumber()));
}

bool UploadRun::sendCompound(const RecordMap& record) {
    HttpRequest request = CouncilWire::compoundRequest(s_.endpoints, record);
    request.timeoutMs = s_.timeoutMs;
    request.abandon = &stopping_;
    log(QStringLiteral("muatNaik kompaun : %1").arg(QString::fromUtf8(request.body)));
    const HttpResponse response = s_.http.sendBlocking(request);
    const auto reply = response.succeeded() ? CouncilWire::firstObject(response.body) : std::nullopt;
    log(QStringLiteral("muatNaik kompaun reply : %1 %2")
            .arg(response.status)
            .arg(reply ? QString::fromUtf8(QJsonDocument(*reply).toJson(QJsonDocument::Compact))
                       : response.errorText + QStringLiteral(" ") +
                             QString::fromUtf8(response.body.left(200))));
    // Only a "retval" of exactly 1 means the council kept the compound.
    return reply && CouncilWire::integerValue(reply->value(QStringLiteral("retval"))) == 1;
}

QString UploadRun::sendPhoto(const QString& compoundNumber, int position, QByteArray jpeg,
                             const QString& detail) {
    HttpRequest request = CouncilWire::photoRequest(s_.endpoints, compoundNumber, position, jpeg);
    jpeg.clear();
    request.bound = HttpRequest::Bound::Upload;
    request.timeoutMs = s_.timeoutMs;
    request.abandon = &stopping_;
    Progress* progress = s_.platform.progress;
    progress->setDetail(detail + QStringLiteral(" · 0%"));
    request.onUploadProgress = [progress, detail, shown = qint64(0)](qint64 sent, qint64 total) mutable {
        const qint64 percent = total > 0 ? std::clamp<qint64>(sent * 100 / total, 0, 100) : 0;
        if (percent == shown)
            return;
        shown = percent;
        progress->setDetail(detail + QStringLiteral(" · %1%").arg(percent));
    };
    const HttpResponse response = s_.http.sendBlocking(std::move(request));
    const auto reply = response.succeeded() ? CouncilWire::firstObject(response.body) : std::nullopt;
    log(QStringLiteral("muatNaik gambar %1/%2 reply : %3 %4")
            .arg(compoundNumber)
            .arg(position)
            .arg(response.status)
            .arg(reply ? QString::fromUtf8(QJsonDocument(*reply).toJson(QJsonDocument::Compact))
                       : response.errorText));
    // A photograph is rejected only by a "retval" reading as 0, which no reply at all also gives.
    if (reply && CouncilWire::integerValue(reply->value(QStringLiteral("retval"))) != 0)
        return {};
    switch (response.outcome) {
    case HttpResponse::Outcome::TimedOut:
        return QStringLiteral("tiada jawapan daripada majlis dalam masa yang dibenarkan");
    case HttpResponse::Outcome::ConnectionFailed:
        return QStringLiteral("sambungan ke majlis terputus atau gagal");
    case HttpResponse::Outcome::HttpError:
        return QStringLiteral("majlis menjawab dengan ralat %1").arg(response.status);
    case HttpResponse::Outcome::Success:
        break;
    }
    return reply ? QStringLiteral("ditolak oleh majlis (retval 0)")
                 : QStringLiteral("jawapan majlis tidak dapat dibaca");
}

void UploadRun::muatNaikExe() {
    SavedCompoundStore& store = s_.saveStore;
    const bool purged = store.purgeUploaded();
    if (!purged)
        log(QStringLiteral("muatNaik: the purge of uploaded compounds could not be written"));

    int attempted = 0;
    int successes = 0;
    int failures = 0;
    int unmarked = 0; // accepted by the council, but the mark saying so could not be written
    const QString documents = s_.platform.files->documentsDir();
    PhotoFailures photoFailures(documents.isEmpty()
                                    ? QString()
                                    : documents + QLatin1Char('/') + QLatin1String(PhotoFailures::fileName));
    photoFailures.load();
    QSet<QString> waitingNumbers;
    qint64 after = 0;
    while (!stopping_) {
        const std::optional<WaitingCompound> entry = store.nextWaiting(after);
        if (!entry)
            break;
        after = entry->id;
        UploadFlag flag = UploadFlag::parse(entry->uploadFlag);
        const QString number = entry->record.value(Key::kompaunRunningNumber);
        waitingNumbers.insert(number);
        ++attempted; // also one of which only photographs are left
        bool changed = false;
        // A compound cancelled after the council accepted it goes again, so that the council hears of
        // the cancellation; the council keeps the last it received of a number.
        const bool cancelled = entry->record.value(Key::status_batal) == QLatin1String("1");
        if (flag.compoundToSend(cancelled)) {
            if (!sendCompound(entry->record)) {
                ++failures;
                setDetail(attempted);
                continue;
            }
            flag.compoundAccepted = true;
            flag.cancellationAccepted = cancelled;
            changed = true;
        }

        // The entry still reads as waiting while its photographs go, so it is among those counted.
        const QString place = entry->photoCount > 0 ? QStringLiteral("%1/%2").arg(attempted).arg(
                                                          attempted - 1 + store.getDicetakUploadCountNumber())
                                                    : QString();
        bool success = true;
        for (int position = 0;;) {
            if (stopping_) {
                success = false;
                break;
            }
            std::optional<StoredPhoto> photo = store.nextPhoto(entry->id, position);
            if (!photo)
                break;
            position = photo->position;
            if (flag.acceptedPhotos.contains(position))
                continue;
            QByteArray jpeg = photo->fullJpeg();
            photo.reset();
            const QString failure =
                sendPhoto(number, position, std::move(jpeg),
                          place + QStringLiteral(" · gambar %1/%2").arg(position).arg(entry->photoCount));
            if (!failure.isEmpty()) {
                if (!stopping_) // given up as the application closes: not the photograph's failure
                    photoFailures.failed(number, position, failure);
                success = false;
                break; // the rest wait for the next run with this one
            }
            photoFailures.accepted(number, position);
            flag.acceptedPhotos.insert(position);
            changed = true;
        }
        if (success) {
            flag.uploaded = true;
            changed = true;
        }
        // One synced commit per compound, whatever came of it. A mark lost to a crash or a refused write
        // only has the council hear again what it already holds: it keeps the last compound and the last
        // photograph it received under a number and position.
        const bool marked = !changed || store.setUploadFlag(entry->id, flag.text());
        if (!marked) {
            log(QStringLiteral("muatNaik: the mark of %1 could not be written; it will be sent again")
                    .arg(number));
            ++unmarked;
        } else {
            success ? ++successes : ++failures;
        }
        setDetail(attempted);
    }
    if (!stopping_)
        photoFailures.keepOnly(waitingNumbers); // every waiting compound was seen
    if (!photoFailures.save())
        log(QStringLiteral("muatNaik: the record of failed photographs could not be written"));
    if (stopping_) {
        log(QStringLiteral("muatNaik: stopped as the application closes"));
        return;
    }
    QStringList stuck;
    for (const PhotoFailures::Failure& f : photoFailures.stuck())
        stuck << QStringLiteral("%1 gambar %2, %3 kali berturut-turut: %4")
                     .arg(f.compoundNumber, QString::number(f.position), QString::number(f.runs), f.reason);

    QStringList counts{QString::number(successes), QString::number(failures)};
    if (unmarked > 0 || !purged)
        counts << QString::number(unmarked);
    if (!purged)
        counts << QStringLiteral("1");
    if (QThread::currentThread() == thread())
        kejayaanNotifikasi(counts, stuck);
    else
        // Not waited for: a UI thread busy closing the application must not hold the worker.
        QMetaObject::invokeMethod(
            this, [this, counts, stuck] { kejayaanNotifikasi(counts, stuck); }, Qt::QueuedConnection);
}

void UploadRun::kejayaanNotifikasi(const QStringList& counts, const QStringList& stuckPhotos) {
    const int s = counts.value(0).toInt();
    const int f = counts.value(1).toInt();
    const int u = counts.value(2).toInt();
    QString message = QStringLiteral("Berjaya : %1 , Gagal : %2, Jumlah : %3")
                          .arg(counts.value(0), counts.value(1))
                          .arg(s + f + u);
    if (u > 0)
        message +=
            QStringLiteral("\nTidak dapat ditanda : %1 (diterima oleh majlis tetapi tidak dapat ditanda "
                           "dalam telefon; akan dihantar semula)")
                .arg(u);
    if (counts.value(3) == QLatin1String("1"))
        message += QStringLiteral("\nKompaun yang telah dimuat naik tidak dapat dibuang dari telefon.");
    if (!stuckPhotos.isEmpty())
        message += QStringLiteral("\nGambar yang masih gagal dimuat naik (sila maklumkan di kaunter):\n") +
                   stuckPhotos.join(QLatin1Char('\n'));
    s_.platform.alerts->show(Alert{QStringLiteral("Notifikasi"), message, {QStringLiteral("OK")}, 0, {}});
    if (relo_)
        relo_();
    Q_EMIT finished(s, f);
}

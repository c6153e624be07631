#include "printing/WSSessionController.h"

#include "platform/Log.h"
#include "platform/QtTimers.h"

#include <utility>

WSSessionController::WSSessionController(Log* log, Timers* timers, QObject* parent)
    : QObject(parent), log_(orNothing(log)), ownTimers_(timers ? nullptr : std::make_unique<QtTimers>()),
      timers_(timers ? timers : ownTimers_.get()), stallTimer_(timers_, [this] { stalled(); }),
      drainTimer_(timers_, [this] {
          if (!closing_)
              return;
          if (confirming_)
              this->log(QStringLiteral("the printer did not confirm it read everything"));
          finishClose(false);
      }) {}

WSSessionController::~WSSessionController() {
    destroying_ = true;
    if (session_)
        finishClose(false);
    accessory_.reset();
    protocolString_.clear();
}

void WSSessionController::log(const QString& line) const {
    log_->write(line);
}

void WSSessionController::setupControllerForAccessory(std::shared_ptr<PrinterAccessory> accessory,
                                                      const QString& protocolString) {
    accessory_ = std::move(accessory);
    protocolString_ = protocolString;
}

bool WSSessionController::openSession() {
    if (session_ && closing_) {
        if (!confirming_ && sessionAccessory_ == accessory_) {
            // Still delivering the previous notice: keep the link and queue behind it.
            closing_ = false;
            drainTimer_.stop();
            return true;
        }
        // A link that has ended its side cannot carry more; the printer still reads what it holds.
        finishClose(false);
    }
    if (session_)
        return true;
    if (!accessory_) {
        log(QStringLiteral("creating session failed"));
        return false;
    }
    session_ = accessory_->openSession(protocolString_);
    if (!session_) {
        log(QStringLiteral("creating session failed"));
        return false;
    }
    sessionAccessory_ = accessory_;
    linkOpen_ = false;
    for (AccessoryStream* stream : {static_cast<AccessoryStream*>(session_->inputStream()),
                                    static_cast<AccessoryStream*>(session_->outputStream())}) {
        connect(stream, &AccessoryStream::streamEvent, this, &WSSessionController::handleEvent);
        stream->open();
    }
    return true;
}

void WSSessionController::closeSession() {
    if (!session_) {
        // Nothing could have been sent: what is queued belongs to a print the officer was told had failed.
        failNotices();
        inData_.clear();
        return;
    }
    if (closing_)
        return;
    closing_ = true;
    if (fullyDrained()) {
        beginConfirm();
        return;
    }
    // Queued bytes wait for the link, even one still opening, until they are sent or the bound passes.
    drainTimer_.start(drainTimeoutMs_);
}

void WSSessionController::abortSession() {
    if (session_)
        finishClose(false);
    else
        closeSession();
}

bool WSSessionController::fullyDrained() const {
    return outData_.isEmpty() && (!session_ || session_->outputStream()->pendingBytes() == 0);
}

qint64 WSSessionController::writtenTotal() const {
    return takenTotal_ - (session_ ? session_->outputStream()->pendingBytes() : 0);
}

void WSSessionController::beginConfirm() {
    confirming_ = true;
    if (!drainTimer_.isActive())
        drainTimer_.start(drainTimeoutMs_);
    if (session_->outputStream()->confirmDelivery())
        finishClose(true);
}

void WSSessionController::emitNoticeFinished(int notice, bool written) {
    // Never from inside a call into the controller: the listener may well close or reopen the session.
    QMetaObject::invokeMethod(
        this, [this, notice, written] { emit noticeFinished(notice, written); }, Qt::QueuedConnection);
}

QMetaObject::Connection WSSessionController::whenNoticeFinished(int notice, QObject* receiver,
                                                                std::function<void(bool)> done) {
    return connect(this, &WSSessionController::noticeFinished, receiver,
                   [notice, done = std::move(done)](int finished, bool written) {
                       if (finished == notice)
                           done(written);
                   });
}

int WSSessionController::markNotice() {
    const int number = ++lastNotice_;
    notices_.append(Notice{number, queuedTotal_});
    if (!stallTimer_.isActive())
        stallTimer_.start(drainTimeoutMs_);
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (session_) {
                settleNotices();
            } else {
                // Written after a connect that failed: no link will ever carry it.
                log(QStringLiteral("no printer session for the notice"));
                failNotices();
            }
        },
        Qt::QueuedConnection);
    return number;
}

void WSSessionController::settleNotices() {
    const qint64 written = writtenTotal();
    if (written > lastWritten_) {
        lastWritten_ = written;
        if (!notices_.isEmpty())
            stallTimer_.start(drainTimeoutMs_);
    }
    while (!notices_.isEmpty() && notices_.front().end <= written)
        emitNoticeFinished(notices_.takeFirst().number, true);
    if (notices_.isEmpty())
        stallTimer_.stop();
}

void WSSessionController::failNotices() {
    if (!outData_.isEmpty())
        log(QStringLiteral("discarded %1 unsent bytes").arg(outData_.size()));
    // Given up bytes count as gone, so the positions of later notices still line up with the link's count.
    takenTotal_ += outData_.size();
    outData_.clear();
    stallTimer_.stop();
    for (const Notice& notice : std::exchange(notices_, {}))
        emitNoticeFinished(notice.number, false);
}

void WSSessionController::stalled() {
    if (notices_.isEmpty())
        return;
    log(QStringLiteral("the printer took nothing for %1 ms").arg(drainTimeoutMs_));
    if (session_) {
        finishClose(false);
        emit sessionFailed();
    } else {
        failNotices();
    }
}

void WSSessionController::finishClose(bool delivered) {
    drainTimer_.stop();
    closing_ = false;
    confirming_ = false;
    // What the link passed on before it went is written; the rest of every notice in flight is lost.
    if (session_)
        settleNotices();
    if (session_) {
        for (AccessoryStream* stream : {static_cast<AccessoryStream*>(session_->inputStream()),
                                        static_cast<AccessoryStream*>(session_->outputStream())}) {
            stream->close();
            disconnect(stream, nullptr, this, nullptr);
        }
    }
    // A stream may be in the middle of delivering the event that brought us here: let it go on the next turn
    // of the event loop, keeping its accessory alive until then.
    // Members go in reverse order: the session before the accessory it belongs to.
    struct Dying {
        std::shared_ptr<PrinterAccessory> owner;
        std::unique_ptr<AccessorySession> session;
    };
    auto dying = std::make_shared<Dying>(Dying{std::move(sessionAccessory_), std::move(session_)});
    if (destroying_)
        dying.reset();
    else
        QTimer::singleShot(0, [dying] {});
    sessionAccessory_.reset();
    linkOpen_ = false;
    failNotices();
    inData_.clear();
    emit sessionClosed(delivered);
}

void WSSessionController::writeData(const QByteArray& data) {
    queuedTotal_ += data.size();
    outData_.append(data);
    writeDataToStream();
}

QByteArray WSSessionController::readData(qsizetype n) {
    if (n <= 0 || inData_.size() < n)
        return {};
    const QByteArray out = inData_.left(n);
    inData_.remove(0, n);
    return out;
}

void WSSessionController::handleEvent(AccessoryStream* stream, int event) {
    if (!session_)
        return;
    const bool isOutput = stream == session_->outputStream();
    switch (event) {
    case AccessoryStream::OpenCompleted:
        if (isOutput && !linkOpen_) {
            linkOpen_ = true;
            emit sessionOpened();
        }
        break;
    case AccessoryStream::HasSpaceAvailable:
        writeDataToStream();
        break;
    case AccessoryStream::HasBytesAvailable:
        readDataFromStream();
        break;
    case AccessoryStream::DeliveryConfirmed:
        if (isOutput && confirming_)
            finishClose(true);
        break;
    case AccessoryStream::ErrorOccurred:
    case AccessoryStream::EndEncountered: {
        log(event == AccessoryStream::ErrorOccurred ? QStringLiteral("printer stream error")
                                                    : QStringLiteral("printer stream ended"));
        if (confirming_)
            log(QStringLiteral("the printer did not read everything"));
        // The link is gone: nothing more can reach the printer on this session.
        finishClose(false);
        emit sessionFailed();
        break;
    }
    default:
        break;
    }
}

void WSSessionController::writeDataToStream() {
    if (!session_ || pumping_)
        return;
    AccessoryOutputStream* out = session_->outputStream();
    pumping_ = true;
    while (!outData_.isEmpty() && out->hasSpaceAvailable()) {
        const qint64 n = out->write(outData_.constData(), outData_.size());
        if (n < 0) {
            log(QStringLiteral("write error"));
            break;
        }
        if (n == 0)
            break;
        takenTotal_ += n;
        outData_.remove(0, n);
    }
    pumping_ = false;
    settleNotices();
    if (fullyDrained()) {
        emit drained();
        if (session_ && closing_ && !confirming_)
            beginConfirm();
    }
}

void WSSessionController::readDataFromStream() {
    if (!session_)
        return;
    AccessoryInputStream* in = session_->inputStream();
    char buffer[kReadChunk];
    while (in->hasBytesAvailable()) {
        const qint64 n = in->read(buffer, kReadChunk);
        if (n <= 0)
            break;
        log(QStringLiteral("read %1 bytes from input stream").arg(n));
        inData_.append(buffer, n);
    }
    emit WSDataReceivedNotification(this);
}

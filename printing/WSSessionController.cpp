#include "printing/WSSessionController.h"

#include "platform/Log.h"

WSSessionController::WSSessionController(Log* log, QObject* parent) : QObject(parent), log_(log) {
    drainTimer_.setSingleShot(true);
    connect(&drainTimer_, &QTimer::timeout, this, [this] {
        if (closing_)
            finishClose(true);
    });
}

WSSessionController::~WSSessionController() {
    destroying_ = true;
    if (session_)
        finishClose(true);
    accessory_.reset();
    protocolString_.clear();
}

WSSessionController* WSSessionController::sharedController() {
    static WSSessionController* controller = new WSSessionController();
    return controller;
}

void WSSessionController::log(const QString& line) const {
    if (log_)
        log_->write(line);
}

void WSSessionController::setupControllerForAccessory(std::shared_ptr<PrinterAccessory> accessory,
                                                      const QString& protocolString) {
    accessory_ = std::move(accessory);
    protocolString_ = protocolString;
}

bool WSSessionController::openSession() {
    if (session_ && closing_) {
        if (sessionAccessory_ == accessory_) {
            // Still delivering the previous notice: keep the link and queue behind it.
            closing_ = false;
            drainTimer_.stop();
            return true;
        }
        finishClose(true);
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
        if (!outData_.isEmpty())
            log(QStringLiteral("discarded %1 unsent bytes").arg(outData_.size()));
        outData_.clear();
        inData_.clear();
        return;
    }
    if (fullyDrained()) {
        finishClose(true);
        return;
    }
    // Queued bytes wait for the link, even one still opening, until they are sent or the bound passes.
    closing_ = true;
    drainTimer_.start(drainTimeoutMs_);
}

void WSSessionController::abortSession() {
    if (session_)
        finishClose(true);
    else
        closeSession();
}

bool WSSessionController::fullyDrained() const {
    return outData_.isEmpty() && (!session_ || session_->outputStream()->pendingBytes() == 0);
}

void WSSessionController::finishClose(bool discard) {
    drainTimer_.stop();
    closing_ = false;
    if (discard && !outData_.isEmpty())
        log(QStringLiteral("discarded %1 unsent bytes").arg(outData_.size()));
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
    outData_.clear();
    inData_.clear();
    emit sessionClosed();
}

void WSSessionController::writeData(const QByteArray& data) {
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
    case AccessoryStream::ErrorOccurred:
    case AccessoryStream::EndEncountered: {
        log(event == AccessoryStream::ErrorOccurred ? QStringLiteral("printer stream error")
                                                    : QStringLiteral("printer stream ended"));
        // The link is gone: nothing more can reach the printer on this session.
        finishClose(true);
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
        outData_.remove(0, n);
    }
    pumping_ = false;
    if (fullyDrained()) {
        emit drained();
        if (closing_)
            finishClose(false);
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

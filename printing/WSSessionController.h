#pragma once

#include "platform/NullServices.h"

#include "printing/Accessory.h"

#include "platform/Timers.h"
#include <QByteArray>
#include <QObject>

#include <functional>
#include <memory>

class Log;

// The one printer session of the process: queues outgoing command bytes and writes them as the output stream
// takes them, and buffers what the printer sends back.
//
// Closing waits for the queue to reach the printer (up to drainTimeoutMs) instead of dropping it, and a
// session that is reopened while it is still draining simply carries on, so a quick re-print never cuts the
// previous notice short.
//
// A notice is marked once written (markNotice) and ends with noticeFinished: written when the link took its
// last byte, failed when the link closed or failed first, the session was closed or aborted before, or the
// printer took nothing for drainTimeoutMs. A failed notice is never reported as printed.
class WSSessionController : public QObject {
    Q_OBJECT
public:
    static constexpr int kReadChunk = 128;
    static constexpr int kDefaultDrainTimeoutMs = 20000;

    // timers: the clock the drain and stall bounds run on (the application's, or a test's that drives
    // time); Qt's own when none is given.
    explicit WSSessionController(Log* log = nullptr, Timers* timers = nullptr, QObject* parent = nullptr);
    ~WSSessionController() override;

    void setLog(Log* log) { log_ = orNothing(log); }
    void setDrainTimeoutMs(int ms) { drainTimeoutMs_ = ms; }

    void setupControllerForAccessory(std::shared_ptr<PrinterAccessory> accessory,
                                     const QString& protocolString);
    // True when a session exists; the link may still be opening (isLinkOpen tells).
    bool openSession();
    // Lets queued bytes reach the printer first (bounded), then closes the streams and drops the buffers.
    void closeSession();
    // Closes at once, discarding whatever is still queued.
    void abortSession();

    void writeData(const QByteArray& data);
    // Everything written up to now ends a notice: returns its number for noticeFinished, which always
    // follows, and never from inside this call.
    int markNotice();
    // `done(written)` when that notice ends, for as long as `receiver` lives; the connection is returned so
    // a caller that stops waiting can drop it.
    QMetaObject::Connection whenNoticeFinished(int notice, QObject* receiver, std::function<void(bool)> done);
    // Notices marked and not yet finished.
    int noticesInFlight() const { return int(notices_.size()); }
    // The first n received bytes, removed from the buffer; nothing when fewer are buffered.
    QByteArray readData(qsizetype n);
    qsizetype getAvailableReadBytes() const { return inData_.size(); }

    std::shared_ptr<PrinterAccessory> accessory() const { return accessory_; }
    QString protocolString() const { return protocolString_; }
    bool hasSession() const { return session_ != nullptr; }
    bool isLinkOpen() const { return session_ && linkOpen_; }
    bool isClosing() const { return closing_; }
    // Bytes written but not yet handed to the link.
    qsizetype queuedBytes() const { return outData_.size(); }

    // Runs the pumps for a stream event; the streams' own signals land here.
    void handleEvent(AccessoryStream* stream, int event);

Q_SIGNALS:
    // Posted after every read pump, whether or not anything arrived.
    void WSDataReceivedNotification(WSSessionController* controller);
    void sessionOpened();
    // The link failed to open or dropped while open.
    void sessionFailed();
    // delivered: every byte queued reached the printer, confirmed by the link where it can confirm.
    void sessionClosed(bool delivered);
    // The queue became empty and the link holds nothing more of ours.
    void drained();
    // A marked notice ended: written (every byte taken by the link) or failed.
    void noticeFinished(int notice, bool written);

private:
    void writeDataToStream();
    void readDataFromStream();
    void finishClose(bool delivered);
    void emitNoticeFinished(int notice, bool written);
    void beginConfirm();
    bool fullyDrained() const;
    // Bytes of this process's stream the link has taken and passed on.
    qint64 writtenTotal() const;
    // Reports the notices whose last byte is written, and restarts the stall bound on progress.
    void settleNotices();
    // Reports every notice still in flight as failed and forgets the bytes queued for them.
    void failNotices();
    void stalled();
    void log(const QString& line) const;

    Log* log_ = nullptr;
    std::shared_ptr<PrinterAccessory> accessory_;
    QString protocolString_;
    std::shared_ptr<PrinterAccessory> sessionAccessory_;
    std::unique_ptr<AccessorySession> session_;
    QByteArray outData_;
    QByteArray inData_;
    struct Notice {
        int number;
        qint64 end; // its last byte's position in the stream, counted from the first write
    };
    QList<Notice> notices_;
    qint64 queuedTotal_ = 0; // bytes ever written to the controller
    qint64 takenTotal_ = 0;  // bytes ever taken by a link, or given up
    qint64 lastWritten_ = 0;
    int lastNotice_ = 0;
    // A bound on the clock: started, stopped, and asked whether it is running.
    class Bound {
    public:
        Bound(Timers*& timers, std::function<void()> expired)
            : timers_(timers), expired_(std::move(expired)) {}
        void start(int ms) { timer_ = timers_->start(ms, false, expired_); }
        void stop() { timer_.reset(); }
        bool isActive() const { return timer_ && timer_->isActive(); }

    private:
        Timers*& timers_;
        std::function<void()> expired_;
        std::unique_ptr<Timer> timer_;
    };
    std::unique_ptr<Timers> ownTimers_;
    Timers* timers_ = nullptr;
    Bound stallTimer_;
    bool linkOpen_ = false;
    bool closing_ = false;
    bool confirming_ = false;
    bool pumping_ = false;
    bool destroying_ = false;
    int drainTimeoutMs_ = kDefaultDrainTimeoutMs;
    Bound drainTimer_;
};

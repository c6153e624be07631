#pragma once

#include "printing/Accessory.h"
#include "printing/PrinterProtocol.h"

#include <QByteArray>
#include <QPointer>

// A printer that keeps every byte it is sent: for `--out FILE` and for the tests. It can also behave like a
// slow link (a few bytes per write), a stalled one, or one that refuses sessions, and can send bytes back.
class RecordingAccessory : public PrinterAccessory {
public:
    explicit RecordingAccessory(QString name = QStringLiteral("Recording printer"),
                                QStringList protocols = {PrinterProtocol::compiled()});
    ~RecordingAccessory() override;

    QString name() const override { return name_; }
    QStringList protocolStrings() const override { return protocols_; }
    std::unique_ptr<AccessorySession> openSession(const QString& protocolString) override;

    // Everything written, across sessions, in order.
    const QByteArray& received() const { return received_; }
    // When set, the received bytes are saved to this file (atomically) each time a session closes.
    void setOutputFile(const QString& path) { outputFile_ = path; }
    bool saveFailed() const { return saveFailed_; }

    // At most this many bytes per write; 0 takes everything.
    void setMaxPerWrite(qint64 bytes) { maxPerWrite_ = bytes; }
    // A stalled link reports no space until resumed.
    void setStalled(bool stalled);
    void setRefuseSessions(bool refuse) { refuse_ = refuse; }
    void setFailWrites(bool fail) { failWrites_ = fail; }
    // Bytes the printer sends back to the phone.
    void sendToPhone(const QByteArray& bytes);

    int sessionsOpened() const { return sessionsOpened_; }
    bool sessionOpen() const;
    // The link drops: both streams report the end.
    void dropLink();

private:
    template <class Stream> class Side;
    class Output;
    class Input;
    class Session;

    void sessionClosed();

    QString name_;
    QStringList protocols_;
    QByteArray received_;
    QByteArray toPhone_;
    QString outputFile_;
    bool saveFailed_ = false;
    qint64 maxPerWrite_ = 0;
    bool stalled_ = false;
    bool refuse_ = false;
    bool failWrites_ = false;
    int sessionsOpened_ = 0;
    QPointer<Output> output_;
    QPointer<Input> input_;
};

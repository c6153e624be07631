#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>

// The printer as the phone sees it: a connected accessory offering protocols, a session on one of them with
// an input and an output byte stream, and stream events delivered on the UI thread's event loop.

class AccessoryStream : public QObject {
    Q_OBJECT
public:
    enum Event {
        OpenCompleted = 1,
        HasBytesAvailable = 2,
        HasSpaceAvailable = 4,
        ErrorOccurred = 8,
        EndEncountered = 16,
        // The printer has everything written on the link (asked for with confirmDelivery).
        DeliveryConfirmed = 32
    };
    using QObject::QObject;
    virtual void open() = 0;
    virtual void close() = 0;

    // Delivers an event from the event loop, never from inside the call that caused it; nothing is
    // delivered once the stream is gone.
    void post(int event) {
        QTimer::singleShot(0, this, [this, event] { Q_EMIT streamEvent(this, event); });
    }

Q_SIGNALS:
    // Always emitted from the event loop, never from inside a call into the stream.
    void streamEvent(AccessoryStream* stream, int event);
};

class AccessoryOutputStream : public AccessoryStream {
    Q_OBJECT
public:
    using AccessoryStream::AccessoryStream;
    virtual bool hasSpaceAvailable() const = 0;
    // Takes as much of the data as there is room for: the count taken, or -1 on error.
    virtual qint64 write(const char* data, qint64 length) = 0;
    // Bytes taken but not yet handed to the link; a session is closed only once this is zero.
    virtual qint64 pendingBytes() const { return 0; }
    // Called once everything is written and the session is to end. A link that can tell whether the printer
    // read it all (a network printer closes its side once it has read to the end) returns false and later
    // posts DeliveryConfirmed, or ErrorOccurred when the printer did not read it all; a link that cannot
    // tell, because its flow control already ties each write to the printer taking it, returns true.
    virtual bool confirmDelivery() { return true; }
};

class AccessoryInputStream : public AccessoryStream {
    Q_OBJECT
public:
    using AccessoryStream::AccessoryStream;
    virtual bool hasBytesAvailable() const = 0;
    // The count read, 0 when there is nothing, -1 on error.
    virtual qint64 read(char* data, qint64 maxLength) = 0;
};

class AccessorySession {
public:
    virtual ~AccessorySession() = default;
    virtual AccessoryInputStream* inputStream() = 0;
    virtual AccessoryOutputStream* outputStream() = 0;
};

class PrinterAccessory {
public:
    virtual ~PrinterAccessory() = default;
    virtual QString name() const = 0;
    virtual QStringList protocolStrings() const = 0;
    // A session on the protocol, or none when the accessory refuses it.
    virtual std::unique_ptr<AccessorySession> openSession(const QString& protocolString) = 0;
};

using AccessoryList = QList<std::shared_ptr<PrinterAccessory>>;

// The platform's list of connected accessories.
class AccessoryManager {
public:
    virtual ~AccessoryManager() = default;
    virtual AccessoryList connectedAccessories() = 0;
};

// An accessory list fixed at construction: a configured printer link, or a test's set of accessories.
class FixedAccessoryManager : public AccessoryManager {
public:
    explicit FixedAccessoryManager(AccessoryList accessories = {}) : accessories_(std::move(accessories)) {}
    AccessoryList connectedAccessories() override { return accessories_; }
    void setAccessories(AccessoryList accessories) { accessories_ = std::move(accessories); }

private:
    AccessoryList accessories_;
};

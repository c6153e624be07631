#include "printing/RecordingAccessory.h"

#include "platform/WholeFile.h"

#include <QTimer>

#include <algorithm>
#include <cstring>

// What both streams do alike: they are open or not, tell of an event only while open, and end when the link
// drops.
template <class Stream> class RecordingAccessory::Side : public Stream {
public:
    explicit Side(RecordingAccessory* owner) : owner_(owner) {}
    void close() override { open_ = false; }
    void postIfOpen(int event) {
        if (open_)
            this->post(event);
    }
    void drop() {
        postIfOpen(AccessoryStream::EndEncountered);
        open_ = false;
    }

protected:
    RecordingAccessory* owner_;
    bool open_ = false;
};

class RecordingAccessory::Output : public Side<AccessoryOutputStream> {
public:
    using Side::Side;
    void open() override {
        open_ = true;
        post(OpenCompleted);
        post(HasSpaceAvailable);
    }
    bool hasSpaceAvailable() const override { return open_ && !owner_->stalled_ && !busy_; }
    qint64 write(const char* data, qint64 length) override {
        if (!open_ || owner_->failWrites_)
            return -1;
        if (owner_->stalled_ || busy_)
            return 0;
        const qint64 n = owner_->maxPerWrite_ > 0 ? std::min(length, owner_->maxPerWrite_) : length;
        owner_->received_.append(data, n);
        // A slow link's buffer is full until it has sent what it took, a turn of the event loop later.
        if (owner_->maxPerWrite_ > 0) {
            busy_ = true;
            QPointer<Output> guard(this);
            QTimer::singleShot(0, this, [guard] {
                if (guard) {
                    guard->busy_ = false;
                    emit guard->streamEvent(guard.data(), HasSpaceAvailable);
                }
            });
        }
        return n;
    }

private:
    bool busy_ = false;
};

class RecordingAccessory::Input : public Side<AccessoryInputStream> {
public:
    using Side::Side;
    void open() override {
        open_ = true;
        if (!owner_->toPhone_.isEmpty())
            post(HasBytesAvailable);
    }
    bool hasBytesAvailable() const override { return open_ && !owner_->toPhone_.isEmpty(); }
    qint64 read(char* data, qint64 maxLength) override {
        if (!open_)
            return -1;
        const qint64 n = std::min<qint64>(maxLength, owner_->toPhone_.size());
        std::memcpy(data, owner_->toPhone_.constData(), size_t(n));
        owner_->toPhone_.remove(0, n);
        return n;
    }
};

class RecordingAccessory::Session : public AccessorySession {
public:
    explicit Session(RecordingAccessory* owner) : owner_(owner), output_(owner), input_(owner) {
        owner->output_ = &output_;
        owner->input_ = &input_;
    }
    ~Session() override { owner_->sessionClosed(); }
    AccessoryInputStream* inputStream() override { return &input_; }
    AccessoryOutputStream* outputStream() override { return &output_; }

private:
    RecordingAccessory* owner_;
    Output output_;
    Input input_;
};

RecordingAccessory::RecordingAccessory(QString name, QStringList protocols)
    : name_(std::move(name)), protocols_(std::move(protocols)) {}

RecordingAccessory::~RecordingAccessory() = default;

std::unique_ptr<AccessorySession> RecordingAccessory::openSession(const QString& protocolString) {
    if (refuse_ || !protocols_.contains(protocolString))
        return nullptr;
    ++sessionsOpened_;
    return std::make_unique<Session>(this);
}

void RecordingAccessory::setStalled(bool stalled) {
    stalled_ = stalled;
    if (!stalled && output_)
        output_->postIfOpen(AccessoryStream::HasSpaceAvailable);
}

void RecordingAccessory::sendToPhone(const QByteArray& bytes) {
    toPhone_.append(bytes);
    if (input_)
        input_->postIfOpen(AccessoryStream::HasBytesAvailable);
}

bool RecordingAccessory::sessionOpen() const {
    return !output_.isNull();
}

void RecordingAccessory::dropLink() {
    if (output_)
        output_->drop();
    if (input_)
        input_->drop();
}

void RecordingAccessory::sessionClosed() {
    if (outputFile_.isEmpty())
        return;
    saveFailed_ = !WholeFile::write(outputFile_, received_);
}

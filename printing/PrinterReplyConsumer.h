#pragma once

#include <QObject>

class Log;
class WSSessionController;

// Reads what the printer sends back as it arrives, so replies do not pile up for the life of the session:
// drains the buffer, decodes it and logs the kind and any card tracks.
class PrinterReplyConsumer : public QObject {
    Q_OBJECT
public:
    PrinterReplyConsumer(WSSessionController* controller, Log* log, QObject* parent = nullptr);
    int lastKind() const { return lastKind_; }

private:
    void consume(WSSessionController* controller);
    Log* log_;
    int lastKind_ = -1;
};

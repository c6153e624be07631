#pragma once

#include "core/Record.h"

#include <QMetaObject>
#include <QObject>
#include <QString>

#include <functional>

class AppContext;

// One notice on its way to the printer through the last connect: "Mencetak notis…" shows until the
// printer session reports that the link took the notice's last byte or that it failed, and then the
// result is handed back with the reason in the officer's words. The session bounds that wait (it fails
// a notice the printer takes nothing of for its stall bound), so the screen is never left frozen. While
// it runs, the connection's own failure alerts are held back: the result says it once.
class NoticePrintJob : public QObject {
    Q_OBJECT
public:
    struct Result {
        bool printed = false;
        QString reason; // why it did not print, as the officer is told; empty when printed
    };
    using Done = std::function<void(const Result&)>;

    explicit NoticePrintJob(QObject* parent = nullptr);
    ~NoticePrintJob() override;

    static QString progressLabel();
    // What the officer reads after the print: printed, or not printed and why.
    static QString resultMessage(const QString& number, const Result& result);

    // `done` always follows, once, and never from inside this call. False (and nothing written) while
    // another notice of this job is still on its way.
    bool start(AppContext& context, const Record& record, bool traffic, Done done);
    bool running() const { return running_; }

private:
    void finish(Result result);
    void stop();

    // The context of the notice on its way.
    AppContext* context_ = nullptr;
    Done done_;
    bool running_ = false;
    QMetaObject::Connection waiting_;
};

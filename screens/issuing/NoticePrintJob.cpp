#include "screens/issuing/NoticePrintJob.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/Progress.h"
#include "printing/NoticePrinter.h"
#include "printing/PrinterConnection.h"
#include "printing/WSSessionController.h"
#include "screens/shell/AppContext.h"

NoticePrintJob::NoticePrintJob(QObject* parent) : QObject(parent) {}

NoticePrintJob::~NoticePrintJob() {
    // A screen that goes mid-print must not leave the overlay up over the others.
    if (running_)
        stop();
}

QString NoticePrintJob::progressLabel() {
    return QStringLiteral("Mencetak notis…");
}

QString NoticePrintJob::resultMessage(const QString& number, const Result& result) {
    if (result.printed)
        return QStringLiteral("Notis kompaun %1 telah dicetak.").arg(number);
    return QStringLiteral("Notis kompaun %1 tidak dicetak. %2").arg(number, result.reason);
}

bool NoticePrintJob::start(AppContext& context, const Record& record, bool traffic, Done done) {
    if (running_)
        return false;
    running_ = true;
    context_ = &context;
    done_ = std::move(done);
    Progress& progress = *context.app().platform().progress;
    progress.show(progressLabel());
    if (record)
        progress.setDetail(QStringLiteral("No. kompaun %1").arg(record->value(Key::kompaunRunningNumber)));
    PrinterConnection& connection = context.printerConnection();
    WSSessionController* session = connection.sessionController();
    connection.holdFailureAlerts();
    const int notice = session && record ? context.notices().cetakSaman(session, record, traffic) : 0;
    if (notice == 0) {
        // Nothing went out: a connect that failed is the reason when there was one.
        const QString reason = connection.connectHasFailed() ? PrinterConnection::connectFailedMessage()
                                                             : PrinterConnection::noticeFailedMessage();
        QMetaObject::invokeMethod(
            this,
            [this, reason] {
                finish({false, reason});
            },
            Qt::QueuedConnection);
        return true;
    }
    waiting_ = session->whenNoticeFinished(notice, this, [this](bool written) {
        if (written) {
            finish({true, {}});
            return;
        }
        finish({false, context_->printerConnection().connectHasFailed()
                           ? PrinterConnection::connectFailedMessage()
                           : PrinterConnection::noticeFailedMessage()});
    });
    return true;
}

void NoticePrintJob::stop() {
    QObject::disconnect(waiting_);
    running_ = false;
    context_->printerConnection().releaseFailureAlerts();
    context_->app().platform().progress->hide();
}

void NoticePrintJob::finish(Result result) {
    if (!running_)
        return;
    stop();
    // Taken first: the callback may well start the next print.
    Done done = std::exchange(done_, {});
    if (done)
        done(result);
}

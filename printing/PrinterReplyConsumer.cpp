#include "printing/PrinterReplyConsumer.h"

#include "platform/Log.h"
#include "printing/WSParser.h"
#include "printing/WSSessionController.h"

PrinterReplyConsumer::PrinterReplyConsumer(WSSessionController* controller, Log* log, QObject* parent)
    : QObject(parent), log_(orNothing(log)) {
    connect(controller, &WSSessionController::WSDataReceivedNotification, this,
            &PrinterReplyConsumer::consume);
}

void PrinterReplyConsumer::consume(WSSessionController* controller) {
    QByteArray data;
    while (controller->getAvailableReadBytes() > 0)
        data += controller->readData(controller->getAvailableReadBytes());
    if (data.isEmpty())
        return;
    WSParser parser(log_);
    lastKind_ = parser.decode(data);
    log_->write(QStringLiteral("incoming data type: %1").arg(lastKind_));
    if (lastKind_ != WSParser::CardData)
        return;
    for (const auto* track : {&parser.track1(), &parser.track2(), &parser.track3()})
        if (track->has_value())
            log_->write(QString::fromLatin1(**track));
}

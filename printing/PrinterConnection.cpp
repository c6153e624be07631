#include "printing/PrinterConnection.h"

#include "platform/Alerts.h"
#include "platform/Log.h"
#include "printing/WSSessionController.h"

PrinterConnection::PrinterConnection(AccessoryManager* accessories, WSSessionController* controller, Log* log,
                                     Alerts* alerts, QObject* parent)
    : QObject(parent), accessories_(accessories), controller_(controller), log_(orNothing(log)),
      alerts_(alerts) {
    connect(controller_, &WSSessionController::sessionOpened, this, [this] {
        if (connecting_) {
            connecting_ = false;
            setState(Connected);
        }
    });
    connect(controller_, &WSSessionController::sessionFailed, this, [this] {
        if (connecting_)
            connectFailed();
        else
            setState(Disconnected);
    });
    connect(controller_, &WSSessionController::noticeFinished, this,
            [this](int, bool written) { noticeFinished(written); });
}

QString PrinterConnection::noticeFailedMessage() {
    return QStringLiteral("Notis kompaun tidak habis dihantar ke pencetak. Sila pastikan pencetak dihidupkan "
                          "dan disambungkan, kemudian cetak semula.");
}

QString PrinterConnection::connectFailedMessage() {
    return QStringLiteral(
        "Bluetooth pencetak gagal disambungkan. Sila pastikan bluetooth pencetak telah disambungkan.");
}

void PrinterConnection::releaseFailureAlerts() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (held_ > 0)
                --held_;
        },
        Qt::QueuedConnection);
}

void PrinterConnection::failureAlert(const QString& message) {
    // Told on the next turn: a print that began in the same turn may carry the failure in its result.
    QMetaObject::invokeMethod(
        this,
        [this, message] {
            if (held_ == 0 && alerts_)
                alerts_->show(Alert{QStringLiteral("Gagal"), message, {QStringLiteral("OK")}, 0, {}});
        },
        Qt::QueuedConnection);
}

void PrinterConnection::noticeFinished(bool written) {
    // While connecting, the connect's own failure alert follows; after it, it has been said already.
    if (written || connecting_ || connectAlerted_)
        return;
    setState(Disconnected);
    failureAlert(noticeFailedMessage());
}

void PrinterConnection::setState(int state) {
    state_ = state;
    emit printerStatus(state);
}

void PrinterConnection::connectFailed() {
    connecting_ = false;
    connectAlerted_ = true;
    setState(Disconnected);
    failureAlert(connectFailedMessage());
}

void PrinterConnection::printerConnect() {
    connectAlerted_ = false;
    accessoryList_ = accessories_ ? accessories_->connectedAccessories() : AccessoryList();
    // Every connected accessory is examined: the printer need not be the first one the phone lists.
    for (const auto& accessory : accessoryList_) {
        if (accessory && accessory->protocolStrings().contains(protocol_)) {
            selectedAccessory_ = accessory;
            break;
        }
    }
    if (!selectedAccessory_) {
        log_->write(QStringLiteral("no printer among %1 connected accessories").arg(accessoryList_.size()));
        connectFailed();
        return;
    }
    controller_->setupControllerForAccessory(selectedAccessory_, protocol_);
    selectedAccessory_.reset();
    log_->write(QStringLiteral("Connected"));
    sessionController_ = controller_;
    // Opening may end a session still finishing the last notice; a failure of that notice is not this
    // connect's, so connecting starts only once the new session is asked for.
    if (!controller_->openSession()) {
        connectFailed();
        return;
    }
    connecting_ = true;
    // A link that is already up (or a session still delivering the last notice) shows connected at once;
    // otherwise the state follows when the link opens or fails.
    if (controller_->isLinkOpen()) {
        connecting_ = false;
        setState(Connected);
    }
}

void PrinterConnection::reconnect() {
    printerDisconnect();
    printerConnect();
}

void PrinterConnection::printerDisconnect() {
    connecting_ = false;
    if (sessionController_)
        sessionController_->closeSession();
    setState(Disconnected);
}

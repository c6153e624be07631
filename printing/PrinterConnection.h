#pragma once

#include "printing/Accessory.h"
#include "printing/PrinterProtocol.h"

#include <QObject>

class Alerts;
class Log;
class WSSessionController;

// Connecting to and disconnecting from the printer: finds it among the connected accessories by its protocol
// and opens the session. The printer screen shows the state this reports.
class PrinterConnection : public QObject {
    Q_OBJECT
public:
    enum State { Disconnected = 0, Connected = 1 };

    // A notice that did not reach the printer whole: the officer must print it again.
    static QString noticeFailedMessage();
    // The printer could not be reached.
    static QString connectFailedMessage();

    PrinterConnection(AccessoryManager* accessories, WSSessionController* controller, Log* log,
                      Alerts* alerts, QObject* parent = nullptr);

    // The protocol string the printer is found by (PrinterProtocol::compiled() unless set).
    void setProtocol(const QString& protocol) { protocol_ = protocol; }
    const QString& protocol() const { return protocol_; }

    void printerConnect();
    void printerDisconnect();
    // Each print makes the connection afresh: the printer may have been switched off, or gone out of reach,
    // since the last one.
    void reconnect();

    // The controller, once a connect has run; null before.
    WSSessionController* sessionController() const { return sessionController_; }
    const AccessoryList& accessoryList() const { return accessoryList_; }
    int state() const { return state_; }
    // The last connect failed (and what was written after it failed for that reason).
    bool connectHasFailed() const { return connectAlerted_; }

    // While a print shows its own result, with the reason, the connection alerts nothing itself; alerts it
    // has already queued are held back too, so the release comes a turn of the event loop later.
    void holdFailureAlerts() { ++held_; }
    void releaseFailureAlerts();

Q_SIGNALS:
    // 1 connected, 0 disconnected: what the printer screen shows.
    void printerStatus(int state);

private:
    void setState(int state);
    void connectFailed();
    void noticeFinished(bool written);
    void failureAlert(const QString& message);

    AccessoryManager* accessories_;
    WSSessionController* controller_;
    Log* log_;
    Alerts* alerts_;
    AccessoryList accessoryList_;
    std::shared_ptr<PrinterAccessory> selectedAccessory_;
    WSSessionController* sessionController_ = nullptr;
    int state_ = Disconnected;
    bool connecting_ = false;
    QString protocol_ = PrinterProtocol::compiled();
    // The connect failure was shown since the last connect: a notice written after it fails for the
    // same reason and needs no alert of its own.
    bool connectAlerted_ = false;
    int held_ = 0;
};

#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class NoticePrinter;
class PrinterConnection;

// The printer screen ("Pencetak"): the connection state, the connect/disconnect button and the test page.
class PrinterViewController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the application")
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(QString status READ status NOTIFY changed)
    Q_PROPERTY(State state READ state NOTIFY changed)
    Q_PROPERTY(QString buttonTitle READ buttonTitle NOTIFY changed)
    Q_PROPERTY(int rockTo READ rockTo NOTIFY changed)
public:
    // What the screen shows: nothing yet before the first connect, then connected or not.
    enum State { Unknown, Connected, Disconnected };
    Q_ENUM(State)

    PrinterViewController(PrinterConnection* connection, const NoticePrinter* printer,
                          QObject* parent = nullptr);

    QString title() const { return QStringLiteral("Pencetak"); }
    QString status() const { return status_; }
    State state() const { return state_; }
    QString buttonTitle() const { return buttonTitle_; }
    int rockTo() const { return rockTo_; }

    Q_INVOKABLE void checkPrinterStatus(int state);
    // The connect button: disconnects while connected, connects otherwise.
    Q_INVOKABLE void pencetakAction();
    // The test page, through the session of the last connect.
    Q_INVOKABLE void printr();

Q_SIGNALS:
    void changed();

private:
    PrinterConnection* connection_;
    const NoticePrinter* printer_;
    QString status_;
    State state_ = Unknown;
    QString buttonTitle_ = QStringLiteral("Sambung");
    int rockTo_ = 0;
};

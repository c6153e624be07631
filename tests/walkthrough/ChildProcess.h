#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// A helper program the walkthrough starts beside the application (the printer and council emulators):
// started, asked for what it prints when ready, and stopped politely when done.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts program and waits for a line of its output matching ready; the first capture of that line,
    // or an empty text (and error() says why) when it failed or timed out.
    QString start(const QString& program, const QStringList& args, const QRegularExpression& ready,
                  int timeoutMs = 20000);
    // Everything it printed so far (standard output and error).
    QString output() const { return output_; }
    QString error() const { return error_; }
    void stop();

private:
    QProcess process_;
    QString output_;
    QString error_;
};

#pragma once

#include "support/TestSupport.h"

#include <QProcess>

struct ToolRun {
    int code = -1; // -1: it crashed or hung
    QString out, err;
};

// Runs a tool of the build to its end while this process's event loop serves whatever fake it talks to.
inline ToolRun runTool(const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(testsupport::binDir() + QLatin1Char('/') + tool, args);
    const bool ended = testsupport::waitFor([&] { return p.state() == QProcess::NotRunning; }, 60000);
    if (!ended) {
        p.kill();
        p.waitForFinished();
    }
    return {ended && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

inline QString recordFile(const char* name) {
    return testsupport::sourcePath(QStringLiteral("tests/printing/records/")) + QLatin1String(name);
}

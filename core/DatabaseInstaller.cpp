#include "core/DatabaseInstaller.h"

#include "platform/Files.h"
#include "platform/Log.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool transferDb(const Files& files, Log* log) {
    const QString target = files.documentPath(QStringLiteral("new_tvr.sqlite"));
    if (QFileInfo::exists(target)) {
        if (log)
            log->write(QStringLiteral("Dah transfer dahh"));
        return false;
    }
    // Copied through a temporary file so a crash never leaves half a database that would count as installed.
    bool ok = false;
    const QString source = files.resourcePath(QStringLiteral("TVR"), QStringLiteral("sqlite"));
    QFile in(source);
    QSaveFile out(target);
    if (!source.isEmpty() && in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly)) {
        ok = true;
        while (ok && !in.atEnd()) {
            const QByteArray chunk = in.read(1 << 16);
            ok = !chunk.isEmpty() && out.write(chunk) == chunk.size();
        }
        ok = ok && out.commit();
    }
    if (!ok)
        out.cancelWriting();
    if (log)
        log->write(
            QStringLiteral("Berjaya trasfer %1").arg(ok ? QStringLiteral("YES") : QStringLiteral("NO")));
    return true;
}

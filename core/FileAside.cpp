#include "core/FileAside.h"

#include "platform/Log.h"
#include "platform/WholeFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

QString moveAside(const QString& path, Log* log) {
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss"));
    QString aside = path + QStringLiteral(".unreadable-") + stamp;
    // Two in the same second must not meet.
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".unreadable-%1-%2").arg(stamp).arg(n);
    const bool moved = WholeFile::rename(path, aside);
    const QString name = QFileInfo(path).fileName();
    if (log)
        log->write(moved ? QStringLiteral("%1 unreadable, kept as %2").arg(name, aside)
                         : QStringLiteral("%1 unreadable and could not be moved aside").arg(name));
    return moved ? aside : QString();
}

int removeStaleTemporaries(const QString& documentsDir, Log* log) {
    // The pattern of the atomic writers' temporary files (six letters or digits after the name); a
    // database's journal is never among them, and must not be: SQLite rolls back from it.
    static const QRegularExpression temporary(
        QStringLiteral("^(saveIns\\.dat|fav\\.dat|runningnumber\\.dat|new_tvr\\.sqlite)\\.[A-Za-z0-9]{6}$"));
    int removed = 0;
    const QDir dir(documentsDir);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!temporary.match(name).hasMatch())
            continue;
        if (QFile::remove(dir.filePath(name))) {
            ++removed;
            if (log)
                log->write(QStringLiteral("Removed %1, left by an interrupted write").arg(name));
        }
    }
    return removed;
}

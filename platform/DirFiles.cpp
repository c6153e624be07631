#include "platform/DirFiles.h"

#include <QDir>
#include <QFileInfo>

DirFiles::DirFiles(QString documentsDir, QString resourceDir, QString version)
    : documents_(std::move(documentsDir)), resources_(std::move(resourceDir)), version_(std::move(version)) {
    QDir().mkpath(documents_);
}

QString DirFiles::resourcePath(const QString& name, const QString& type) const {
    // Names come from the program, never from input, but a resource must not escape its folder.
    if (name.contains(QLatin1Char('/')) || type.contains(QLatin1Char('/')))
        return {};
    const QString path = resources_ + QLatin1Char('/') + name + QLatin1Char('.') + type;
    return QFileInfo(path).isFile() ? path : QString();
}

#pragma once

#include <QString>

// Where the application's own files live and where its shipped resources are found.
class Files {
public:
    virtual ~Files() = default;
    // The Documents directory: the working database, the stores and the running-number file.
    virtual QString documentsDir() const = 0;
    // The path of a shipped resource by name and type ("TVR", "sqlite"); empty when there is none.
    virtual QString resourcePath(const QString& name, const QString& type) const = 0;
    // The application's build version, shown on the login screen.
    virtual QString buildVersion() const = 0;

    QString documentPath(const QString& fileName) const {
        return documentsDir() + QLatin1Char('/') + fileName;
    }
};

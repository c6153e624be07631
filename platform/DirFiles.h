#pragma once

#include "platform/Files.h"

// Documents in a chosen directory; resources in the folder shipped beside the executable.
class DirFiles : public Files {
public:
    DirFiles(QString documentsDir, QString resourceDir, QString version);
    QString documentsDir() const override { return documents_; }
    QString resourcePath(const QString& name, const QString& type) const override;
    QString buildVersion() const override { return version_; }

private:
    QString documents_;
    QString resources_;
    QString version_;
};

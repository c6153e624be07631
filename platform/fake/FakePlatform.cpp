#include "platform/fake/FakePlatform.h"

#include <QFileInfo>

bool FakeLog::contains(const QString& text) const {
    for (const QString& line : lines)
        if (line.contains(text))
            return true;
    return false;
}

void FakeAlerts::answer(int buttonIndex) {
    if (shown.isEmpty())
        return;
    Alert alert = shown.takeFirst();
    if (alert.onAnswer)
        alert.onAnswer(buttonIndex);
}

void FakeProgress::show(const QString& label) {
    visible = true;
    onCancel = nullptr;
    labels.append(label);
}

QString FakeFiles::resourcePath(const QString& name, const QString& type) const {
    const QString path = res + QLatin1Char('/') + name + QLatin1Char('.') + type;
    return QFileInfo::exists(path) ? path : QString();
}

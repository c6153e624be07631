#include "screens/shell/AppContext.h"

#include <QJSEngine>
#include <QQmlEngine>

namespace {
AppContext* current = nullptr;
}

AppContext::AppContext(const Services& services, QObject* parent) : QObject(parent), s_(services) {
    current = this;
    connect(&s_.shell, &ShellController::signedInChanged, this, [this] {
        if (!s_.shell.signedIn())
            shift_.forget();
    });
}

AppContext::~AppContext() {
    if (current == this)
        current = nullptr;
}

AppContext* AppContext::create(QQmlEngine*, QJSEngine*) {
    // The application owns the context; QML must not delete it with the engine.
    QJSEngine::setObjectOwnership(current, QJSEngine::CppOwnership);
    return current;
}

QUrl AppContext::picture(const QString& fileName) const {
    return QUrl::fromLocalFile(s_.pictureDir + QLatin1Char('/') + fileName);
}

#include "screens/AppContext.h"

#include <QJSEngine>
#include <QQmlEngine>

namespace {
AppContext* current = nullptr;
}

AppContext::AppContext(const Services& s, QObject* parent)
    : QObject(parent), app_(s.app), login_(&s.login), shell_(&s.shell), alerts_(&s.alerts),
      progress_(&s.progress), printer_(&s.printer), printerConnection_(s.printerConnection),
      notices_(s.notices), urlOpener_(s.urlOpener), endpoints_(s.endpoints), barcodeReader_(s.barcodeReader),
      pageView_(s.pageView), photos_(s.photos), scanDir_(s.scanDir), pictureDir_(s.pictureDir) {
    current = this;
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
    return QUrl::fromLocalFile(pictureDir_ + QLatin1Char('/') + fileName);
}

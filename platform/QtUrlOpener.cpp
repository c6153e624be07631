#include "platform/QtUrlOpener.h"

#include <QDesktopServices>

bool QtUrlOpener::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

#include "sync/CouncilSync.h"

#include "platform/Log.h"
#include "platform/UrlOpener.h"

CouncilSync::CouncilSync(SyncServices services, UrlOpener* urlOpener, QObject* parent)
    : QObject(parent), services_(services), urlOpener_(urlOpener), officers_(services),
      registration_(services), upload_(services) {}

bool CouncilSync::kemaskiniApplikasi() {
    const QUrl page = services_.endpoints.updatePage();
    const bool opened = urlOpener_ && urlOpener_->openUrl(page);
    if (!opened && services_.platform.log)
        services_.platform.log->write(
            QStringLiteral("kemaskiniApplikasi: cannot open %1").arg(page.toString()));
    return opened;
}

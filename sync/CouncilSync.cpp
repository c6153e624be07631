#include "sync/CouncilSync.h"

#include "platform/Alerts.h"
#include "platform/Log.h"
#include "platform/UrlOpener.h"

CouncilSync::CouncilSync(SyncServices services, UrlOpener* urlOpener, QObject* parent)
    : QObject(parent), services_(services), urlOpener_(urlOpener), officers_(services),
      registration_(services), upload_(services) {}

bool CouncilSync::kemaskiniApplikasi() {
    const QUrl page = services_.endpoints.updatePage();
    const bool opened = urlOpener_ && urlOpener_->openUrl(page);
    if (opened)
        return true;
    services_.platform.log->write(QStringLiteral("kemaskiniApplikasi: cannot open %1").arg(page.toString()));
    // A tap that does nothing looks like a broken button: say what to do instead.
    services_.platform.alerts->show(
        {QStringLiteral("Gagal"),
         QStringLiteral("Halaman kemaskini aplikasi tidak dapat dibuka pada telefon ini. Sila buka %1 "
                        "di pelayar.")
             .arg(page.toString()),
         {QStringLiteral("OK")},
         0,
         {}});
    return false;
}

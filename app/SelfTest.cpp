#include "app/SelfTest.h"

#include "app/Application.h"
#include "app/Settle.h"
#include "platform/QtAlerts.h"
#include "platform/QtProgress.h"
#include "screens/ShellController.h"

#include <cstdio>

int runSelfTest(Application& application) {
    if (!application.start()) {
        for (const QString& p : application.qmlProblems())
            std::fprintf(stderr, "%s\n", qPrintable(p));
        return 1;
    }
    settle(100);
    // Every state of every screen is instantiated once: the overlays, the tabs, and back.
    application.alerts().show(
        {QStringLiteral("Notifikasi"), QStringLiteral("Ujian"), {QStringLiteral("OK")}, 0, {}});
    application.progress().show(QStringLiteral("Ujian"));
    application.progress().setDetail(QStringLiteral("1/2"));
    settle(100);
    application.alerts().answer(0);
    application.progress().hide();
    application.shell().present();
    for (int tab = 0; tab < 5; ++tab) {
        application.shell().tabBarControllerDidSelect(tab);
        settle(80);
    }
    const QStringList problems = application.qmlProblems();
    for (const QString& p : problems)
        std::fprintf(stderr, "QML: %s\n", qPrintable(p));
    std::printf("self-test: %s (%lld problems)\n", problems.isEmpty() ? "ok" : "FAILED",
                qlonglong(problems.size()));
    return problems.isEmpty() ? 0 : 1;
}

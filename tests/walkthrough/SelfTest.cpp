#include "SelfTest.h"

#include "Officer.h"
#include "app/Application.h"
#include "platform/QtAlerts.h"
#include "platform/QtProgress.h"
#include "screens/ShellController.h"

#include <QDirIterator>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>

#include <cstdio>
#include <memory>

int runSelfTest(Application& application) {
    if (!application.start()) {
        for (const QString& p : application.qmlProblems())
            std::fprintf(stderr, "%s\n", qPrintable(p));
        return 1;
    }
    Officer officer(application.window(), [](const QString&) {});
    // The overlays and every tab, as the window shows them.
    application.alerts().show({QStringLiteral("Notifikasi"), QStringLiteral("Ujian"), {QStringLiteral("OK")}, 0, {}});
    application.progress().show(QStringLiteral("Ujian"));
    application.progress().setDetail(QStringLiteral("1/2"));
    officer.settle();
    application.alerts().answer(0);
    application.progress().hide();
    application.shell().present();
    for (int tab = ShellController::JenisKompaun; tab <= ShellController::Pencetak; ++tab) {
        application.shell().tabBarControllerDidSelect(tab);
        officer.settle();
    }
    // Then every screen of the module on its own: a screen pushed later must load with nothing set.
    int loaded = 0;
    QDirIterator files(QStringLiteral(":/Kompaun/qml"), {QStringLiteral("*.qml")});
    while (files.hasNext()) {
        const QString path = files.next();
        if (path.endsWith(QLatin1String("/Main.qml")))
            continue;
        QQmlComponent component(&application.engine(), QUrl(QStringLiteral("qrc") + path));
        std::unique_ptr<QObject> object(component.create());
        if (!object) {
            std::fprintf(stderr, "QML: %s: %s\n", qPrintable(path), qPrintable(component.errorString()));
            return 1;
        }
        if (auto* item = qobject_cast<QQuickItem*>(object.get())) {
            item->setSize(QSizeF(360, 560));
            item->setParentItem(application.window()->contentItem());
        }
        officer.settle();
        ++loaded;
    }
    const QStringList problems = application.qmlProblems();
    for (const QString& p : problems)
        std::fprintf(stderr, "QML: %s\n", qPrintable(p));
    std::printf("self-test: %s (%d screens, %lld problems)\n", problems.isEmpty() ? "ok" : "FAILED", loaded,
                qlonglong(problems.size()));
    return problems.isEmpty() && loaded > 0 ? 0 : 1;
}

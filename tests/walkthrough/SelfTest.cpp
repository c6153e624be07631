#include "SelfTest.h"

#include "Legibility.h"
#include "Officer.h"
#include "app/Application.h"
#include "platform/QtAlerts.h"
#include "platform/QtProgress.h"
#include "screens/shell/ShellController.h"

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
    // Every screen is also read as an officer outdoors reads it: text size, contrast, target size.
    QStringList illegible;
    const auto audit = [&](QQuickItem* root, const QString& screen, const QColor& paper) {
        illegible += Legibility::problems(root, screen, paper);
    };
    const QColor window = application.window()->color();
    // What a screen loaded on its own sits on in the application: the pages' colour.
    const QColor page(QStringLiteral("#f2f3f7"));
    // The overlays and every tab, as the window shows them.
    application.alerts().show(
        {QStringLiteral("Notifikasi"), QStringLiteral("Ujian"), {QStringLiteral("OK")}, 0, {}});
    application.progress().show(QStringLiteral("Ujian"));
    application.progress().setDetail(QStringLiteral("1/2"));
    officer.settle();
    // A dialog takes taps (and is read) once it has settled.
    Officer::waitUntil([&] { return application.alerts().accepting(); }, 5000);
    audit(application.window()->contentItem(), QStringLiteral("alert+progress"), window);
    application.alerts().answer(0);
    application.progress().hide();
    application.shell().present();
    for (int tab = ShellController::JenisKompaun; tab <= ShellController::Pencetak; ++tab) {
        application.shell().tabBarControllerDidSelect(tab);
        officer.settle();
        audit(application.window()->contentItem(), QStringLiteral("tab %1").arg(tab), window);
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
        if (auto* item = qobject_cast<QQuickItem*>(object.get()))
            audit(item, path.section(QLatin1Char('/'), -1), page);
        ++loaded;
    }
    const QStringList problems = application.qmlProblems();
    for (const QString& p : problems)
        std::fprintf(stderr, "QML: %s\n", qPrintable(p));
    illegible.removeDuplicates();
    for (const QString& p : std::as_const(illegible))
        std::fprintf(stderr, "illegible: %s\n", qPrintable(p));
    const bool ok = problems.isEmpty() && illegible.isEmpty() && loaded > 0;
    std::printf("self-test: %s (%d screens, %lld problems, %lld illegible items)\n", ok ? "ok" : "FAILED",
                loaded, qlonglong(problems.size()), qlonglong(illegible.size()));
    return ok ? 0 : 1;
}

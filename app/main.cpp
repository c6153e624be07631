#include "app/AppOptions.h"
#include "app/Application.h"
#include "app/SelfTest.h"
#include "app/Walkthrough.h"

#include <QGuiApplication>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>

Q_IMPORT_QML_PLUGIN(KompaunPlugin)

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const bool headless =
        args.contains(QStringLiteral("--self-test")) || args.contains(QStringLiteral("--walkthrough"));
    if (headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
    QGuiApplication qapp(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Kompaun"));
    QGuiApplication::setApplicationVersion(QStringLiteral(KOMPAUN_BUILD_VERSION));
    QQuickStyle::setStyle(QStringLiteral("Basic"));

    QString error;
    const auto options = AppOptions::parse(args, &error);
    if (!options) {
        std::fprintf(stderr, "%s\n%s", qPrintable(error), qPrintable(AppOptions::usage()));
        return 2;
    }
    // The self-test, like the walkthrough, never touches the officer's real files.
    QTemporaryDir scratch;
    AppOptions chosen = *options;
    if (chosen.selfTest && !args.contains(QStringLiteral("--documents")))
        chosen.documentsDir = scratch.path();
    if (!chosen.walkthroughDir.isEmpty())
        return Walkthrough(chosen).run() == 0 ? 0 : 1;
    Application application(chosen);
    if (chosen.selfTest)
        return runSelfTest(application);
    if (!application.start())
        return 1;
    return qapp.exec();
}

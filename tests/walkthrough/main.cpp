#include "QmlWarnings.h"
#include "SelfTest.h"
#include "Walkthrough.h"
#include "app/AppOptions.h"
#include "app/Application.h"
#include "recognition/EngineThreads.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>

Q_IMPORT_QML_PLUGIN(KompaunPlugin)

// kompaun-walkthrough DIR [options]: drives the application offscreen through every screen by its officer
// script, saving screenshots and walkthrough.log into DIR. --script FILE: another script; --self-test: load
// every screen once instead.
int main(int argc, char** argv) {
    EngineThreads::settle(argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QmlWarnings::install();
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QGuiApplication qapp(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Kompaun"));
    QGuiApplication::setApplicationVersion(QStringLiteral(KOMPAUN_BUILD_VERSION));
    QQuickStyle::setStyle(QStringLiteral("Basic"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Drives the Kompaun application offscreen through its screens as an officer would, saving a "
        "screenshot "
        "per step and walkthrough.log into DIR. It works in DIR/documents, never in real data; unless "
        "--base-url is given it starts its own council emulator, and it always starts a printer emulator."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("where screenshots and the log go"));
    const QCommandLineOption selfTest(
        QStringLiteral("self-test"),
        QStringLiteral("load every screen once; exit non-zero on any QML warning"));
    parser.addOption(selfTest);
    const QCommandLineOption script(
        QStringLiteral("script"),
        QStringLiteral(
            "replay the officer script FILE instead of the walkthrough's own; exit non-zero at the "
            "first line that fails or on any QML warning"),
        QStringLiteral("FILE"));
    parser.addOption(script);
    AppOptions::addTo(parser);
    parser.process(qapp);

    QString error;
    auto options = AppOptions::from(parser, &error);
    if (!options) {
        std::fprintf(stderr, "kompaun-walkthrough: %s\n", qPrintable(error));
        return 2;
    }
    QTemporaryDir scratch;
    if (parser.isSet(selfTest)) {
        options->documentsDir = scratch.path();
        Application application(*options);
        const int result = runSelfTest(application);
        for (const QString& warning : QmlWarnings::seen())
            std::fprintf(stderr, "QML warning: %s\n", qPrintable(warning));
        return result == 0 && QmlWarnings::seen().isEmpty() ? 0 : 1;
    }
    if (parser.positionalArguments().size() != 1) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 2;
    }
    const QString dir = QDir(parser.positionalArguments().first()).absolutePath();
    options->documentsDir = dir + QStringLiteral("/documents");
    // A gallery of its own, never the user's pictures: the photo flow fills it.
    options->picturesDir = dir + QStringLiteral("/pictures");
    Walkthrough walkthrough(*options, dir);
    const QString path =
        parser.isSet(script) ? QFileInfo(parser.value(script)).absoluteFilePath() : QString();
    return walkthrough.run(path) == 0 ? 0 : 1;
}

#include "app/AppOptions.h"
#include "app/Application.h"
#include "recognition/EngineThreads.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QQuickStyle>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>

Q_IMPORT_QML_PLUGIN(KompaunPlugin)

namespace {

// On a desktop without a display Qt would abort; say what to do instead.
bool displayMissing() {
#if defined(Q_OS_LINUX)
    return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return false;
#endif
}

void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("Compound issuing for the officers of the council."));
    parser.addHelpOption();
    parser.addVersionOption();
    AppOptions::addTo(parser);
}

} // namespace

int main(int argc, char** argv) {
    EngineThreads::settle(argv);
    if (displayMissing()) {
        // --help, --version and a mistyped option still answer without a display.
        QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationVersion(QStringLiteral(KOMPAUN_BUILD_VERSION));
        QCommandLineParser parser;
        describe(parser);
        parser.process(core);
        // A bad value is worth saying before the display: it would stop the offscreen run too.
        QString error;
        if (!AppOptions::from(parser, &error)) {
            std::fprintf(stderr, "kompaun: %s\n", qPrintable(error));
            return 2;
        }
        std::fprintf(stderr,
                     "kompaun: no display found.\n"
                     "  To run without a window: QT_QPA_PLATFORM=offscreen kompaun [options]\n"
                     "  To see every screen offscreen: kompaun-walkthrough DIR (screenshots land in DIR)\n");
        return 2;
    }
    QGuiApplication qapp(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Kompaun"));
    QGuiApplication::setApplicationVersion(QStringLiteral(KOMPAUN_BUILD_VERSION));
    QQuickStyle::setStyle(QStringLiteral("Basic"));

    QCommandLineParser parser;
    describe(parser);
    parser.process(qapp);

    QString error;
    const auto options = AppOptions::from(parser, &error);
    if (!options) {
        std::fprintf(stderr, "kompaun: %s\n", qPrintable(error));
        return 2;
    }
    Application application(*options);
    if (!application.start()) {
        for (const QString& p : application.qmlProblems())
            std::fprintf(stderr, "%s\n", qPrintable(p));
        return 1;
    }
    return qapp.exec();
}

// store-export DB OUT.dat: the saved-compounds database written as the property list earlier versions
// kept ("saveIns.dat"), photographs as Base64, for support staff and any tool that reads that format.
#include "core/SavedCompoundStore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("store-export"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the saved-compounds database (saveIns.sqlite) as an XML property list in the "
                       "old saveIns.dat format: a list of [record, [[thumbnail, full], ...], upload flag], "
                       "photographs as Base64. The database is only read."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("DB"), QStringLiteral("the saved-compounds database"));
    parser.addPositionalArgument(QStringLiteral("OUT.dat"), QStringLiteral("the property list to write"));
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.helpText()));
        return 2;
    }
    const QFileInfo db(args.at(0));
    if (!db.isFile()) {
        std::fprintf(stderr, "store-export: %s is not a file\n", qPrintable(args.at(0)));
        return 1;
    }
    const auto store = SavedCompoundStore::atPath(db.absoluteFilePath(), nullptr);
    QString error;
    if (!store->exportTo(args.at(1), &error)) {
        std::fprintf(stderr, "store-export: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%d compounds written to %s\n", store->countYgDahCetak(), qPrintable(args.at(1)));
    return 0;
}

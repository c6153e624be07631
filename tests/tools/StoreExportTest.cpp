// store-export run as support staff run it.
#include "ToolRun.h"
#include "core/PlistFile.h"
#include "core/SavedCompoundStore.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

TEST(StoreExport, WritesTheOldFormatThatImportsBackTheSame) {
    QTemporaryDir dir;
    SavedCompoundStore store(dir.path(), nullptr);
    SavedCompound a{makeRecord({{QStringLiteral("kompaunRunningNumber"), QStringLiteral("P2026M07000001")},
                                {QStringLiteral("namaPesalah"), QStringLiteral("MUTHU & ANAK-ANAK Ñ")}}),
                    {{QString::fromLatin1(QByteArray("t").toBase64()),
                      QString::fromLatin1(QByteArray(5000, '\xFF').toBase64())}},
                    QStringLiteral("0;gambar=")};
    SavedCompound b{makeRecord({{QStringLiteral("kompaunRunningNumber"), QStringLiteral("P2026M07000002")}}),
                    {},
                    QStringLiteral("1")};
    ASSERT_TRUE(store.saveArrayFile({a, b}));
    const QString out = dir.filePath(QStringLiteral("out.dat"));
    const ToolRun run = runTool(QStringLiteral("store-export"), {store.path(), out});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("2 compounds written to %1\n").arg(out));

    // Read by the property-list library as any old reader would.
    const auto root = PlistFile::read(out);
    ASSERT_TRUE(root);
    const QVariantList list = root->toList();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].toList()[0].toMap().value(QStringLiteral("namaPesalah")).toString(),
              QStringLiteral("MUTHU & ANAK-ANAK Ñ"));
    EXPECT_EQ(list[0].toList()[1].toList()[0].toList()[1].toString(), a.photos[0].full);
    EXPECT_EQ(list[0].toList()[2].toString(), QStringLiteral("0;gambar="));
    EXPECT_EQ(list[1].toList()[1].toList().size(), 0);
    EXPECT_EQ(list[1].toList()[2].toString(), QStringLiteral("1"));

    QTemporaryDir other;
    QFile::copy(out, other.filePath(QStringLiteral("saveIns.dat")));
    SavedCompoundStore back(other.path(), nullptr);
    ASSERT_EQ(back.migrateOldFile().entries, 2);
    const SavedCompoundList again = back.getDicetak();
    ASSERT_EQ(again.size(), 2);
    EXPECT_EQ(*again[0].record, *a.record);
    EXPECT_EQ(again[0].photos, a.photos);
    EXPECT_EQ(again[0].uploadFlag, a.uploadFlag);
    EXPECT_EQ(again[1].uploadFlag, b.uploadFlag);
}

TEST(StoreExport, CommandLine) {
    const ToolRun help = runTool(QStringLiteral("store-export"), {QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("Usage:"))) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("OUT.dat")));
    EXPECT_EQ(runTool(QStringLiteral("store-export"), {}).code, 2);
    const ToolRun missing =
        runTool(QStringLiteral("store-export"),
                {QStringLiteral("/no/such/saveIns.sqlite"), QStringLiteral("/tmp/x.dat")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("not a file")));
}

} // namespace

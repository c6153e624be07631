// store-export run as support staff run it. What the old format holds, and that it imports back the same,
// is checked on the store's own export (StoresTest, StoreMigration); here the tool writes exactly that.
#include "ToolRun.h"
#include "core/SavedCompoundStore.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

TEST(StoreExport, WritesWhatTheStoreExportsAndSaysHowMany) {
    QTemporaryDir dir;
    SavedCompoundStore store(dir.path(), nullptr);
    ASSERT_TRUE(store.saveArrayFile(
        {{makeRecord({{QStringLiteral("kompaunRunningNumber"), QStringLiteral("P2026M07000001")},
                      {QStringLiteral("namaPesalah"), QStringLiteral("MUTHU & ANAK-ANAK Ñ")}}),
          {{QStringLiteral("dA=="), QString::fromLatin1(QByteArray(5000, '\xFF').toBase64())}},
          QStringLiteral("0;gambar=")},
         {makeRecord({{QStringLiteral("kompaunRunningNumber"), QStringLiteral("P2026M07000002")}}),
          {},
          QStringLiteral("1")}}));
    const QString out = dir.filePath(QStringLiteral("out.dat"));
    const ToolRun run = runTool(QStringLiteral("store-export"), {store.path(), out});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("2 compounds written to %1\n").arg(out));
    const QString expected = dir.filePath(QStringLiteral("expected.dat"));
    ASSERT_TRUE(store.exportTo(expected));
    EXPECT_EQ(testsupport::readFile(out), testsupport::readFile(expected));
}

TEST(StoreExport, CommandLine) {
    EXPECT_EQ(runTool(QStringLiteral("store-export"), {QStringLiteral("--help")}).code, 0);
    EXPECT_EQ(runTool(QStringLiteral("store-export"), {}).code, 2);
    const ToolRun missing =
        runTool(QStringLiteral("store-export"),
                {QStringLiteral("/no/such/saveIns.sqlite"), QStringLiteral("/tmp/x.dat")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("not a file")));
}

} // namespace

#include "SyncFixture.h"
#include "platform/fake/FakeSyncServices.h"
#include "sync/CouncilSync.h"

TEST_F(SyncFixture, UpdatePageThatCannotOpenTellsTheOfficerWhereItIs) {
    FakeUrlOpener opener;
    CouncilSync sync(services(), &opener);
    EXPECT_TRUE(sync.kemaskiniApplikasi());
    ASSERT_EQ(opener.opened.size(), 1);
    EXPECT_TRUE(fake->alerts.shown.isEmpty());

    opener.opens = false;
    EXPECT_FALSE(sync.kemaskiniApplikasi());
    ASSERT_EQ(fake->alerts.shown.size(), 1);
    EXPECT_EQ(fake->alerts.last().title, QStringLiteral("Gagal"));
    EXPECT_TRUE(fake->alerts.last().message.contains(opener.opened.last().toString()));
}

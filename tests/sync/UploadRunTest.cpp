// The upload run against the emulator: what is counted, what is kept, and what is sent again.
#include "SyncFixture.h"

#include "../support/TestSupport.h"
#include "core/RecordKeys.h"
#include "sync/UploadFlag.h"
#include "sync/UploadRun.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <map>
#include <random>
#include <set>

using testsupport::waitFor;

namespace {

class Upload : public SyncFixture {
protected:
    void run() {
        UploadRun upload(services());
        int reloads = 0;
        upload.setReload([&] { ++reloads; });
        fake->progress.details.clear();
        upload.muatNaik();
        ASSERT_TRUE(upload.running());
        ASSERT_TRUE(waitFor([&] { return !upload.running(); }, 60000));
        EXPECT_EQ(reloads, 1);
        EXPECT_FALSE(fake->progress.visible);
    }
    QStringList flags() {
        QStringList out;
        for (const SavedCompound& e : app->saveStore().getDicetak())
            out << e.uploadFlag;
        return out;
    }
    std::vector<std::string> targets(int64_t after) {
        std::vector<std::string> out;
        for (const RawRequest& r : requestsSince(after))
            out.push_back(r.target);
        return out;
    }
    QString summary() { return fake->alerts.shown.isEmpty() ? QString() : fake->alerts.last().message; }
};

const std::string compoundPath = "/v2/wsc/muatnaik_kompaun/";
std::string photoPath(const char* number, int position) {
    return std::string("/v2/wsc/muatnaik_gambar_kompaun/") + number + "/" + std::to_string(position);
}

} // namespace

TEST_F(Upload, RejectedCompoundStaysWaitingAndCountsShowProgress) {
    ASSERT_TRUE(app->saveStore().saveArrayFile({compoundEntry("P2016M07000001", 0),
                                                compoundEntry("P2016M07000002", 1),
                                                compoundEntry("P2016M07000003", 0)}));
    setFault("muatnaik_kompaun", Fault::Kind::Retval, 2, 1, 1); // a 2 is not a 1: rejected
    run();
    EXPECT_EQ(fake->progress.labels.constLast(), QStringLiteral("Di muat naik"));
    EXPECT_EQ(summary(), QStringLiteral("Berjaya : 2 , Gagal : 1, Jumlah : 3"));
    EXPECT_EQ(flags(), (QStringList{"1", "0", "1"}));
    EXPECT_EQ(app->saveStore().getDicetakUploadCountNumber(), 1);
    EXPECT_EQ(emulator->store().compounds().size(), 2u);
    EXPECT_TRUE(emulator->store().photos().empty()); // no photograph of a rejected compound

    // The next run purges the two uploaded ones first and sends only the waiting one, with its photograph.
    const int64_t mark = lastRequestId();
    run();
    EXPECT_EQ(targets(mark), (std::vector<std::string>{compoundPath, photoPath("P2016M07000002", 1)}));
    EXPECT_EQ(flags(), QStringList{"1"});
    EXPECT_EQ(summary(), QStringLiteral("Berjaya : 1 , Gagal : 0, Jumlah : 1"));
}

TEST_F(Upload, PhotographRefusedWithZeroAfterItsCompoundIsSentAgainAlone) {
    ASSERT_TRUE(app->saveStore().saveArrayFile({compoundEntry("P2016M07000010", 3)}));
    setFault("muatnaik_gambar_kompaun", Fault::Kind::Retval, 0, 1, 1); // the second photograph is refused
    run();
    EXPECT_EQ(summary(), QStringLiteral("Berjaya : 0 , Gagal : 1, Jumlah : 1"));
    // Still waiting to every reader (leading digit 0), with the accepted position remembered.
    EXPECT_EQ(flags(), QStringList{"0;gambar=1"});
    EXPECT_EQ(app->saveStore().getDicetakUploadCountNumber(), 1);
    ASSERT_EQ(emulator->store().photos().size(), 1u);

    const int64_t mark = lastRequestId();
    setFault("muatnaik_gambar_kompaun", Fault::Kind::Retval, 2, 1); // any answer but 0 accepts
    run();
    // No compound request; photographs 2 and 3 under their own positions.
    EXPECT_EQ(targets(mark),
              (std::vector<std::string>{photoPath("P2016M07000010", 2), photoPath("P2016M07000010", 3)}));
    EXPECT_EQ(summary(), QStringLiteral("Berjaya : 1 , Gagal : 0, Jumlah : 1"));
    EXPECT_EQ(flags(), QStringList{"1"});
    EXPECT_EQ(emulator->store().compounds().at(0).receivedCount, 1);
    const auto photos = emulator->store().photos();
    ASSERT_EQ(photos.size(), 3u);
    for (const auto& p : photos)
        EXPECT_EQ(p.bytes, photoBytes("P2016M07000010", p.index).toStdString()) << p.index;

    // Uploaded entries leave the store at the start of the next run, even one that sends nothing.
    run();
    EXPECT_TRUE(flags().isEmpty());
    EXPECT_EQ(summary(), QStringLiteral("Berjaya : 0 , Gagal : 0, Jumlah : 0"));
}

// A compound the council accepted, cancelled while a photograph still waits: the council hears of the
// cancellation at the next run, once, and keeps the last it received of that number.
TEST_F(Upload, ACancellationAfterAcceptanceIsSentAgainOnceAndReplacesTheCouncilsCopy) {
    SavedCompound cancelledFirst = compoundEntry("P2016M07000031", 0);
    cancelledFirst.record->insert(QString(Key::status_batal), QStringLiteral("1"));
    ASSERT_TRUE(app->saveStore().saveArrayFile({compoundEntry("P2016M07000030", 2), cancelledFirst}));
    setFault("muatnaik_gambar_kompaun", Fault::Kind::Retval, 0, 1, 1); // the second photograph refused
    run();
    // Cancelled before it ever went: sent once, cancelled, and done.
    EXPECT_EQ(flags(), (QStringList{"0;gambar=1", "1"}));

    const qint64 id = app->saveStore().nextWaiting(0)->id;
    ASSERT_TRUE(app->saveStore().setStatusBatal(id, QStringLiteral("1")));
    int64_t mark = lastRequestId();
    setFault("muatnaik_gambar_kompaun", Fault::Kind::Retval, 0, 1); // and refused once more
    run();
    EXPECT_EQ(targets(mark), (std::vector<std::string>{compoundPath, photoPath("P2016M07000030", 2)}));
    EXPECT_EQ(flags(), QStringList{"0;batal;gambar=1"});
    const auto statusOf = [&](const char* number) {
        for (const ReceivedCompound& c : emulator->store().compounds())
            if (c.number == number)
                return std::pair{QJsonDocument::fromJson(QByteArray::fromStdString(c.json))
                                     .object()
                                     .value(QStringLiteral("status_batal"))
                                     .toString(),
                                 c.receivedCount};
        return std::pair{QString(), 0};
    };
    EXPECT_EQ(statusOf("P2016M07000030"), std::pair(QStringLiteral("1"), 2));
    EXPECT_EQ(statusOf("P2016M07000031"), std::pair(QStringLiteral("1"), 1));
    EXPECT_EQ(emulator->store().compounds().size(), 2u);

    // The council has the cancellation: only the photograph goes now.
    mark = lastRequestId();
    run();
    EXPECT_EQ(targets(mark), std::vector<std::string>{photoPath("P2016M07000030", 2)});
    EXPECT_EQ(flags(), QStringList{"1"});
    EXPECT_EQ(statusOf("P2016M07000030"), std::pair(QStringLiteral("1"), 2));
}

TEST_F(Upload, FirstPhotographLostMeansTheRestWait) {
    ASSERT_TRUE(app->saveStore().saveArrayFile(
        {compoundEntry("P2016M07000020", 2), compoundEntry("P2016M07000021", 0)}));
    setFault("muatnaik_gambar_kompaun", Fault::Kind::Drop);
    const int64_t mark = lastRequestId();
    run();
    // Qt itself tries a dropped request once more, so repeats in a row count once here.
    std::vector<std::string> sent = targets(mark);
    sent.erase(std::unique(sent.begin(), sent.end()), sent.end());
    EXPECT_EQ(sent, (std::vector<std::string>{compoundPath, photoPath("P2016M07000020", 1), compoundPath}));
    EXPECT_EQ(flags(), (QStringList{"0;gambar=", "1"}));
    EXPECT_EQ(summary(), QStringLiteral("Berjaya : 1 , Gagal : 1, Jumlah : 2"));
}

TEST_F(Upload, AcceptedButUnmarkedIsNotCountedAsSuccess) {
    ASSERT_TRUE(app->saveStore().saveArrayFile(
        {compoundEntry("P2016M07000040", 1), compoundEntry("P2016M07000041", 0, QStringLiteral("1"))}));
    // Stands in for a phone whose storage refuses writes: the store's own database, told to refuse them.
    SQLiteManager storeDb(app->saveStore().path(), nullptr, nullptr);
    for (const char* change : {"UPDATE", "DELETE"})
        ASSERT_FALSE(storeDb.doQuery(QStringLiteral("CREATE TRIGGER refuse_%1 BEFORE %1 ON compound BEGIN "
                                                    "SELECT RAISE(ABORT, 'disk full'); END")
                                         .arg(QLatin1String(change))));
    run();
    EXPECT_EQ(summary(),
              QStringLiteral("Berjaya : 0 , Gagal : 0, Jumlah : 1\n"
                             "Tidak dapat ditanda : 1 (diterima oleh majlis tetapi tidak dapat ditanda "
                             "dalam telefon; akan dihantar semula)\n"
                             "Kompaun yang telah dimuat naik tidak dapat dibuang dari telefon."));
    EXPECT_EQ(flags(), (QStringList{"0", "1"}));
    // Its photograph went with it; unmarked, both go again at the next run, and the council still
    // holds one of each.
    ASSERT_EQ(emulator->store().photos().size(), 1u);
    ASSERT_FALSE(storeDb.doQuery(QStringLiteral("DROP TRIGGER refuse_UPDATE")));
    ASSERT_FALSE(storeDb.doQuery(QStringLiteral("DROP TRIGGER refuse_DELETE")));
    run();
    EXPECT_EQ(summary(), QStringLiteral("Berjaya : 1 , Gagal : 0, Jumlah : 1"));
    EXPECT_EQ(flags(), QStringList{"1"});
    EXPECT_EQ(emulator->store().compounds().size(), 1u);
    ASSERT_EQ(emulator->store().photos().size(), 1u);
    EXPECT_EQ(emulator->store().photos().at(0).receivedCount, 2);
}

// Faults of every kind at random: nothing is lost, nothing is marked uploaded that the council did not
// keep, and once the faults stop one more run finishes the job.
TEST_F(Upload, RandomFaultsLoseNothing) {
    for (uint32_t seed : {7u, 2016u}) {
        SCOPED_TRACE(seed);
        std::map<std::string, int> photoCounts;
        SavedCompoundList entries;
        std::mt19937 rng(seed);
        for (int i = 0; i < 8; ++i) {
            const QString number =
                QStringLiteral("P2016M07%1").arg(seed * 100 + uint32_t(i), 6, 10, QLatin1Char('0'));
            const int photos = int(rng() % 4);
            photoCounts[number.toStdString()] = photos;
            entries << compoundEntry(number, photos);
        }
        ASSERT_TRUE(app->saveStore().saveArrayFile(entries));
        emulator->faults().setRandom(seed, 0.45, serverDelayMs);

        auto checkInvariants = [&] {
            std::set<std::string> atCouncil;
            for (const auto& c : emulator->store().compounds())
                atCouncil.insert(c.number);
            std::map<std::string, std::set<int>> photosAtCouncil;
            for (const auto& p : emulator->store().photos()) {
                photosAtCouncil[p.compoundNumber].insert(p.index);
                EXPECT_EQ(p.bytes,
                          photoBytes(QString::fromStdString(p.compoundNumber), p.index).toStdString());
            }
            std::set<std::string> onPhone;
            for (const SavedCompound& e : app->saveStore().getDicetak()) {
                const std::string number = e.record->value(Key::kompaunRunningNumber).toStdString();
                onPhone.insert(number);
                const UploadFlag flag = UploadFlag::parse(e.uploadFlag);
                if (flag.uploaded || flag.compoundAccepted) {
                    EXPECT_TRUE(atCouncil.count(number)) << number << " marked without the council having it";
                }
                for (int position : flag.acceptedPhotos)
                    EXPECT_TRUE(photosAtCouncil[number].count(position)) << number << "/" << position;
                if (flag.uploaded) {
                    EXPECT_EQ(int(photosAtCouncil[number].size()), photoCounts[number]) << number;
                }
                EXPECT_EQ(e.photos.size(), photoCounts[number]) << number << " lost a photograph";
            }
            for (const auto& [number, count] : photoCounts) {
                if (onPhone.count(number))
                    continue;
                // Gone from the phone: only when the council has it whole.
                EXPECT_TRUE(atCouncil.count(number)) << number << " lost";
                EXPECT_EQ(int(photosAtCouncil[number].size()), count) << number;
            }
        };
        for (int i = 0; i < 3; ++i) {
            run();
            checkInvariants();
        }
        emulator->faults().clear();
        run();
        checkInvariants();
        for (const QString& flag : flags())
            EXPECT_EQ(flag, QStringLiteral("1"));
        run(); // purges: every compound is then gone from the phone, so the council must hold it whole
        EXPECT_TRUE(flags().isEmpty());
        checkInvariants();
    }
}

#pragma once

#include "core/DeviceIdentity.h"
#include "core/FavouriteStore.h"
#include "core/KualaLumpurDate.h"
#include "core/PickListRelay.h"
#include "core/PositionReader.h"
#include "core/Record.h"
#include "core/ReferenceData.h"
#include "core/RunningNumber.h"
#include "core/SQLiteManager.h"
#include "core/SavedCompoundStore.h"
#include "platform/Clock.h"
#include "platform/Platform.h"

#include <QFuture>
#include <QObject>
#include <QPointer>
#include <QThreadPool>

#include <functional>
#include <memory>

// The hub of the application: the compound record being issued and the stored record being viewed,
// their photographs, preview mode, the signed-in officer, the traffic flag and the pick-list relay.
// It owns the data core's objects and hands them out. The forms and notices reach records through
// getDictionary and getImageArray, so the same code serves issuing and viewing; the steps that only ever
// concern the compound being issued (storing it, the re-use reset, a favourite) ask for it by name with
// saveDictionary and issuingPhotos.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    explicit AppDelegate(Platform platform, const Clock* clock = nullptr, QObject* parent = nullptr);
    ~AppDelegate() override;

    // The data core's share of start-up, in two steps around the building of the screens:
    // the photo list, the reference database and preview mode first ...
    void startUpData();
    // ... then a store of an earlier version imported, the running-number check and the purge of
    // uploaded compounds. Given `done`, the import runs on a worker under the progress overlay (a
    // phone's old store can take many seconds) and `done` runs on this thread once all is in place;
    // without, all of it is done when the call returns.
    void startUpStores(std::function<void()> done = {});
    void startUp() {
        startUpData();
        startUpStores();
    }

    const Platform& platform() const { return platform_; }
    SQLiteManager& dbManager() { return db_; }
    ReferenceData& lookups() { return lookups_; }
    RunningNumber& runningNumbers() { return running_; }
    DeviceIdentity& deviceIdentity() { return device_; }
    SavedCompoundStore& saveStore() { return saveStore_; }
    FavouriteStore& favStore() { return favStore_; }
    const Clock& clock() const { return *clock_; }

    // The compound record.
    void saveDictionaryInit();
    void saveDictionaryInitGunaKembali();
    Record getDictionary() const { return previewIndicator_ ? previewDictionary_ : saveDictionary_; }
    Record saveDictionary() const { return saveDictionary_; }
    void setPreviewDictionary(Record record) { previewDictionary_ = std::move(record); }

    // Photographs.
    PhotoList getImageArray() const { return previewIndicator_ ? imageArrayPreview_ : imageArray_; }
    void setImageArray(const PhotoEntry& entry) {
        imageArray_.append(entry);
        stageImageArray();
    }
    // The photographs of the compound being issued, whichever tab is selected.
    PhotoList issuingPhotos() const { return imageArray_; }
    void removeImageArray(int index);
    void setImageArrayP(const PhotoList& list) { imageArrayPreview_ = list; }
    void cleanUserChoiceGlobal() {
        imageArray_.clear();
        stageImageArray();
    }

    // Preview mode: on while the printed-list tab is selected.
    bool getPreviewIndcator() const { return previewIndicator_; }
    void setPreviewIndicator(bool on);

    void setLaluLintas(bool on) { lalulintas_ = on; }
    bool getLaluLintas() const { return lalulintas_; }

    RecordMap getUserGlobalID() const { return userIDGlobal_; }
    void setUserGlobalID(const RecordMap& officer) { userIDGlobal_ = officer; }

    // The pick-list relay's operations, forwarded to the relay the forms make (it registers itself here
    // and lives as long as the hub).
    void setPickListRelay(PickListRelay& relay) { relay_ = &relay; }
    bool openDropDownList(const PickList& items, const QString& title, TextField* field,
                          const QString& type) {
        return relay_->openDropDownList(items, title, field, type);
    }
    void setKeyTextField(TextField* codeField) { relay_->setKeyTextField(codeField); }
    PickList getDropListArray() const { return relay_->getDropListArray(); }
    void setTextField(const QString& label, const QString& code) { relay_->setTextField(label, code); }
    void onClose() { relay_->onClose(); }

    // The one-shot position read.
    RecordMap getLocation() { return position_.getLocation(); }
    PositionReader& positionReader() { return position_; }

    // Store and numbering steps that tell the officer when the phone could not keep what it must.
    bool insertIntoBaruPBCompound(const Record& record);
    bool addOneRunningNumber();
    // Whether the running number can be trusted never to repeat a number already given; when it cannot,
    // no compound may be issued until the device is registered again.
    bool numberingTrusted() const { return running_.isTrusted(); }
    // For the screen about to make a record: true when it may, otherwise the officer is told (in Malay)
    // why not: numbering that cannot be trusted, or a clock set back before the last compound's time or
    // year.
    bool readyToIssue();

    // One compound is confirmed, stored and printed at a time, whichever screen issues it: a flow takes
    // this before its question and gives it back once its notice has finished. False when another holds it.
    bool beginIssuing(const QObject* flow);
    void endIssuing(const QObject* flow);
    const QObject* issuingFlow() const { return issuing_; }

    // Selecting the first tab: only logged.
    void updateNoLesen();

Q_SIGNALS:
    void previewIndicatorChanged();

private:
    void stageImageArray();
    void writeNumberAndDates(RecordMap& record);
    void writeOfficer(RecordMap& record);
    void showFailure(const QString& message);
    void storesReady(const SavedCompoundStore::Migration& migration);
    void tellNumberingUntrusted();
    // False, with the officer told, when the clock reads earlier than the last compound stored, or the
    // year (of this number, or of the clock when none) is below the last number's.
    bool clockAhead(const QString& number);

    Platform platform_;
    Clock defaultClock_;
    const Clock* clock_;
    SQLiteManager db_;
    ReferenceData lookups_;
    SavedCompoundStore saveStore_;
    FavouriteStore favStore_;
    RunningNumber running_;
    DeviceIdentity device_;
    PositionReader position_;
    // The old store's import while it runs on a worker; waited for before the store goes.
    QFuture<SavedCompoundStore::Migration> importing_;

    RecordMap userIDGlobal_;
    Record saveDictionary_;
    Record previewDictionary_;
    PhotoList imageArray_;
    PhotoList imageArrayPreview_;
    bool previewIndicator_ = false;
    bool lalulintas_ = false;

    PickListRelay* relay_ = nullptr;
    QPointer<const QObject> issuing_;
    // Photographs staged in the store one list at a time, in order, off the interface thread; last, so it
    // is waited for before anything it uses goes.
    QThreadPool stager_;
};

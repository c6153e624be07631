#pragma once

#include "core/Clock.h"
#include "core/DeviceIdentity.h"
#include "core/FavouriteStore.h"
#include "core/PositionReader.h"
#include "core/Record.h"
#include "core/ReferenceData.h"
#include "core/RunningNumber.h"
#include "core/SQLiteManager.h"
#include "core/SavedCompoundStore.h"
#include "platform/Platform.h"

#include <QFuture>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

#include "core/TextField.h"

// The hub of the application: the compound record being issued and the stored record being viewed,
// their photographs, preview mode, the signed-in officer, the traffic flag and the pick-list relay.
// It owns the data core's objects and hands them out; screens reach records only through getDictionary
// and getImageArray, so the same forms and notices serve issuing and viewing.
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
    void setImageArray(const PhotoEntry& entry) { imageArray_.append(entry); }
    // The photographs of the compound being issued, whichever tab is selected.
    PhotoList issuingPhotos() const { return imageArray_; }
    void removeImageArray(int index);
    void setImageArrayP(const PhotoList& list) { imageArrayPreview_ = list; }
    void cleanUserChoiceGlobal() { imageArray_.clear(); }

    // Preview mode: on while the printed-list tab is selected.
    bool getPreviewIndcator() const { return previewIndicator_; }
    void setPreviewIndicator(bool on);

    void setLaluLintas(bool on) { lalulintas_ = on; }
    bool getLaluLintas() const { return lalulintas_; }

    RecordMap getUserGlobalID() const { return userIDGlobal_; }
    void setUserGlobalID(const RecordMap& officer) { userIDGlobal_ = officer; }

    // The pick-list relay. One list at a time: while a list is open another open is refused (false), and
    // a pick or a close with no list open does nothing, so a late or doubled call never writes into a
    // field or a record that another list, or no list, is about.
    bool openDropDownList(const PickList& items, const QString& title, TextField* field, const QString& type);
    void setKeyTextField(TextField* codeField);
    bool isDropDownListOpen() const { return dropDownOpen_; }
    PickList getDropListArray() const { return dropDownListArray_; }
    QString currentType() const { return currentType_; }
    QString currentDDKey() const { return currentDDKey_; }
    void setTextField(const QString& label, const QString& code);
    void onClose();

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
    // The relay asks the window to present the pick list with this title.
    void dropDownListRequested(const QString& title);
    // The open list has closed; `picked` when a row was chosen on it.
    void dropDownListClosed(const QString& type, bool picked);
    void previewIndicatorChanged();

private:
    void writeNumberAndDates(RecordMap& record);
    void writeOfficer(RecordMap& record);
    void showFailure(const QString& message);
    void storesReady(const SavedCompoundStore::Migration& migration);
    void tellNumberingUntrusted();
    // False, with the officer told, when the clock reads earlier than the last compound stored, or the
    // year (of this number, or of the clock when none) is below the last number's.
    bool clockAhead(const QString& number);
    void writeCompanion(RecordMap& record);

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

    PickList dropDownListArray_;
    QPointer<TextField> generalTextField_;
    QPointer<TextField> keyTextField_;
    QString currentType_;
    QString currentDDKey_;
    // The record current when the list opened: a choice lands there even if the record is replaced meanwhile.
    Record dropDownRecord_;
    bool dropDownOpen_ = false;
    bool dropDownPicked_ = false;
    QPointer<const QObject> issuing_;
};

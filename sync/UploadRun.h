#pragma once

#include "core/SavedCompoundStore.h"
#include "sync/SyncServices.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QThread;

// The upload run: every waiting compound of the saved-compounds store is sent to the council, then its
// photographs, one request at a time on a worker thread, while the progress overlay keeps the officer
// from changing the store.
//
// An entry leaves the store only when its compound and every one of its photographs were accepted. A
// photograph that fails after its compound was accepted is remembered in the entry's upload flag (see
// UploadFlag) and sent again, under its original position, by the next run, without the compound.
class UploadRun : public QObject {
    Q_OBJECT
public:
    explicit UploadRun(SyncServices services, QObject* parent = nullptr);
    ~UploadRun() override;

    // UI thread: shows the overlay and starts the run on a worker thread. Ignored while a run is going.
    Q_INVOKABLE void muatNaik();
    // The run itself; blocks on every request. Call on a worker thread (muatNaik does).
    void muatNaikExe();
    // UI thread: the summary alert, then the printed list reloads.
    void kejayaanNotifikasi(const QStringList& counts);

    bool running() const { return worker_ != nullptr; }
    // The printed list's reload (`relo`), called after the summary.
    void setReload(std::function<void()> relo) { relo_ = std::move(relo); }

Q_SIGNALS:
    void finished(int successes, int failures);

private:
    bool sendCompound(const RecordMap& record);
    bool sendPhoto(const QString& compoundNumber, int position, const QString& base64);
    void setDetail(int attempted, const SavedCompoundList& entries);
    void log(const QString& line);

    SyncServices s_;
    std::function<void()> relo_;
    QThread* worker_ = nullptr;
};

#pragma once

#include "core/SavedCompoundStore.h"
#include "sync/SyncServices.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <atomic>
#include <functional>

class QThread;

// The upload run: every waiting compound of the saved-compounds store is sent to the council, then its
// photographs, one request at a time on a worker thread, while the progress overlay keeps the officer
// from changing the store.
//
// An entry leaves the store only when its compound and every one of its photographs were accepted. A
// photograph that fails after its compound was accepted is remembered in the entry's upload flag (see
// UploadFlag) and sent again, under its original position, by the next run, without the compound.
// The flag is written after every accepted request, so a run cut short sends nothing twice.
//
// The run reads one compound at a time and one photograph at a time; the store is never held whole.
// Destroying the run (the application quitting) stops it at once, giving up the request in flight:
// what the council accepted stays marked, the rest stays waiting.
//
// A photograph may take longer than other requests (see HttpRequest::Bound::Upload): on a weak link a
// whole JPEG needs minutes, and cutting it at a fixed time would fail it again at every run. One that
// has failed in several runs in a row anyway is named in the summary (see PhotoFailures).
class UploadRun : public QObject {
    Q_OBJECT
public:
    explicit UploadRun(SyncServices services, QObject* parent = nullptr);
    ~UploadRun() override;

    // UI thread: shows the overlay and starts the run on a worker thread. Ignored while a run is going.
    Q_INVOKABLE void muatNaik();
    // The run itself; blocks on every request. Call on a worker thread (muatNaik does).
    void muatNaikExe();
    // UI thread: the summary alert, then the printed list reloads. counts: successes, failures and,
    // when there were any, compounds the council accepted whose mark could not be written, then
    // "1" when the purge at the start of the run could not be written. stuckPhotos: one line for each
    // photograph that keeps failing.
    void kejayaanNotifikasi(const QStringList& counts, const QStringList& stuckPhotos = {});

    bool running() const { return worker_ != nullptr; }
    // The printed list's reload (`relo`), called after the summary.
    void setReload(std::function<void()> relo) { relo_ = std::move(relo); }

Q_SIGNALS:
    void finished(int successes, int failures);

private:
    bool sendCompound(const RecordMap& record);
    // Empty when the council accepted the photograph, else why not, for the officer. detail: the
    // overlay's text for it, to which the share already sent is added.
    QString sendPhoto(const QString& compoundNumber, int position, QByteArray jpeg, const QString& detail);
    void setDetail(int attempted);
    void log(const QString& line);

    SyncServices s_;
    std::function<void()> relo_;
    QThread* worker_ = nullptr;
    std::atomic<bool> stopping_{false};
};

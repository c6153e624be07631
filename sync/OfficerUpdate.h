#pragma once

#include "sync/SyncServices.h"

#include <QObject>
#include <QStringList>
#include <QThreadPool>

#include <atomic>

// The officer list update behind the login screen's "update officers" button.
class OfficerUpdate : public QObject {
    Q_OBJECT
public:
    // A council's list is a few hundred officers of a few hundred bytes each. Anything past these is
    // refused before it is read (the reply's size while it arrives, each value before any digest), so a
    // runaway or hostile reply costs neither minutes nor memory: 1000 digests take under a minute here.
    static constexpr int maxOfficers = 1000;
    static constexpr qint64 maxReplyBytes = 2 * 1024 * 1024;
    static constexpr int maxFieldLength = 256;

    explicit OfficerUpdate(SyncServices services, QObject* parent = nullptr);
    ~OfficerUpdate() override;

    // Fetches the council's officers and replaces the officers table with them. The reply is read and
    // judged whole first, the passwords digested on two worker threads and the table rebuilt in one
    // transaction on a worker; on anything else, or "Batal" on the overlay, sign-in works as before.
    Q_INVOKABLE void kemas_kini_penguat_kuasa();

    // The reply read as officer rows (the table's columns in order, missing values empty), or why not.
    // Pure, so the reader can be tried without a network.
    struct OfficerList {
        QList<QStringList> rows;
        // Empty when the list can replace the table; otherwise for the log, never a value of the reply.
        QString refusal;
        // Refused for its size: the officer is told the limit.
        bool overLimit = false;
        bool accepted() const { return refusal.isEmpty(); }
    };
    static OfficerList parseOfficers(const QByteArray& body);

    bool busy() const { return busy_; }

Q_SIGNALS:
    void finished(bool succeeded);

private:
    enum class Outcome { Stored, Cancelled, NotStored };
    void onReply(const QByteArray& body);
    void cancel();
    void done(Outcome outcome, const QString& why, bool overLimit);
    void fail(const QString& why);
    SyncServices s_;
    bool busy_ = false;
    // Which run a late reply or answer belongs to: one cancelled is not answered again.
    int run_ = 0;
    std::atomic<bool> cancelled_{false};
    // The worker threads that digest the officers' passwords, two at a time so the peak is two digests'
    // memory whatever the phone's core count; and the one that reads, digests and writes the list. The
    // last members, waited for in the destructor, so nothing they reach has gone.
    QThreadPool digestPool_;
    QThreadPool runner_;
};

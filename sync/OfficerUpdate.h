#pragma once

#include "sync/SyncServices.h"

#include <QObject>
#include <QStringList>
#include <QThreadPool>

#include <optional>

// The officer list update behind the login screen's "update officers" button.
class OfficerUpdate : public QObject {
    Q_OBJECT
public:
    explicit OfficerUpdate(SyncServices services, QObject* parent = nullptr);

    // Fetches the council's officers and replaces the officers table with them. The table is rebuilt in
    // one transaction and only from a reply that reads as a list of officers; on anything else the
    // officer is told it failed and sign-in works exactly as before.
    Q_INVOKABLE void kemas_kini_penguat_kuasa();
    // The reply read as officer rows (the table's columns in order, missing values empty); none when it is
    // not a JSON list of objects. Pure, so the reader can be tried without a network.
    static std::optional<QList<QStringList>> parseOfficers(const QByteArray& body);

    bool busy() const { return busy_; }

Q_SIGNALS:
    void finished(bool succeeded);

private:
    void onReply(const QByteArray& body);
    // The table replaced by rows whose passwords are digests already; the officer told.
    void store(const QList<QStringList>& rows);
    void fail(const QString& why);
    SyncServices s_;
    bool busy_ = false;
    // The worker threads that digest the officers' passwords; the last member, so it is gone (its
    // digests finished) before anything they could reach.
    QThreadPool digestPool_;
};

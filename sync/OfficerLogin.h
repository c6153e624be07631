#pragma once

#include "core/ReferenceData.h"

#include <QObject>
#include <QString>
#include <QThreadPool>

class AppDelegate;

// The local sign-in: staff code and password are checked against the officers table on the phone,
// with no server round trip. The check is a memory-hard digest, so it runs on a worker under the
// progress overlay; the answer comes back on the interface thread.
class OfficerLogin : public QObject {
    Q_OBJECT
public:
    explicit OfficerLogin(AppDelegate& app, QObject* parent = nullptr);
    ~OfficerLogin() override;

    // Starts a sign-in; finished() tells the answer once it is known (the officer record is then set,
    // or the officer has been told why not). Both texts are compared as whole values, exactly as typed.
    // Ignored while an answer is awaited.
    void logIn(const QString& staffCode, const QString& password);
    bool busy() const { return busy_; }

Q_SIGNALS:
    void busyChanged();
    void finished(bool signedIn);
    // A stored digest of an earlier scheme was made again in the current one, after the answer.
    void digestRenewed();

private:
    void answer(const QString& staffCode, const QString& password, ReferenceData::SignInJudgement j);
    void renew(const QString& staffCode, const QString& password, const QString& stored,
               const RecordMap& officer);
    void setBusy(bool busy);
    AppDelegate& app_;
    bool busy_ = false;
    // One check at a time; the last member, and waited for in the destructor, so no answer arrives at an
    // object half gone (a queued answer dies with the object).
    QThreadPool worker_;
};

#include "sync/OfficerUpdate.h"

#include "core/ReferenceData.h"
#include "core/ReferenceSchema.h"
#include "core/SQLiteManager.h"
#include "platform/Alerts.h"
#include "platform/Http.h"
#include "platform/Log.h"
#include "platform/Progress.h"
#include "sync/CouncilOutcome.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QtConcurrent/QtConcurrentMap>

namespace {
// The table as logged after an update: every password and identity-card number masked, as the sign-in
// log masks the typed password.
QString describeRows(const DbRows& rows) {
    QStringList out;
    for (const DbRow& row : rows) {
        QStringList fields;
        for (auto it = row.cbegin(); it != row.cend(); ++it) {
            const QString value = SQLiteManager::text(it.value());
            const bool secret =
                it.key() == QLatin1String("peng_katalaluan") || it.key() == QLatin1String("peng_ic");
            fields << it.key() + QStringLiteral(" = ") +
                          (secret ? QString(value.size(), QLatin1Char('*')) : value);
        }
        out << QStringLiteral("{ ") + fields.join(QStringLiteral("; ")) + QStringLiteral(" }");
    }
    return QStringLiteral("( ") + out.join(QStringLiteral(", ")) + QStringLiteral(" )");
}

const int staffCodeColumn = int(ReferenceSchema::officerColumns().indexOf(QStringLiteral("kod_pekerja")));
const int statusColumn = int(ReferenceSchema::officerColumns().indexOf(QStringLiteral("status")));
} // namespace

OfficerUpdate::OfficerUpdate(SyncServices services, QObject* parent)
    : QObject(parent), s_(std::move(services)) {
    digestPool_.setMaxThreadCount(std::min(2, std::max(1, QThread::idealThreadCount())));
    runner_.setMaxThreadCount(1);
}

OfficerUpdate::~OfficerUpdate() {
    // An application closing mid-update: the digests under way finish (a fraction of a second), no
    // other starts, and the table is left as it was.
    cancelled_ = true;
    runner_.waitForDone();
    digestPool_.waitForDone();
}

void OfficerUpdate::kemas_kini_penguat_kuasa() {
    if (busy_)
        return; // the overlay is up; a second tap would only race the first
    busy_ = true;
    cancelled_ = false;
    const int run = ++run_;
    s_.platform.progress->show(QStringLiteral("Mengemas Kini"));
    s_.platform.progress->offerCancel([this] { cancel(); });
    HttpRequest request;
    request.url = s_.endpoints.officers();
    request.timeoutMs = s_.timeoutMs;
    request.maxBodyBytes = maxReplyBytes;
    s_.http.send(
        request,
        [this, run](const HttpResponse& r) {
            if (run == run_ && busy_)
                onReply(r.body);
        },
        [this, run](const HttpResponse& r) {
            if (run != run_ || !busy_)
                return;
            if (r.tooLarge)
                return done(Outcome::NotStored,
                            QStringLiteral("the reply is larger than %1 bytes").arg(maxReplyBytes), true);
            // Only the status and the engine's words: the reply's bytes may hold passwords.
            fail(QStringLiteral("request failed: %1 %2").arg(r.status).arg(r.errorText));
        },
        this);
}

OfficerUpdate::OfficerList OfficerUpdate::parseOfficers(const QByteArray& body) {
    OfficerList list;
    const auto refuse = [&](const QString& why, bool overLimit = false) {
        list.rows.clear();
        list.refusal = why;
        list.overLimit = overLimit;
        return list;
    };
    if (body.size() > maxReplyBytes)
        return refuse(QStringLiteral("the reply is larger than %1 bytes").arg(maxReplyBytes), true);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return refuse(QStringLiteral("the reply is not a JSON list of officer objects"));
    const QJsonArray officers = doc.array();
    if (officers.isEmpty())
        return refuse(QStringLiteral("the list holds no officer"));
    if (officers.size() > maxOfficers)
        return refuse(
            QStringLiteral("the list holds %1 officers, more than %2").arg(officers.size()).arg(maxOfficers),
            true);
    const QStringList columns = ReferenceSchema::officerColumns();
    bool anyCanSignIn = false;
    for (qsizetype i = 0; i < officers.size(); ++i) {
        if (!officers[i].isObject())
            return refuse(QStringLiteral("officer %1 is not an object").arg(i + 1));
        const QJsonObject officer = officers[i].toObject();
        QStringList values;
        for (const QString& column : columns) {
            QString value = CouncilWire::textValue(officer.value(column)).value_or(QString());
            if (value.size() > maxFieldLength)
                return refuse(QStringLiteral("officer %1: %2 is longer than %3 characters")
                                  .arg(i + 1)
                                  .arg(column)
                                  .arg(maxFieldLength),
                              true);
            values << std::move(value);
        }
        if (values[staffCodeColumn].isEmpty())
            return refuse(QStringLiteral("officer %1 has no staff code").arg(i + 1));
        const bool active = values[statusColumn] == QLatin1String("A");
        if (active && values[ReferenceSchema::passwordColumn].isEmpty())
            return refuse(
                QStringLiteral("officer %1 is active without a password").arg(values[staffCodeColumn]));
        anyCanSignIn = anyCanSignIn || active;
        list.rows << values;
    }
    // A list nobody can sign in with would lock every officer out of the phone until the next update.
    if (!anyCanSignIn)
        return refuse(QStringLiteral("no officer in the list could sign in"));
    return list;
}

void OfficerUpdate::onReply(const QByteArray& body) {
    // Read, judged, digested and written on workers: the overlay keeps moving and counts the officers,
    // and "Batal" stops the digests before the table is touched.
    const int run = run_;
    const QString path = s_.db.getDatabasePath();
    runner_.start([this, run, body, path] {
        const OfficerList list = parseOfficers(body);
        const auto answer = [this, run](Outcome outcome, const QString& why, bool overLimit = false) {
            QMetaObject::invokeMethod(
                this,
                [this, run, outcome, why, overLimit] {
                    if (run == run_ && busy_)
                        done(outcome, why, overLimit);
                },
                Qt::QueuedConnection);
        };
        if (!list.accepted())
            return answer(Outcome::NotStored, list.refusal, list.overLimit);
        const qsizetype total = list.rows.size();
        std::atomic<int> digested{0};
        const QList<QStringList> rows =
            QtConcurrent::blockingMapped(&digestPool_, list.rows, [&](const QStringList& row) {
                if (cancelled_)
                    return QStringList();
                QStringList made = ReferenceData::withDigest(row);
                const int count = ++digested;
                QMetaObject::invokeMethod(
                    this,
                    [this, run, count, total] {
                        if (run == run_ && busy_)
                            s_.platform.progress->setDetail(
                                QStringLiteral("%1 daripada %2 penguat kuasa").arg(count).arg(total));
                    },
                    Qt::QueuedConnection);
                return made;
            });
        if (cancelled_)
            return answer(Outcome::Cancelled, QString());
        // A connection of this thread's own: the interface thread's handle is not shared.
        SQLiteManager db(path, nullptr, s_.platform.log);
        if (!ReferenceData(db, s_.platform.log).replaceDigestedOfficers(rows))
            return answer(
                Outcome::NotStored,
                QStringLiteral("the officers table could not be rebuilt; the previous one is kept"));
        answer(Outcome::Stored, QString());
    });
}

void OfficerUpdate::cancel() {
    if (!busy_)
        return;
    cancelled_ = true;
    // Still waiting for the council: nothing to stop but the wait. Otherwise the worker answers.
    if (runner_.activeThreadCount() == 0) {
        ++run_;
        done(Outcome::Cancelled, QString(), false);
    }
}

void OfficerUpdate::done(Outcome outcome, const QString& why, bool overLimit) {
    if (outcome == Outcome::NotStored && !overLimit)
        return fail(why);
    busy_ = false;
    switch (outcome) {
    case Outcome::Stored:
        reportCouncilSuccess(
            s_.platform, QStringLiteral("Check User : %1").arg(describeRows(s_.lookups.checkUser())),
            QStringLiteral("Berjaya mengemaskini penguat kuasa. Sila masukkan id dan kata laluan anda. Jika "
                           "masih tidak berjaya sila semak dgn pihak pengerusan IT anda."));
        break;
    case Outcome::Cancelled:
        s_.platform.log->write(
            QStringLiteral("kemas_kini_penguat_kuasa: cancelled; the previous officers kept"));
        s_.platform.progress->hide();
        s_.platform.alerts->show(
            {QStringLiteral("Notifikasi"),
             QStringLiteral("Kemaskini penguat kuasa dibatalkan. Senarai penguat kuasa lama "
                            "dikekalkan."),
             {QStringLiteral("OK")},
             0,
             {}});
        break;
    case Outcome::NotStored:
        s_.platform.log->write(QStringLiteral("kemas_kini_penguat_kuasa: ") + why);
        s_.platform.progress->hide();
        s_.platform.alerts->show(
            {QStringLiteral("Gagal"),
             QStringLiteral("Operasi Mengemaskini gagal. Senarai penguat kuasa dari pelayan "
                            "ORVA melebihi had (%1 orang, %2 MB, %3 aksara satu maklumat). "
                            "Senarai lama dikekalkan; sila hubungi pihak pengurusan IT anda.")
                 .arg(maxOfficers)
                 .arg(maxReplyBytes / (1024 * 1024))
                 .arg(maxFieldLength),
             {QStringLiteral("YA")},
             0,
             {}});
        break;
    }
    Q_EMIT finished(outcome == Outcome::Stored);
}

void OfficerUpdate::fail(const QString& why) {
    busy_ = false;
    reportCouncilFailure(s_.platform, QStringLiteral("kemas_kini_penguat_kuasa"), why,
                         QStringLiteral("Mengemaskini"));
    Q_EMIT finished(false);
}

#include "sync/OfficerUpdate.h"

#include "core/ReferenceData.h"
#include "core/ReferenceSchema.h"
#include "core/SQLiteManager.h"
#include "platform/Http.h"
#include "platform/Progress.h"
#include "sync/CouncilOutcome.h"

#include <QFutureWatcher>
#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>
#include <QtConcurrent/QtConcurrentMap>

namespace {
// The table as logged after an update: every password masked, as the sign-in log masks the typed one.
QString describeRows(const DbRows& rows) {
    QStringList out;
    for (const DbRow& row : rows) {
        QStringList fields;
        for (auto it = row.cbegin(); it != row.cend(); ++it) {
            const QString value = SQLiteManager::text(it.value());
            fields << it.key() + QStringLiteral(" = ") +
                          (it.key() == QLatin1String("peng_katalaluan")
                               ? QString(value.size(), QLatin1Char('*'))
                               : value);
        }
        out << QStringLiteral("{ ") + fields.join(QStringLiteral("; ")) + QStringLiteral(" }");
    }
    return QStringLiteral("( ") + out.join(QStringLiteral(", ")) + QStringLiteral(" )");
}
} // namespace

OfficerUpdate::OfficerUpdate(SyncServices services, QObject* parent)
    : QObject(parent), s_(std::move(services)) {
    // Each digest holds its memory while it runs: two at a time keep the update's peak at two digests'
    // memory, whatever the phone's core count.
    digestPool_.setMaxThreadCount(std::min(2, std::max(1, QThread::idealThreadCount())));
}

void OfficerUpdate::kemas_kini_penguat_kuasa() {
    if (busy_)
        return; // the overlay is up; a second tap would only race the first
    busy_ = true;
    s_.platform.progress->show(QStringLiteral("Mengemas Kini"));
    HttpRequest request;
    request.url = s_.endpoints.officers();
    request.timeoutMs = s_.timeoutMs;
    s_.http.send(
        request, [this](const HttpResponse& r) { onReply(r.body); },
        [this](const HttpResponse& r) {
            fail(QStringLiteral("request failed: %1 %2").arg(r.status).arg(r.errorText));
        },
        this);
}

std::optional<QList<QStringList>> OfficerUpdate::parseOfficers(const QByteArray& body) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return std::nullopt;
    QList<QStringList> rows;
    for (const QJsonValue& item : doc.array()) {
        if (!item.isObject())
            return std::nullopt;
        QStringList values;
        for (const QString& column : ReferenceSchema::officerColumns())
            values << CouncilWire::textValue(item.toObject().value(column)).value_or(QString());
        rows << values;
    }
    return rows;
}

void OfficerUpdate::onReply(const QByteArray& body) {
    // Read the whole reply before touching the table: a half-read list must not replace a good one.
    const std::optional<QList<QStringList>> parsed = parseOfficers(body);
    if (!parsed)
        return fail(QStringLiteral("reply is not a JSON list of officer objects: %1")
                        .arg(QString::fromUtf8(body.left(200))));
    // A memory-hard digest per officer takes the best part of a minute for a council's list: done on
    // worker threads, so the overlay keeps moving and counts them; the table is written here once they
    // are all done, in order.
    auto* digests = new QFutureWatcher<QStringList>(this);
    const qsizetype total = parsed->size();
    connect(digests, &QFutureWatcherBase::progressValueChanged, this, [this, total](int done) {
        s_.platform.progress->setDetail(QStringLiteral("%1 daripada %2 penguat kuasa").arg(done).arg(total));
    });
    connect(digests, &QFutureWatcherBase::finished, this, [this, digests] {
        digests->deleteLater();
        store(digests->future().results());
    });
    s_.platform.progress->setDetail(QStringLiteral("0 daripada %1 penguat kuasa").arg(total));
    digests->setFuture(QtConcurrent::mapped(
        &digestPool_, *parsed, [](const QStringList& row) { return ReferenceData::withDigest(row); }));
}

void OfficerUpdate::store(const QList<QStringList>& rows) {
    const bool rebuilt = s_.lookups.replaceDigestedOfficers(rows);
    if (!rebuilt)
        return fail(QStringLiteral("the officers table could not be rebuilt; the previous one is kept"));

    busy_ = false;
    reportCouncilSuccess(
        s_.platform, QStringLiteral("Check User : %1").arg(describeRows(s_.lookups.checkUser())),
        QStringLiteral("Berjaya mengemaskini penguat kuasa. Sila masukkan id dan kata laluan anda. Jika "
                       "masih tidak berjaya sila semak dgn pihak pengerusan IT anda."));
    Q_EMIT finished(true);
}

void OfficerUpdate::fail(const QString& why) {
    busy_ = false;
    reportCouncilFailure(s_.platform, QStringLiteral("kemas_kini_penguat_kuasa"), why,
                         QStringLiteral("Mengemaskini"));
    Q_EMIT finished(false);
}

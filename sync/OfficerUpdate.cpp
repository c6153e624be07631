#include "sync/OfficerUpdate.h"

#include "core/SQLiteManager.h"
#include "platform/Alerts.h"
#include "platform/Http.h"
#include "platform/Log.h"
#include "platform/Progress.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
const QStringList columns = {
    QStringLiteral("peng_id"),       QStringLiteral("peng_nama"),   QStringLiteral("peng_katalaluan"),
    QStringLiteral("peng_ic"),       QStringLiteral("kod_pekerja"), QStringLiteral("tarikh_daftar"),
    QStringLiteral("tarikh_update"), QStringLiteral("status"),      QStringLiteral("peng_ubah"),
    QStringLiteral("jawatan"),       QStringLiteral("tkh_ubah")};

QString describeRows(const DbRows& rows) {
    QStringList out;
    for (const DbRow& row : rows) {
        QStringList fields;
        for (auto it = row.cbegin(); it != row.cend(); ++it)
            fields << it.key() + QStringLiteral(" = ") + SQLiteManager::text(it.value());
        out << QStringLiteral("{ ") + fields.join(QStringLiteral("; ")) + QStringLiteral(" }");
    }
    return QStringLiteral("( ") + out.join(QStringLiteral(", ")) + QStringLiteral(" )");
}
} // namespace

const char* const OfficerUpdate::createStatement =
    "CREATE TABLE IF NOT EXISTS 'gc_penguatkuasa' ('no' INTEGER PRIMARY KEY  NOT NULL,'peng_id' TEXT, "
    "'peng_nama' "
    "TEXT, 'peng_katalaluan' TEXT, 'peng_ic' TEXT, 'kod_pekerja' TEXT, 'tarikh_daftar' TEXT, 'tarikh_update' "
    "TEXT, "
    "'status' TEXT, 'peng_ubah' TEXT, 'jawatan' TEXT, 'tkh_ubah' TEXT);";

OfficerUpdate::OfficerUpdate(SyncServices services, QObject* parent)
    : QObject(parent), s_(std::move(services)) {}

void OfficerUpdate::kemas_kini_penguat_kuasa() {
    if (busy_)
        return; // the overlay is up; a second tap would only race the first
    busy_ = true;
    s_.platform.progress->show(QStringLiteral("Mengemas Kini"));
    HttpRequest request;
    request.url = s_.endpoints.officers();
    request.timeoutMs = s_.timeoutMs;
    s_.http->send(
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
        for (const QString& column : columns)
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
    const QList<QStringList>& rows = *parsed;

    SQLiteManager& db = *s_.db;
    const bool rebuilt = db.runInTransaction([&] {
        if (const auto e = db.doQuery(QStringLiteral("drop table if exists gc_penguatkuasa")))
            s_.platform.log->write(QStringLiteral("Error: %1").arg(e->describe()));
        if (const auto e = db.doQuery(QString::fromLatin1(createStatement))) {
            s_.platform.log->write(QStringLiteral("Error: %1").arg(e->describe()));
            return false;
        }
        for (const QStringList& values : rows) {
            // A row that cannot be inserted is skipped; the others still make a usable table.
            db.doQuery(QStringLiteral(
                           "INSERT INTO gc_penguatkuasa ( peng_id, peng_nama, peng_katalaluan, peng_ic, "
                           "kod_pekerja, tarikh_daftar, tarikh_update, status, peng_ubah, jawatan, tkh_ubah "
                           ") VALUES(?,?,?,?,?,?,?,?,?,?,?)"),
                       values);
        }
        return true;
    });
    if (!rebuilt)
        return fail(QStringLiteral("the officers table could not be rebuilt; the previous one is kept"));

    busy_ = false;
    s_.platform.progress->hide();
    s_.platform.log->write(
        QStringLiteral("Check User : %1")
            .arg(describeRows(db.getRowsForQuery(QStringLiteral("SELECT * FROM gc_penguatkuasa")))));
    s_.platform.alerts->show(
        Alert{QStringLiteral("Notifikasi"),
              QStringLiteral("Berjaya mengemaskini penguat kuasa. Sila masukkan id dan kata laluan "
                             "anda. Jika masih tidak berjaya sila semak dgn pihak pengerusan IT anda."),
              {QStringLiteral("YA")},
              0,
              {}});
    Q_EMIT finished(true);
}

void OfficerUpdate::fail(const QString& why) {
    busy_ = false;
    s_.platform.log->write(QStringLiteral("kemas_kini_penguat_kuasa: %1").arg(why));
    s_.platform.progress->hide();
    s_.platform.alerts->show(
        Alert{QStringLiteral("Gagal"),
              QStringLiteral("Operasi Mengemaskini gagal. Ia berkemungkinan pelayar ORVA tidak dapat "
                             "disambung atau kegagalan internet anda. Sila cuba lagi."),
              {QStringLiteral("YA")},
              0,
              {}});
    Q_EMIT finished(false);
}

#include "sync/CouncilEndpoints.h"

#include "core/PositionReader.h"
#include "core/RecordKeys.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

QString CouncilEndpoints::compiledBaseUrl() {
#ifdef KOMPAUN_BASE_URL
    return QStringLiteral(KOMPAUN_BASE_URL);
#else
    return {};
#endif
}

CouncilEndpoints::CouncilEndpoints(const QString& baseUrl) : base_(baseUrl.toUtf8()) {
    while (base_.endsWith('/'))
        base_.chop(1);
}

QByteArray CouncilEndpoints::segment(const QString& text) {
    return QUrl::toPercentEncoding(text);
}

QUrl CouncilEndpoints::make(const QByteArray& encodedPath) const {
    // A segment "." or ".." (however encoded: "%2E" is "." to Qt and to every server) would be resolved
    // away before the request leaves, and the request would reach another endpoint. No encoding keeps it
    // in place, so such an address is not made at all.
    for (const QByteArray& piece : encodedPath.split('/')) {
        const QByteArray decoded = QByteArray::fromPercentEncoding(piece);
        if (decoded == "." || decoded == "..")
            return {};
    }
    return QUrl::fromEncoded(base_ + encodedPath, QUrl::StrictMode);
}

QUrl CouncilEndpoints::officers() const {
    return make("/v2/wsc/penguatkuasa_pelbagai");
}
QUrl CouncilEndpoints::lastNumber(const QString& deviceId) const {
    return make("/v2/wsc/lastnumber_pelbagai/" + segment(deviceId));
}
QUrl CouncilEndpoints::compoundUpload() const {
    return make("/v2/wsc/muatnaik_kompaun/");
}
QUrl CouncilEndpoints::photoUpload(const QString& compoundNumber, int photoIndex) const {
    return make("/v2/wsc/muatnaik_gambar_kompaun/" + segment(compoundNumber) + '/' +
                QByteArray::number(photoIndex));
}
QUrl CouncilEndpoints::locationReport() const {
    return make("/v2/wsc/dlu/");
}
QUrl CouncilEndpoints::taxPage(const QString& account) const {
    return make("/v2/wsc/mc/" + segment(account));
}
QUrl CouncilEndpoints::licencePage(const QString& account) const {
    return make("/v2/wsc/ml/" + segment(account));
}
QUrl CouncilEndpoints::updatePage() const {
    return make("/v2/iosinstallation/KompaunIns.html");
}

namespace CouncilWire {

QByteArray compoundJson(const RecordMap& record) {
    QJsonObject object;
    for (auto it = record.cbegin(); it != record.cend(); ++it)
        object.insert(it.key(), it.value());
    // No position is the "%f" zero pair on the wire, as the council's service has always received it
    // (a compound stored with empty texts by an earlier version included); it may refuse an empty
    // number. A record without the keys is sent as it is.
    for (const QLatin1String key : {Key::lat, Key::long_})
        if (object.contains(key) && object.value(key).toString().trimmed().isEmpty())
            object.insert(key, PositionReader::noPosition());
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray formValue(const QByteArray& jsonArrayText) {
    // Every byte outside the unreserved set, so the council's form handler reads back exactly the JSON:
    // a "+" would otherwise arrive as a space, and "%41" as "A".
    return "json=" + QUrl::toPercentEncoding(QString::fromUtf8(jsonArrayText));
}

QByteArray compoundFormBody(const RecordMap& record) {
    return formValue("[" + compoundJson(record) + "]");
}

QByteArray photoMultipartBody(const QByteArray& jpeg) {
    QByteArray body;
    body.reserve(jpeg.size() + 256);
    body += "\r\n";
    body += "--" + QByteArray(boundary) + "\r\n";
    body += "Content-Disposition: form-data; name=\"userfile\"; filename=\".jpg\"\r\n";
    body += "Content-Type: application/json\r\n";
    body += "\r\n";
    body += jpeg;
    body += "\r\n--" + QByteArray(boundary) + "--\r\n";
    return body;
}

QByteArray locationFormBody(const QJsonObject& report) {
    return formValue("[" + QJsonDocument(report).toJson(QJsonDocument::Compact) + "]");
}

namespace {
HttpRequest formPost(const QUrl& url, const QByteArray& body) {
    HttpRequest r;
    r.method = "POST";
    r.url = url;
    r.headers = {{"Content-Type", "application/x-www-form-urlencoded"},
                 {"Content-Length", QByteArray::number(body.size())}};
    r.body = body;
    return r;
}
} // namespace

HttpRequest compoundRequest(const CouncilEndpoints& endpoints, const RecordMap& record) {
    return formPost(endpoints.compoundUpload(), compoundFormBody(record));
}

HttpRequest photoRequest(const CouncilEndpoints& endpoints, const QString& compoundNumber, int photoIndex,
                         const QByteArray& jpeg) {
    HttpRequest r;
    r.method = "POST";
    r.url = endpoints.photoUpload(compoundNumber, photoIndex);
    r.headers = {{"Content-Type", "multipart/form-data; boundary=" + QByteArray(boundary)}};
    r.body = photoMultipartBody(jpeg);
    return r;
}

HttpRequest locationRequest(const CouncilEndpoints& endpoints, const QJsonObject& report) {
    return formPost(endpoints.locationReport(), locationFormBody(report));
}

std::optional<QJsonObject> firstObject(const QByteArray& reply) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(reply, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray() || doc.array().isEmpty() ||
        !doc.array().first().isObject())
        return std::nullopt;
    return doc.array().first().toObject();
}

qint64 integerValue(const QJsonValue& value) {
    if (value.isDouble()) {
        const double d = value.toDouble();
        return std::isfinite(d) && std::fabs(d) < 9.0e18 ? qint64(d) : 0;
    }
    if (value.isBool())
        return value.toBool() ? 1 : 0;
    if (!value.isString())
        return 0;
    const QString t = value.toString().trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        negative = t[i++] == QLatin1Char('-');
    qint64 n = 0;
    for (; i < t.size() && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9'); ++i) {
        if (n > 100000000000000000LL)
            break;
        n = n * 10 + (t[i].unicode() - '0');
    }
    return negative ? -n : n;
}

std::optional<QString> textValue(const QJsonValue& value) {
    if (value.isString())
        return value.toString();
    if (value.isDouble()) {
        const double d = value.toDouble();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.0e15)
            return QString::number(qint64(d));
        return QString::number(d, 'g', 17);
    }
    return std::nullopt;
}

} // namespace CouncilWire

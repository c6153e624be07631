#pragma once

#include "core/Record.h"
#include "platform/Http.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QUrl>

#include <optional>

// Every address of the council's web service, under one configured base. Path segments that come
// from input (device id, compound number, account) are percent-encoded, so a "/" or "?" typed by an
// officer cannot change which endpoint is called; a segment that is "." or ".." gives an invalid
// address (nothing is sent), since it would be resolved away on the way.
class CouncilEndpoints {
public:
    static QString compiledBaseUrl();
    explicit CouncilEndpoints(const QString& baseUrl = compiledBaseUrl());

    QString baseUrl() const { return QString::fromUtf8(base_); }
    QUrl officers() const;
    QUrl lastNumber(const QString& deviceId) const;
    QUrl compoundUpload() const;
    QUrl photoUpload(const QString& compoundNumber, int photoIndex) const;
    QUrl locationReport() const;
    QUrl taxPage(const QString& account) const;
    QUrl licencePage(const QString& account) const;
    QUrl updatePage() const;

    static QByteArray segment(const QString& text);

private:
    QUrl make(const QByteArray& encodedPath) const;
    QByteArray base_;
};

// The bytes the council's server expects, and how its replies are read.
namespace CouncilWire {

// The multipart boundary the council's photograph handler is known to accept.
inline constexpr char boundary[] = "---------------------------14737809831466499882746641449";

// The compound record as one compact JSON object, every key with its text.
QByteArray compoundJson(const RecordMap& record);
// "json=" and the JSON value "[...]" as a form value: every byte outside the unreserved set
// (letters, digits, "-", ".", "_", "~") percent-encoded. The council reads the body as an ordinary form.
QByteArray formValue(const QByteArray& jsonArrayText);
QByteArray compoundFormBody(const RecordMap& record);
QByteArray photoMultipartBody(const QByteArray& jpeg);
// "json=[...]" around the position object, encoded as the compound's.
QByteArray locationFormBody(const QJsonObject& report);

HttpRequest compoundRequest(const CouncilEndpoints& endpoints, const RecordMap& record);
HttpRequest photoRequest(const CouncilEndpoints& endpoints, const QString& compoundNumber, int photoIndex,
                         const QByteArray& jpeg);
HttpRequest locationRequest(const CouncilEndpoints& endpoints, const QJsonObject& report);

// The first element of a JSON array reply, when it is an object.
std::optional<QJsonObject> firstObject(const QByteArray& reply);
// A member read as an integer: numbers truncated, texts by their leading digits, anything else 0.
qint64 integerValue(const QJsonValue& value);
// The text form of a number or a text member; none for anything else.
std::optional<QString> textValue(const QJsonValue& value);

} // namespace CouncilWire

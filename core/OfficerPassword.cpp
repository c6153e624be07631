#include "core/OfficerPassword.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>

namespace {

constexpr QLatin1String scheme{"pbkdf2-sha256"};
// Far above any work factor this application writes, far below one that would hang a sign-in.
constexpr int largestIterations = 10000000;

struct Parts {
    int iterations = 0;
    QByteArray salt;
    QByteArray digest;
};

bool parse(const QString& stored, Parts& out) {
    const QStringList fields = stored.split(QLatin1Char('$'));
    if (fields.size() != 4 || fields[0] != scheme)
        return false;
    bool ok = false;
    out.iterations = fields[1].toInt(&ok);
    if (!ok || out.iterations < 1 || out.iterations > largestIterations ||
        fields[1] != QString::number(out.iterations))
        return false;
    const auto salt =
        QByteArray::fromBase64Encoding(fields[2].toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    const auto digest =
        QByteArray::fromBase64Encoding(fields[3].toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!salt || !digest || salt.decoded.isEmpty() || digest.decoded.size() != OfficerPassword::digestBytes)
        return false;
    out.salt = salt.decoded;
    out.digest = digest.decoded;
    return true;
}

QByteArray derive(const QString& password, const QByteArray& salt, int iterations) {
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt, iterations,
                                              OfficerPassword::digestBytes);
}

bool constantTimeEqual(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

} // namespace

namespace OfficerPassword {

QString digest(const QString& password, const QByteArray& salt, int rounds) {
    return QStringLiteral("%1$%2$%3$%4")
        .arg(scheme)
        .arg(rounds)
        .arg(QString::fromLatin1(salt.toBase64()),
             QString::fromLatin1(derive(password, salt, rounds).toBase64()));
}

QString digest(const QString& password) {
    QByteArray salt(saltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(salt.data()), saltBytes / 4);
    return digest(password, salt, iterations);
}

bool isDigest(const QString& stored) {
    Parts parts;
    return parse(stored, parts);
}

bool matches(const QString& stored, const QString& typed) {
    Parts parts;
    if (!parse(stored, parts))
        return false;
    return constantTimeEqual(derive(typed, parts.salt, parts.iterations), parts.digest);
}

} // namespace OfficerPassword

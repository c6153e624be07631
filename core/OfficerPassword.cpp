#include "core/OfficerPassword.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>

#include <argon2.h>

#include <cstdlib>
#include <vector>

namespace {

constexpr QLatin1String pbkdf2Scheme{"pbkdf2-sha256"};
// Far above any work factor this application writes, far below one that would hang a sign-in: a
// stored value from a damaged or crafted table cannot make a sign-in allocate gigabytes or run for
// minutes.
constexpr int largestIterations = 10000000;
constexpr uint32_t largestLanes = 4;

struct Pbkdf2 {
    int iterations = 0;
    QByteArray salt;
    QByteArray digest;
};

bool parsePbkdf2(const QString& stored, Pbkdf2& out) {
    const QStringList fields = stored.split(QLatin1Char('$'));
    if (fields.size() != 4 || fields[0] != pbkdf2Scheme)
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

struct Argon2id {
    uint32_t memoryKiB = 0;
    uint32_t passes = 0;
    uint32_t lanes = 0;
    QByteArray salt;
    QByteArray digest;
};

QByteArray fromUnpaddedBase64(const QString& text) {
    const auto decoded =
        QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? decoded.decoded : QByteArray();
}

bool parseArgon2id(const QString& stored, Argon2id& out) {
    // Salt and digest in unpadded Base64, as the library writes them; the library checks the rest.
    static const QRegularExpression form(
        QStringLiteral("^\\$argon2id\\$v=19\\$m=([1-9][0-9]{0,9}),t=([1-9][0-9]{0,9}),p=([1-9][0-9]{0,9})"
                       "\\$([A-Za-z0-9+/]{11,88})\\$([A-Za-z0-9+/]{22,88})$"));
    const QRegularExpressionMatch m = form.match(stored);
    if (!m.hasMatch())
        return false;
    out.memoryKiB = m.captured(1).toUInt();
    out.passes = m.captured(2).toUInt();
    out.lanes = m.captured(3).toUInt();
    if (out.passes < 1 || out.lanes > largestLanes || out.memoryKiB < 8 * out.lanes ||
        out.memoryKiB > OfficerPassword::largestMemoryKiB ||
        uint64_t(out.memoryKiB) * out.passes > OfficerPassword::largestWorkKiB)
        return false;
    out.salt = fromUnpaddedBase64(m.captured(4));
    out.digest = fromUnpaddedBase64(m.captured(5));
    return out.salt.size() >= ARGON2_MIN_SALT_LENGTH && !out.digest.isEmpty();
}

QByteArray derivePbkdf2(const QString& password, const QByteArray& salt, int iterations) {
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

QByteArray freshSalt() {
    QByteArray salt(OfficerPassword::saltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(salt.data()),
                                          OfficerPassword::saltBytes / 4);
    return salt;
}

} // namespace

namespace OfficerPassword {

QString digest(const QString& password, const QByteArray& salt, int rounds) {
    return QStringLiteral("%1$%2$%3$%4")
        .arg(pbkdf2Scheme)
        .arg(rounds)
        .arg(QString::fromLatin1(salt.toBase64()),
             QString::fromLatin1(derivePbkdf2(password, salt, rounds).toBase64()));
}

QString pbkdf2Digest(const QString& password) {
    return digest(password, freshSalt(), iterations);
}

QString argon2idDigest(const QString& password, const QByteArray& salt, uint32_t memory, uint32_t rounds) {
    const QByteArray utf8 = password.toUtf8();
    std::vector<char> encoded(
        argon2_encodedlen(rounds, memory, lanes, uint32_t(salt.size()), digestBytes, Argon2_id) + 1);
    const int rc =
        argon2id_hash_encoded(rounds, memory, lanes, utf8.constData(), size_t(utf8.size()), salt.constData(),
                              size_t(salt.size()), digestBytes, encoded.data(), encoded.size());
    return rc == ARGON2_OK ? QString::fromLatin1(encoded.data()) : QString();
}

QString digest(const QString& password) {
    const QString made = argon2idDigest(password, freshSalt(), memoryKiB, passes);
    return made.isEmpty() ? pbkdf2Digest(password) : made;
}

bool isDigest(const QString& stored) {
    Pbkdf2 p;
    Argon2id a;
    return parseArgon2id(stored, a) || parsePbkdf2(stored, p);
}

bool isCurrent(const QString& stored) {
    Argon2id a;
    return parseArgon2id(stored, a) && a.memoryKiB == memoryKiB && a.passes == passes && a.lanes == lanes;
}

Check check(const QString& stored, const QString& typed, Allocate allocate) {
    if (Argon2id a; parseArgon2id(stored, a)) {
        QByteArray utf8 = typed.toUtf8();
        QByteArray salt = a.salt;
        QByteArray made(a.digest.size(), Qt::Uninitialized);
        argon2_context ctx{};
        ctx.out = reinterpret_cast<uint8_t*>(made.data());
        ctx.outlen = uint32_t(made.size());
        ctx.pwd = reinterpret_cast<uint8_t*>(utf8.data());
        ctx.pwdlen = uint32_t(utf8.size());
        ctx.salt = reinterpret_cast<uint8_t*>(salt.data());
        ctx.saltlen = uint32_t(salt.size());
        ctx.t_cost = a.passes;
        ctx.m_cost = a.memoryKiB;
        ctx.lanes = a.lanes;
        ctx.threads = 1; // the caller is already a worker; one core, whatever the lanes
        ctx.version = ARGON2_VERSION_13;
        ctx.allocate_cbk = allocate;
        ctx.free_cbk =
            allocate ? deallocate_fptr([](uint8_t* memory, size_t) { std::free(memory); }) : nullptr;
        const int rc = argon2id_ctx(&ctx);
        if (rc == ARGON2_MEMORY_ALLOCATION_ERROR)
            return Check::NoMemory;
        return rc == ARGON2_OK && constantTimeEqual(made, a.digest) ? Check::Matches : Check::DoesNotMatch;
    }
    Pbkdf2 p;
    if (!parsePbkdf2(stored, p))
        return Check::DoesNotMatch;
    return constantTimeEqual(derivePbkdf2(typed, p.salt, p.iterations), p.digest) ? Check::Matches
                                                                                  : Check::DoesNotMatch;
}

bool matches(const QString& stored, const QString& typed) {
    return check(stored, typed) == Check::Matches;
}

} // namespace OfficerPassword

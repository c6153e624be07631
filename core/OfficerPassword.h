#pragma once

#include <QByteArray>
#include <QString>

// Officers' passwords are kept on the phone only as salted PBKDF2-SHA256 digests, so a lost phone gives
// away no officer's credentials. A stored value reads
//   "pbkdf2-sha256$<iterations>$<salt, Base64>$<digest, Base64>"
// and carries its own work factor, so a later release can raise it without converting anything.
namespace OfficerPassword {

// About 25 ms per digest here: a sign-in stays well under 100 ms, an officer list of 200 under 6 s.
inline constexpr int iterations = 10000;
inline constexpr int saltBytes = 16;
inline constexpr int digestBytes = 32;

// A digest of the password as typed (every character counts), with a fresh random salt.
QString digest(const QString& password);
QString digest(const QString& password, const QByteArray& salt, int iterations);

// Whether a stored value is a digest made by digest(); anything else is a password kept in clear by an
// earlier release.
bool isDigest(const QString& stored);

// Whether the typed password gives the stored digest. The final comparison takes the same time wherever
// the first difference lies. False for a stored value that is not a digest.
bool matches(const QString& stored, const QString& typed);

} // namespace OfficerPassword

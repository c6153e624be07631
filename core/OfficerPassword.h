#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Officers' passwords are kept on the phone only as salted digests, so a lost phone gives away no
// officer's credentials. A stored value names its scheme and carries its own work factor:
//   "$argon2id$v=19$m=<KiB>,t=<passes>,p=<lanes>$<salt>$<digest>"   (the library's standard form)
//   "pbkdf2-sha256$<iterations>$<salt, Base64>$<digest, Base64>"    (earlier releases)
// Argon2id is memory-hard: each guess needs its memory, which is what a graphics card has little of
// per core. Earlier digests still verify, and are replaced at the officer's next successful sign-in.
namespace OfficerPassword {

// Measured on the development machine: about 180 ms a digest, so a sign-in stays under 300 ms and a
// council's 200 officers take well under a minute on two worker threads.
inline constexpr uint32_t memoryKiB = 64 * 1024;
inline constexpr uint32_t passes = 3;
inline constexpr uint32_t lanes = 1;
inline constexpr int saltBytes = 16;
inline constexpr int digestBytes = 32;
// The earlier scheme's work factor, for the digests written before and the quick conversion of a
// password found in clear.
inline constexpr int iterations = 10000;

// An Argon2id digest of the password as typed (every character counts), with a fresh random salt.
// Should the memory not be had, an earlier-scheme digest instead: never the password itself.
QString digest(const QString& password);
QString argon2idDigest(const QString& password, const QByteArray& salt, uint32_t memoryKiB, uint32_t passes);
// The earlier scheme.
QString pbkdf2Digest(const QString& password);
QString digest(const QString& password, const QByteArray& salt, int iterations);

// Whether a stored value is a digest of either scheme (within the work this application would ever
// spend on one); anything else is a password kept in clear by an earlier release.
bool isDigest(const QString& stored);
// Whether a stored digest is of the current scheme at the current work factor; one that is not is
// replaced when its officer next signs in.
bool isCurrent(const QString& stored);

// Whether the typed password gives the stored digest. The final comparison takes the same time wherever
// the first difference lies. False for a stored value that is not a digest.
bool matches(const QString& stored, const QString& typed);

} // namespace OfficerPassword

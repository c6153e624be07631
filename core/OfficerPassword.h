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

// Chosen from a measurement (bench_core, OfficerPasswordCost): on this project's 2-core development
// machine a 32 MiB, 2-pass digest takes about 75 ms of one core; a mid-range phone core is taken as four
// times slower (the portable code path, a slower clock and memory), so a sign-in checks in about 0.3 s
// there, under the 0.5 s a tap may take. 32 MiB is what a 2 GB phone can always give a foreground
// application; OWASP's smallest Argon2id setting (19 MiB, 2 passes) is the floor.
inline constexpr uint32_t memoryKiB = 32 * 1024;
inline constexpr uint32_t passes = 2;
inline constexpr uint32_t lanes = 1;
// The most a stored digest may ask for to be checked at all: the memory and work of the digests the
// previous release wrote (64 MiB, 3 passes), so its officers still sign in once and are renewed then.
// A stored value asking more is never worked on, whatever the table says.
inline constexpr uint32_t largestMemoryKiB = 64 * 1024;
inline constexpr uint64_t largestWorkKiB = uint64_t(64 * 1024) * 3;
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

enum class Check {
    Matches,
    DoesNotMatch,
    // The memory the digest needs could not be had: says nothing about the password.
    NoMemory,
};
// How the digest's memory is had; the library's own allocation when null. For a phone short of memory
// in tests.
using Allocate = int (*)(uint8_t** memory, size_t bytes);

// Whether the typed password gives the stored digest. The final comparison takes the same time wherever
// the first difference lies. DoesNotMatch for a stored value that is not a digest.
Check check(const QString& stored, const QString& typed, Allocate allocate = nullptr);
bool matches(const QString& stored, const QString& typed);

} // namespace OfficerPassword

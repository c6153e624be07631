#pragma once

#include <QString>

#include <optional>

class Log;
class SavedCompoundStore;

// The per-phone running number behind every compound number. It is kept in two places, each written at
// every "Ya": "runningnumber.dat", a property list whose root is a list of "1" texts, one per compound
// (the form phones in service hold), and the saved-compounds store's own high-water mark, written in the
// compound's transaction. The number is the highest of every mark that can still be read, so the loss
// of either file never brings a number back.
//
// The highest count read or written is also held in memory for the rest of the run, so a write that
// fails (the caller tells the officer) or a file damaged meanwhile cannot bring an earlier number back. A
// file that cannot be read is moved aside, never written over. Only when no mark can be read on a
// registered phone is numbering no longer trusted: what can still be known (the compounds held) is then
// only a floor until the council's last number for the device is known again. A marker file beside it
// keeps that across restarts.
class RunningNumber {
public:
    static constexpr const char* fileName = "runningnumber.dat";
    static constexpr const char* untrustedMarker = "runningnumber.dat.unconfirmed";

    RunningNumber(QString documentsDir, SavedCompoundStore& store, Log* log);
    QString path() const { return path_; }

    int getRunningNumber() const;
    int getCompoundNumber() const { return getRunningNumber() + 1; }
    bool saveRunningNumberFile(int count);
    bool addOneRunningNumber();
    // Sets both marks to exactly this, lower too: for setting up a phone in tests and tools; the
    // application itself never lowers the number.
    bool setRunningNumber(int count);
    // Registration: the council's last number for the device, or what this phone has reached when that
    // is higher (every readable mark, the compounds held): never lower than before.
    bool seedFromCouncil(int councilLast, const QString& deviceCode);
    // An untrusted number confirmed by the council's last number for the registered device: seeded as
    // at registration, and trusted again.
    bool confirmFromCouncil(int councilLast, const QString& deviceCode);
    // Start-up check: the number is the highest of the file, the store's mark and the compounds held; an
    // unreadable file is moved aside; both marks are brought up to it. Untrusted only when no mark could
    // be read on a registered phone.
    bool runningNumber(const QString& deviceCode);

    // Whether the number can be trusted never to repeat one already given. When it cannot, the officer
    // must register the device again before issuing.
    bool isTrusted() const;
    // The council's last number has been taken in: trusted again.
    bool markTrusted();
    // Numbers may have been given that nothing here remembers (a store lost): untrusted until the
    // council's last number is known again. Kept across restarts when the marker can be written.
    void markUntrusted();
    static QString untrustedMessage();

    // "P", the year, the device code and the sequence, zero-padded to six digits (more when it needs them).
    static QString compoundNumber(const QString& year, const QString& deviceCode, int sequence);
    // The sequence of a compound number of this device: "P", a four-digit year, exactly the device code
    // and exactly six digits; -1 for anything else.
    static int sequenceOf(const QString& compoundNumber, const QString& deviceCode);

private:
    int fileCount() const;
    int highestKnown(const QString& deviceCode) const;
    int seededCount(int councilLast, const QString& deviceCode) const;
    bool fileUnreadable() const;
    // Moves an unreadable file aside; returns the count it still showed.
    int setUnreadableAside();
    QString path_;
    QString markerPath_;
    SavedCompoundStore& store_;
    Log* log_;
    int floor_ = 0;
    bool untrustedInMemory_ = false;
};

#pragma once

#include <QString>

class Log;
class SavedCompoundStore;

// The per-phone running number behind every compound number, kept in "runningnumber.dat": a property
// list whose root is a list of "1" texts, one per compound (the form phones in service hold).
//
// A number is never given twice. The highest count read or written is also held in memory for the rest
// of the run, so a write that fails (the caller tells the officer) or a file damaged meanwhile cannot
// bring an earlier number back. A file that cannot be read is moved
// aside, never written over, and numbering is no longer trusted: what can still be known (the compounds
// held in the store) is only a floor, until the council's last number for the device is known again at
// registration. A marker file beside it keeps that across restarts.
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
    // Sets the count whatever it was before (a registration undone).
    bool setRunningNumber(int count);
    // Registration: the council's last number for the device, or the highest sequence of that device
    // still held in the store when that is higher (compounds not uploaded yet).
    bool seedFromCouncil(int councilLast, const QString& deviceCode);
    // An untrusted number confirmed by the council's last number for the registered device: the highest
    // of that, the compounds held and the number already reached, and trusted again.
    bool confirmFromCouncil(int councilLast, const QString& deviceCode);
    // Start-up check: a lost file restarts from the highest sequence still held, an unreadable one is
    // moved aside (and numbering stops being trusted), and a file left behind by a failed write is raised
    // past the numbers already in the store.
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
    // The sequence of a compound number of this device ("P" year code sequence), or -1.
    static int sequenceOf(const QString& compoundNumber, const QString& deviceCode);

private:
    int fileCount() const;
    bool fileUnreadable() const;
    // Moves an unreadable file aside and marks numbering untrusted; returns the count it still showed.
    int setUnreadableAside();
    QString path_;
    QString markerPath_;
    SavedCompoundStore& store_;
    Log* log_;
    int floor_ = 0;
    bool untrustedInMemory_ = false;
};

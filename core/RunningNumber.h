#pragma once

#include <QString>

class Log;
class SavedCompoundStore;

// The per-phone running number behind every compound number, kept in "runningnumber.dat": a property
// list whose root is a list of "1" texts, one per compound (the form phones in service hold).
//
// A write that fails leaves the file behind; the number is then held in memory so that no compound
// number is given twice in this run, and the caller tells the officer.
class RunningNumber {
public:
    static constexpr const char* fileName = "runningnumber.dat";

    RunningNumber(QString documentsDir, SavedCompoundStore& store, Log* log);
    QString path() const { return path_; }

    int getRunningNumber() const;
    int getCompoundNumber() const { return getRunningNumber() + 1; }
    bool saveRunningNumberFile(int count);
    bool addOneRunningNumber();
    // Registration seeds the count with the server's last number, whatever it was before.
    bool setRunningNumber(int count);
    // Start-up check: make sure the file exists; a lost file restarts from the compounds still held,
    // and a file left behind by a failed write is raised past the numbers already in the store.
    bool runningNumber(const QString& deviceCode);

    // "P", the year, the device code and the sequence, zero-padded to six digits (more when it needs them).
    static QString compoundNumber(const QString& year, const QString& deviceCode, int sequence);
    // The sequence of a compound number of this device ("P" year code sequence), or -1.
    static int sequenceOf(const QString& compoundNumber, const QString& deviceCode);

private:
    int fileCount() const;
    QString path_;
    SavedCompoundStore& store_;
    Log* log_;
    int floor_ = 0;
};

#pragma once

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

// How many upload runs in a row each photograph has failed in, and why it failed the last time, so that
// a photograph that never gets through is named to the officer rather than retried unseen for weeks.
// A small JSON file of the upload's own in the Documents folder, read at the start of a run and written
// whole (atomically) at its end; a photograph leaves it once accepted or once its compound has gone.
class PhotoFailures {
public:
    static constexpr const char* fileName = "muatNaikGambarGagal.json";
    static constexpr int runsBeforeReport = 3;

    struct Failure {
        QString compoundNumber;
        int position = 0; // 1-based, as sent
        int runs = 0;     // runs in a row it failed in
        QString reason;   // the last one, as the officer reads it
        friend bool operator==(const Failure&, const Failure&) = default;
    };

    // An empty path keeps the counts for this run only.
    explicit PhotoFailures(QString path) : path_(std::move(path)) {}

    // An unreadable file counts as none recorded: it only ever delays a report.
    void load();
    // Writes the file if anything changed; false when it could not be written.
    bool save();

    // Each photograph is sent at most once per run, so each call is one run.
    void failed(const QString& compoundNumber, int position, const QString& reason);
    void accepted(const QString& compoundNumber, int position);
    // Forgets the photographs of every compound not among those still waiting.
    void keepOnly(const QSet<QString>& waitingCompounds);

    // Those that failed in runsBeforeReport runs in a row or more, in compound and position order.
    QList<Failure> stuck() const;
    QList<Failure> all() const { return failures_.values(); }

private:
    static QString key(const QString& compoundNumber, int position);

    QString path_;
    QMap<QString, Failure> failures_;
    bool changed_ = false;
};

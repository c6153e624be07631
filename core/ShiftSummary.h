#pragma once

#include "core/SavedCompoundStore.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// Amounts in sen (cents), read from their decimal text and never through floating point, so that a day's
// sum is the sum of the notices to the last sen.
namespace Sen {
// "150.10" -> 15010, "7" -> 700, "0.5" -> 50. Nothing for any other text: empty, a sign, grouping commas,
// "RM", more than two decimals, non-ASCII digits or more than twelve digits of ringgit.
std::optional<qint64> parse(const QString& text);
// 15010 -> "150.10".
QString format(qint64 sen);
} // namespace Sen

// One compound type's line of a day's summary: the compounds in force of that type and their sums.
struct SummaryTypeLine {
    QString type; // JenisKompaun as stored; empty when the record names none
    int count = 0;
    qint64 kadarSen = 0;
    qint64 tawaranSen = 0;
    friend bool operator==(const SummaryTypeLine&, const SummaryTypeLine&) = default;
};

// An amount that is not a decimal amount: left out of the sums and shown as it is.
struct UnreadableAmount {
    QString number;
    QString key; // kompaunKadar or kompaunKadarTawaran
    QString text;
    friend bool operator==(const UnreadableAmount&, const UnreadableAmount&) = default;
};

// One Kuala Lumpur day's compounds on the phone.
struct DaySummary {
    QDate day;
    int issued = 0;    // every compound of the day, cancelled ones included
    int inForce = 0;   // not cancelled: these alone are summed and listed by type
    int cancelled = 0; // status_batal "1"
    qint64 kadarSen = 0;
    qint64 tawaranSen = 0;
    QList<SummaryTypeLine> types; // by type name
    QList<UnreadableAmount> unreadable;
    int waiting = 0; // not uploaded yet, cancelled ones included (the council must learn of those too)
    std::optional<qint64> oldestWaitingSeconds;
    int photos = 0;
    struct Number {
        QString number;
        bool cancelled = false;
        friend bool operator==(const Number&, const Number&) = default;
    };
    QList<Number> numbers; // every compound of the day, in compound-number order
};

// The shift summary over the compounds the phone holds, read through the store's summary rows (no
// photograph is loaded). Days are Kuala Lumpur days: a compound belongs to the date printed on it
// (kompaunTarikh, written in Kuala Lumpur time whatever the phone's zone) and "today" is the Kuala Lumpur
// date of `now`.
class ShiftSummary {
public:
    static constexpr qint64 kDaySeconds = 24 * 60 * 60;

    ShiftSummary(QList<CompoundSummaryRow> rows, const QDateTime& now);

    QDate today() const { return today_; }
    // Today and every other day held on the phone, newest first.
    QList<QDate> days() const;
    DaySummary day(const QDate& date) const;
    // Compounds whose date cannot be read: in no day, so the officer is told they exist.
    int undated() const;
    // Over every day: compounds waiting for upload, and how long the oldest dated one has waited.
    int waiting() const;
    std::optional<qint64> oldestWaitingSeconds() const;

    static bool isCancelled(const CompoundSummaryRow& row);
    // The record's "dd/MM/yyyy"; invalid for any other text.
    static QDate dayOf(const CompoundSummaryRow& row);
    // Minutes since midnight of a "HH:mm"; 0 (the start of the day) for any other text.
    static int minuteOfDay(const QString& masa);
    // "3 jam 5 minit", "2 hari 4 jam", "kurang 1 minit".
    static QString ageText(qint64 seconds);

private:
    // Seconds since the i-th compound was issued (its Kuala Lumpur date and time); it must have a date.
    qint64 ageOf(qsizetype i) const;

    QList<CompoundSummaryRow> rows_;
    QDateTime now_;
    QDate today_;
    // Per row: its day, and the instant of issue in seconds since the epoch (none without a date).
    QList<QDate> dates_;
    QList<std::optional<qint64>> issued_;
};

#include "core/ShiftSummary.h"

#include "core/KualaLumpurDate.h"
#include "core/RecordKeys.h"

#include <QHash>
#include <QMap>

#include <algorithm>

namespace {
constexpr int kMaxRinggitDigits = 12; // keeps every sum of a phone's compounds far inside 64 bits

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
} // namespace

std::optional<qint64> Sen::parse(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    qint64 ringgit = 0;
    for (; i < t.size() && isAsciiDigit(t[i]); ++i) {
        if (i >= kMaxRinggitDigits)
            return std::nullopt;
        ringgit = ringgit * 10 + (t[i].unicode() - '0');
    }
    if (i == 0)
        return std::nullopt;
    qint64 sen = 0;
    if (i < t.size()) {
        if (t[i] != QLatin1Char('.'))
            return std::nullopt;
        ++i;
        int decimals = 0;
        for (; i < t.size() && isAsciiDigit(t[i]); ++i, ++decimals) {
            if (decimals == 2)
                return std::nullopt;
            sen = sen * 10 + (t[i].unicode() - '0');
        }
        if (i < t.size())
            return std::nullopt;
        if (decimals == 1)
            sen *= 10;
    }
    return ringgit * 100 + sen;
}

QString Sen::format(qint64 sen) {
    const QString sign = sen < 0 ? QStringLiteral("-") : QString();
    const qint64 a = sen < 0 ? -sen : sen;
    return sign + QString::number(a / 100) + QLatin1Char('.') +
           QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
}

ShiftSummary::ShiftSummary(QList<CompoundSummaryRow> rows, const QDateTime& now)
    : rows_(std::move(rows)), now_(now), today_(now.toTimeZone(KualaLumpur::zone()).date()) {
    // Each date and time read once. The zone is asked once per day held (for the instant its midnight
    // is), not once per compound: with a thousand compounds that is most of the cost of opening.
    QHash<QDate, qint64> midnights;
    dates_.reserve(rows_.size());
    issued_.reserve(rows_.size());
    for (const CompoundSummaryRow& row : std::as_const(rows_)) {
        const QDate date = dayOf(row);
        dates_.append(date);
        if (!date.isValid()) {
            issued_.append(std::nullopt);
            continue;
        }
        auto midnight = midnights.constFind(date);
        if (midnight == midnights.cend())
            midnight =
                midnights.insert(date, QDateTime(date, QTime(0, 0), KualaLumpur::zone()).toSecsSinceEpoch());
        issued_.append(*midnight + minuteOfDay(row.masa) * 60);
    }
}

bool ShiftSummary::isCancelled(const CompoundSummaryRow& row) {
    return row.statusBatal.trimmed() == QLatin1String("1");
}

namespace {
// Two ASCII digits at i, or -1.
int twoDigits(const QString& t, qsizetype i) {
    return isAsciiDigit(t[i]) && isAsciiDigit(t[i + 1])
               ? (t[i].unicode() - '0') * 10 + (t[i + 1].unicode() - '0')
               : -1;
}
} // namespace

QDate ShiftSummary::dayOf(const CompoundSummaryRow& row) {
    // "dd/MM/yyyy", read by hand: QDate::fromString with a format costs more than the rest of a row.
    const QString t = row.tarikh.trimmed();
    if (t.size() != 10 || t[2] != QLatin1Char('/') || t[5] != QLatin1Char('/'))
        return {};
    const int day = twoDigits(t, 0);
    const int month = twoDigits(t, 3);
    const int century = twoDigits(t, 6);
    const int year = twoDigits(t, 8);
    if (day < 0 || month < 0 || century < 0 || year < 0)
        return {};
    return QDate(century * 100 + year, month, day); // invalid for a day or month out of range
}

int ShiftSummary::minuteOfDay(const QString& masa) {
    const QString t = masa.trimmed();
    if (t.size() != 5 || t[2] != QLatin1Char(':'))
        return 0;
    const int hours = twoDigits(t, 0);
    const int minutes = twoDigits(t, 3);
    return hours >= 0 && hours < 24 && minutes >= 0 && minutes < 60 ? hours * 60 + minutes : 0;
}

qint64 ShiftSummary::ageOf(qsizetype i) const {
    return std::max<qint64>(0, now_.toSecsSinceEpoch() - *issued_.at(i));
}

QList<QDate> ShiftSummary::days() const {
    QList<QDate> days{today_};
    for (const QDate& d : dates_)
        if (d.isValid() && !days.contains(d))
            days.append(d);
    std::sort(days.begin(), days.end(), std::greater<>());
    return days;
}

int ShiftSummary::undated() const {
    return int(std::count_if(dates_.cbegin(), dates_.cend(), [](const QDate& d) { return !d.isValid(); }));
}

int ShiftSummary::waiting() const {
    return int(
        std::count_if(rows_.cbegin(), rows_.cend(), [](const CompoundSummaryRow& r) { return r.waiting; }));
}

std::optional<qint64> ShiftSummary::oldestWaitingSeconds() const {
    std::optional<qint64> oldest;
    for (qsizetype i = 0; i < rows_.size(); ++i)
        // A compound whose date cannot be read has no age; undated() tells of it.
        if (rows_.at(i).waiting && issued_.at(i))
            oldest = std::max(oldest.value_or(0), ageOf(i));
    return oldest;
}

DaySummary ShiftSummary::day(const QDate& date) const {
    DaySummary s;
    s.day = date;
    QMap<QString, SummaryTypeLine> types;
    for (qsizetype i = 0; i < rows_.size(); ++i) {
        if (dates_.at(i) != date)
            continue;
        const CompoundSummaryRow& row = rows_.at(i);
        const bool cancelled = isCancelled(row);
        ++s.issued;
        s.photos += row.photos;
        s.numbers.append({row.number, cancelled});
        if (row.waiting) {
            ++s.waiting;
            s.oldestWaitingSeconds = std::max(s.oldestWaitingSeconds.value_or(0), ageOf(i));
        }
        if (cancelled) {
            ++s.cancelled;
            continue;
        }
        ++s.inForce;
        SummaryTypeLine& line = types[row.jenis];
        line.type = row.jenis;
        ++line.count;
        const auto add = [&](const QString& text, QLatin1String key, qint64& total, qint64& typeTotal) {
            if (const std::optional<qint64> sen = Sen::parse(text)) {
                total += *sen;
                typeTotal += *sen;
            } else {
                s.unreadable.append({row.number, key, text});
            }
        };
        add(row.kadar, Key::kompaunKadar, s.kadarSen, line.kadarSen);
        add(row.kadarTawaran, Key::kompaunKadarTawaran, s.tawaranSen, line.tawaranSen);
    }
    s.types = types.values();
    // Numbers of one device sort in issue order; store order keeps equal ones as they came.
    std::stable_sort(
        s.numbers.begin(), s.numbers.end(),
        [](const DaySummary::Number& a, const DaySummary::Number& b) { return a.number < b.number; });
    return s;
}

QString ShiftSummary::ageText(qint64 seconds) {
    if (seconds < 60)
        return QStringLiteral("kurang 1 minit");
    const qint64 minutes = seconds / 60;
    const qint64 hours = minutes / 60;
    const qint64 days = hours / 24;
    if (days > 0)
        return hours % 24 ? QStringLiteral("%1 hari %2 jam").arg(days).arg(hours % 24)
                          : QStringLiteral("%1 hari").arg(days);
    if (hours > 0)
        return minutes % 60 ? QStringLiteral("%1 jam %2 minit").arg(hours).arg(minutes % 60)
                            : QStringLiteral("%1 jam").arg(hours);
    return QStringLiteral("%1 minit").arg(minutes);
}

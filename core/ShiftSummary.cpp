#include "core/ShiftSummary.h"

#include "core/Clock.h"
#include "core/RecordKeys.h"

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
    : rows_(std::move(rows)), now_(now), today_(now.toTimeZone(KualaLumpur::zone()).date()) {}

bool ShiftSummary::isCancelled(const CompoundSummaryRow& row) {
    return row.statusBatal.trimmed() == QLatin1String("1");
}

QDate ShiftSummary::dayOf(const CompoundSummaryRow& row) {
    return QDate::fromString(row.tarikh.trimmed(), QStringLiteral("dd/MM/yyyy"));
}

QDateTime ShiftSummary::issuedAt(const CompoundSummaryRow& row) {
    const QDate date = dayOf(row);
    if (!date.isValid())
        return {};
    QTime time = QTime::fromString(row.masa.trimmed(), QStringLiteral("HH:mm"));
    if (!time.isValid())
        time = QTime(0, 0);
    return QDateTime(date, time, KualaLumpur::zone());
}

QList<QDate> ShiftSummary::days() const {
    QList<QDate> days{today_};
    for (const CompoundSummaryRow& row : rows_) {
        const QDate d = dayOf(row);
        if (d.isValid() && !days.contains(d))
            days.append(d);
    }
    std::sort(days.begin(), days.end(), std::greater<>());
    return days;
}

int ShiftSummary::undated() const {
    return int(std::count_if(rows_.cbegin(), rows_.cend(),
                             [](const CompoundSummaryRow& r) { return !dayOf(r).isValid(); }));
}

int ShiftSummary::waiting() const {
    return int(
        std::count_if(rows_.cbegin(), rows_.cend(), [](const CompoundSummaryRow& r) { return r.waiting; }));
}

std::optional<qint64> ShiftSummary::oldestWaitingSeconds() const {
    std::optional<qint64> oldest;
    for (const CompoundSummaryRow& row : rows_) {
        if (!row.waiting)
            continue;
        // A compound whose date cannot be read has no age; undated() tells of it.
        const QDateTime at = issuedAt(row);
        if (at.isValid())
            oldest = std::max(oldest.value_or(0), std::max<qint64>(0, at.secsTo(now_)));
    }
    return oldest;
}

DaySummary ShiftSummary::day(const QDate& date) const {
    DaySummary s;
    s.day = date;
    QMap<QString, SummaryTypeLine> types;
    for (const CompoundSummaryRow& row : rows_) {
        if (dayOf(row) != date)
            continue;
        const bool cancelled = isCancelled(row);
        ++s.issued;
        s.photos += row.photos;
        s.numbers.append({row.number, cancelled});
        if (row.waiting) {
            ++s.waiting;
            const qint64 age = std::max<qint64>(0, issuedAt(row).secsTo(now_));
            s.oldestWaitingSeconds = std::max(s.oldestWaitingSeconds.value_or(0), age);
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

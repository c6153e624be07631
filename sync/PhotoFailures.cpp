#include "sync/PhotoFailures.h"

#include "platform/WholeFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// Far more than a phone holds waiting; a file larger than this is not ours.
constexpr qint64 maxFileBytes = 1024 * 1024;
} // namespace

QString PhotoFailures::key(const QString& compoundNumber, int position) {
    // Zero-padded so that the map's order is position order within a compound.
    return compoundNumber + QStringLiteral("/%1").arg(position, 4, 10, QLatin1Char('0'));
}

void PhotoFailures::load() {
    failures_.clear();
    changed_ = false;
    if (path_.isEmpty())
        return;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxFileBytes)
        return;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    for (const QJsonValue& value : doc.array()) {
        const QJsonObject o = value.toObject();
        Failure f{o.value(QStringLiteral("kompaun")).toString(), o.value(QStringLiteral("gambar")).toInt(),
                  o.value(QStringLiteral("kali")).toInt(), o.value(QStringLiteral("sebab")).toString()};
        if (!f.compoundNumber.isEmpty() && f.position > 0 && f.runs > 0)
            failures_.insert(key(f.compoundNumber, f.position), f);
    }
}

bool PhotoFailures::save() {
    if (!changed_ || path_.isEmpty())
        return true;
    QJsonArray array;
    for (const Failure& f : std::as_const(failures_))
        array.append(QJsonObject{{QStringLiteral("kompaun"), f.compoundNumber},
                                 {QStringLiteral("gambar"), f.position},
                                 {QStringLiteral("kali"), f.runs},
                                 {QStringLiteral("sebab"), f.reason}});
    if (!WholeFile::write(path_, QJsonDocument(array).toJson(QJsonDocument::Compact)))
        return false;
    changed_ = false;
    return true;
}

void PhotoFailures::failed(const QString& compoundNumber, int position, const QString& reason) {
    Failure& f = failures_[key(compoundNumber, position)];
    f.compoundNumber = compoundNumber;
    f.position = position;
    ++f.runs;
    f.reason = reason;
    changed_ = true;
}

void PhotoFailures::accepted(const QString& compoundNumber, int position) {
    if (failures_.remove(key(compoundNumber, position)) > 0)
        changed_ = true;
}

void PhotoFailures::keepOnly(const QSet<QString>& waitingCompounds) {
    const qsizetype removed = failures_.removeIf(
        [&](const auto& item) { return !waitingCompounds.contains(item.value().compoundNumber); });
    changed_ = changed_ || removed > 0;
}

QList<PhotoFailures::Failure> PhotoFailures::stuck() const {
    QList<Failure> out;
    for (const Failure& f : failures_)
        if (f.runs >= runsBeforeReport)
            out << f;
    return out;
}

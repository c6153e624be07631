#include "sync/UploadFlag.h"

#include "core/SavedCompoundStore.h"

#include <QList>
#include <QStringList>

#include <algorithm>

namespace {
const QString photosMark = QStringLiteral(";gambar=");
const QString cancellationMark = QStringLiteral(";batal");
} // namespace

UploadFlag UploadFlag::parse(const QString& text) {
    UploadFlag flag;
    if (SavedCompound::leadingInt(text) != 0) {
        flag.uploaded = true;
        return flag;
    }
    const qsizetype at = text.indexOf(photosMark);
    if (at < 0)
        return flag;
    flag.compoundAccepted = true;
    flag.cancellationAccepted = text.left(at).contains(cancellationMark);
    const QString list = text.mid(at + photosMark.size());
    for (const QString& item : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int position = item.trimmed().toInt(&ok);
        if (ok && position > 0)
            flag.acceptedPhotos.insert(position);
    }
    return flag;
}

QString UploadFlag::text() const {
    if (uploaded)
        return QStringLiteral("1");
    if (!compoundAccepted)
        return QStringLiteral("0");
    QList<int> positions(acceptedPhotos.begin(), acceptedPhotos.end());
    std::sort(positions.begin(), positions.end());
    QStringList items;
    for (int p : positions)
        items << QString::number(p);
    return QStringLiteral("0") + (cancellationAccepted ? cancellationMark : QString()) + photosMark +
           items.join(QLatin1Char(','));
}

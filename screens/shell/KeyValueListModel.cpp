#include "screens/shell/KeyValueListModel.h"

KeyValueListModel::KeyValueListModel(QObject* parent) : QAbstractListModel(parent) {}

KeyValueListModel::Format KeyValueListModel::column(const QString& name) {
    return [name](const QVariantMap& row, int) {
        const QVariant v = row.value(name);
        return v.isValid() ? v.toString() : QString();
    };
}

void KeyValueListModel::setRows(QList<QVariantMap> rows) {
    const bool countChanges = rows.size() != rows_.size();
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
    if (countChanges)
        Q_EMIT countChanged();
}

QString KeyValueListModel::format(const Format& f, int index) const {
    if (!f || index < 0 || index >= rows_.size())
        return {};
    return f(rows_[index], index);
}

QString KeyValueListModel::title(int index) const {
    return format(title_, index);
}
QString KeyValueListModel::subtitle(int index) const {
    return format(subtitle_, index);
}
QString KeyValueListModel::key(int index) const {
    return format(key_, index);
}

int KeyValueListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

QVariant KeyValueListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size())
        return {};
    switch (role) {
    case TitleRole:
    case Qt::DisplayRole:
        return format(title_, index.row());
    case SubtitleRole:
        return format(subtitle_, index.row());
    case KeyRole:
        return format(key_, index.row());
    case PictureRole:
        return format(picture_, index.row());
    default:
        return {};
    }
}

QHash<int, QByteArray> KeyValueListModel::roleNames() const {
    return {{TitleRole, "title"}, {SubtitleRole, "subtitle"}, {KeyRole, "key"}, {PictureRole, "picture"}};
}

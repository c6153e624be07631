#include "screens/map/MapTileModel.h"

void MapTileModel::setCells(QList<Cell> cells) {
    if (cells == cells_)
        return;
    if (cells.size() != cells_.size()) {
        beginResetModel();
        cells_ = std::move(cells);
        endResetModel();
        return;
    }
    cells_ = std::move(cells);
    if (!cells_.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(cells_.size()) - 1));
}

int MapTileModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(cells_.size());
}

QVariant MapTileModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= cells_.size())
        return {};
    const Cell& cell = cells_.at(index.row());
    switch (role) {
    case SourceRole:
        return cell.source;
    case LeftRole:
        return cell.topLeft.x();
    case TopRole:
        return cell.topLeft.y();
    default:
        return {};
    }
}

QHash<int, QByteArray> MapTileModel::roleNames() const {
    return {{SourceRole, "source"}, {LeftRole, "tileLeft"}, {TopRole, "tileTop"}};
}

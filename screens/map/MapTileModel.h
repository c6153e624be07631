#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QPointF>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The tile cells covering the map view: where each stands in the view and which tile it shows. A pan
// within the same cells only moves them; the cells are made again when their number changes.
class MapTileModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the map page's controller")
public:
    struct Cell {
        QPointF topLeft;
        QString source; // "image://tiles/Z/X/Y", or empty off the world's top or bottom
        friend bool operator==(const Cell&, const Cell&) = default;
    };
    enum Role { SourceRole = Qt::UserRole + 1, LeftRole, TopRole };

    explicit MapTileModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}
    void setCells(QList<Cell> cells);
    const QList<Cell>& cells() const { return cells_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    QList<Cell> cells_;
};

#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include <functional>

// The rows of a lookup or a store as a list: each row a key/value record, shown as a title, an
// optional subtitle and an optional picture. The controller that owns the model decides how a row
// reads; QML only lays the roles out.
class KeyValueListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by a screen's controller")
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    enum Role { TitleRole = Qt::UserRole + 1, SubtitleRole, KeyRole, PictureRole };
    Q_ENUM(Role)
    using Format = std::function<QString(const QVariantMap& row, int index)>;

    explicit KeyValueListModel(QObject* parent = nullptr);

    // A format that reads one column as text.
    static Format column(const QString& name);

    void setTitleFormat(Format f) { title_ = std::move(f); }
    void setSubtitleFormat(Format f) { subtitle_ = std::move(f); }
    void setKeyFormat(Format f) { key_ = std::move(f); }
    void setPictureFormat(Format f) { picture_ = std::move(f); }

    void setRows(QList<QVariantMap> rows);
    const QList<QVariantMap>& rows() const { return rows_; }
    QVariantMap row(int index) const { return rows_.value(index); }
    int count() const { return int(rows_.size()); }

    Q_INVOKABLE QString title(int index) const;
    Q_INVOKABLE QString subtitle(int index) const;
    Q_INVOKABLE QString key(int index) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void countChanged();

private:
    QString format(const Format& f, int index) const;
    QList<QVariantMap> rows_;
    Format title_;
    Format subtitle_;
    Format key_;
    Format picture_;
};

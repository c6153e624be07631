#pragma once

#include "core/TextField.h"

#include <QAbstractListModel>
#include <QLatin1String>
#include <QList>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <vector>

// One row of a form's table: what the officer sees and where it goes in the record. A council that adds
// a field adds a row; the view draws it by its kind and names it `<key>Field` (and `<key>Pick`).
struct FormRow {
    enum Kind { Text, Pick, Switch, MultiLine, Value, Heading, Action };
    // The keyboard a phone offers for the field.
    enum Hint { Plain, Digits, Capitals };
    // The reference list a pick field chooses from.
    enum List {
        NoList,
        JenisKenderaan,
        JenisModel,
        JenisWarna,
        Kawasan,
        Jalan,
        Saksi,
        Negeri,
        CaraPenyerahan
    };

    Kind kind = Text;
    // The record key; an action's or a heading's own name otherwise.
    QLatin1String key;
    QString label;
    Hint hint = Plain;
    // Written upper-cased (the field itself is upper-cased when its editing ends).
    bool upper = false;
    List list = NoList;
    // Where a pick puts the chosen row's code.
    QLatin1String codeKey{};
    // Kept for the next compound of the same offence.
    bool keep = false;
    bool emphasised = false;
    // A switch's choices; the record holds the chosen one in lower case.
    QStringList options{};
    // The list's title where it is not the label.
    QString listTitle{};

    bool isInput() const { return kind == Text || kind == Pick || kind == MultiLine; }
};

// A form's rows as QML sees them, each with the text it holds.
class FormFieldModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("a form's rows")
public:
    enum Role {
        KindRole = Qt::UserRole + 1,
        KeyRole,
        LabelRole,
        HintRole,
        FieldRole,
        EmphasisedRole,
        OptionsRole,
        ShownRole,
        FromPictureRole
    };
    explicit FormFieldModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    void setRows(QList<FormRow> rows);
    const QList<FormRow>& rows() const { return rows_; }
    // The text of the row with that key; null if the form has none.
    TextField* field(QLatin1String key) const;
    const FormRow* row(QLatin1String key) const;
    bool shown(QLatin1String key) const;
    void setShown(QLatin1String key, bool shown);
    // The row's text was read from a picture: marked so until the text becomes anything else.
    void setFromPicture(QLatin1String key, const QString& text);
    bool fromPicture(QLatin1String key) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    int indexOf(QLatin1String key) const;

    QList<FormRow> rows_;
    std::vector<std::unique_ptr<TextField>> texts_;
    QList<bool> shown_;
    // What each row read from a picture holds (null: not read).
    QList<QString> read_;
};

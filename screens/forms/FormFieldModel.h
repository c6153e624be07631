#pragma once

#include "core/RecordKeys.h"
#include "screens/shell/TextField.h"

#include <QAbstractListModel>
#include <QLatin1String>
#include <QList>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <vector>

// A row's kind and keyboard hint, named alike in the forms' tables and in the view that draws them.
namespace FormRowType {
Q_NAMESPACE
QML_ELEMENT
enum Kind { Text, Pick, Switch, MultiLine, Value, Heading, Action };
Q_ENUM_NS(Kind)
// The keyboard a phone offers for the field.
enum Hint { Plain, Digits, Capitals };
Q_ENUM_NS(Hint)
} // namespace FormRowType

// One row of a form's table: what the officer sees and where it goes in the record. A council that adds
// a field adds a row; the view draws it by its kind and names it `<key>Field` (and `<key>Pick`).
struct FormRow {
    using Kind = FormRowType::Kind;
    using enum FormRowType::Kind;
    using Hint = FormRowType::Hint;
    using enum FormRowType::Hint;
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
    List list = NoList;
    bool emphasised = false;
    // A switch's choices; the record holds the chosen one in lower case.
    QStringList options{};
    // The list's title where it is not the label.
    QString listTitle{};
    // "Semak" asks for it: its label carries the mark.
    bool required = false;

    bool isInput() const { return kind == Text || kind == Pick || kind == MultiLine; }
    // What the record's key table says of the row's key: written upper-cased (the field itself is
    // upper-cased when its editing ends), where a pick puts the chosen row's code, and whether the field
    // keeps its text for the next compound of the same offence.
    bool upper() const { return RecordKeys::upperCased(key); }
    QLatin1String codeKey() const { return RecordKeys::codeOf(key); }
    bool kept() const {
        const RecordKey* row = RecordKeys::find(key);
        return row && row->reuse != RecordKey::Emptied;
    }
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
        RequiredRole,
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
    bool required(QLatin1String key) const;
    void setRequired(QLatin1String key, bool required);
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
    QList<bool> required_;
    // What each row read from a picture holds (null: not read).
    QList<QString> read_;
};

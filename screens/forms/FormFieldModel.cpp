#include "screens/forms/FormFieldModel.h"

void FormFieldModel::setRows(QList<FormRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    texts_.clear();
    read_ = QList<QString>(rows_.size());
    for (qsizetype i = 0; i < rows_.size(); ++i) {
        texts_.push_back(std::make_unique<TextField>());
        // Edited by the officer (or emptied for the next compound): no longer what the picture said.
        connect(texts_.back().get(), &TextField::textChanged, this, [this, i] {
            if (read_[i].isNull() || texts_[size_t(i)]->text().compare(read_[i], Qt::CaseInsensitive) == 0)
                return;
            read_[i] = QString();
            Q_EMIT dataChanged(index(int(i)), index(int(i)), {FromPictureRole});
        });
    }
    shown_ = QList<bool>(rows_.size(), true);
    required_.clear();
    for (const FormRow& row : rows_)
        required_.append(row.required);
    endResetModel();
}

int FormFieldModel::indexOf(QLatin1String key) const {
    for (qsizetype i = 0; i < rows_.size(); ++i)
        if (rows_[i].key == key)
            return int(i);
    return -1;
}

TextField* FormFieldModel::field(QLatin1String key) const {
    const int i = indexOf(key);
    return i < 0 ? nullptr : texts_[size_t(i)].get();
}

const FormRow* FormFieldModel::row(QLatin1String key) const {
    const int i = indexOf(key);
    return i < 0 ? nullptr : &rows_[i];
}

bool FormFieldModel::shown(QLatin1String key) const {
    const int i = indexOf(key);
    return i >= 0 && shown_[i];
}

void FormFieldModel::setShown(QLatin1String key, bool shown) {
    const int i = indexOf(key);
    if (i < 0 || shown_[i] == shown)
        return;
    shown_[i] = shown;
    Q_EMIT dataChanged(index(i), index(i), {ShownRole});
}

bool FormFieldModel::required(QLatin1String key) const {
    const int i = indexOf(key);
    return i >= 0 && required_[i];
}

void FormFieldModel::setRequired(QLatin1String key, bool required) {
    const int i = indexOf(key);
    if (i < 0 || required_[i] == required)
        return;
    required_[i] = required;
    Q_EMIT dataChanged(index(i), index(i), {RequiredRole});
}

void FormFieldModel::setFromPicture(QLatin1String key, const QString& text) {
    const int i = indexOf(key);
    if (i < 0)
        return;
    read_[i] = text.isNull() ? QStringLiteral("") : text;
    texts_[size_t(i)]->setText(text);
    Q_EMIT dataChanged(index(i), index(i), {FromPictureRole});
}

bool FormFieldModel::fromPicture(QLatin1String key) const {
    const int i = indexOf(key);
    return i >= 0 && !read_[i].isNull();
}

int FormFieldModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

QVariant FormFieldModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size())
        return {};
    const FormRow& row = rows_[index.row()];
    switch (role) {
    case KindRole:
        return int(row.kind);
    case KeyRole:
        return QString(row.key);
    case LabelRole:
        return row.label;
    case HintRole:
        return int(row.hint);
    case FieldRole:
        return QVariant::fromValue(texts_[size_t(index.row())].get());
    case EmphasisedRole:
        return row.emphasised;
    case OptionsRole:
        return row.options;
    case ShownRole:
        return shown_[index.row()];
    case RequiredRole:
        return required_[index.row()];
    case FromPictureRole:
        return !read_[index.row()].isNull();
    default:
        return {};
    }
}

QHash<int, QByteArray> FormFieldModel::roleNames() const {
    return {{KindRole, "kind"},       {KeyRole, "key"},
            {LabelRole, "label"},     {HintRole, "hint"},
            {FieldRole, "field"},     {EmphasisedRole, "emphasised"},
            {OptionsRole, "options"}, {ShownRole, "shown"},
            {RequiredRole, "marked"}, {FromPictureRole, "fromPicture"}};
}

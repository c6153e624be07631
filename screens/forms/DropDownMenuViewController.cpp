#include "screens/forms/DropDownMenuViewController.h"

#include "core/AppDelegate.h"
#include "screens/forms/PickRelay.h"
#include "screens/shell/AppContext.h"

DropDownMenuViewController::DropDownMenuViewController(QObject* parent) : ScreenController(parent) {
    model_.setTitleFormat(KeyValueListModel::column(QStringLiteral("label")));
    model_.setKeyFormat(KeyValueListModel::column(QStringLiteral("code")));
}

void DropDownMenuViewController::contextSet() {
    connect(&PickRelay::of(app()), &PickRelay::dropDownListRequested, this,
            &DropDownMenuViewController::present);
}

DropDownMenuViewController::~DropDownMenuViewController() {
    if (open_)
        PickRelay::of(app()).onClose();
}

void DropDownMenuViewController::present(const QString& title, const PickList& items) {
    items_ = items;
    filter_.clear();
    Q_EMIT filterChanged();
    showRows();
    title_ = title;
    open_ = true;
    Q_EMIT openChanged();
}

void DropDownMenuViewController::setFilter(const QString& filter) {
    if (filter == filter_)
        return;
    filter_ = filter;
    Q_EMIT filterChanged();
    showRows();
}

void DropDownMenuViewController::showRows() {
    const QString wanted = filter_.trimmed();
    QList<QVariantMap> rows;
    for (const PickItem& item : std::as_const(items_))
        if (wanted.isEmpty() || item.label.contains(wanted, Qt::CaseInsensitive))
            rows.append({{QStringLiteral("label"), item.label}, {QStringLiteral("code"), item.code}});
    model_.setRows(std::move(rows));
}

void DropDownMenuViewController::didSelectRow(int index) {
    if (!open_ || index < 0 || index >= model_.count())
        return;
    PickRelay::of(app()).setTextField(model_.title(index), model_.key(index));
    close();
}

void DropDownMenuViewController::cancel() {
    if (open_)
        close();
}

void DropDownMenuViewController::close() {
    // The sheet goes first, so a list the closing step opens in turn is shown again.
    open_ = false;
    Q_EMIT openChanged();
    PickRelay::of(app()).onClose();
}

#include "screens/SecondViewController.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/Alerts.h"
#include "printing/NoticePrinter.h"
#include "printing/PrinterConnection.h"
#include "screens/AppContext.h"
#include "screens/FirstViewController.h"
#include "screens/NavigationStack.h"
#include "sync/CouncilSync.h"
#include "sync/UploadRun.h"

SecondViewController::SecondViewController(QObject* parent) : ScreenController(parent) {
    model_.setTitleFormat(KeyValueListModel::column(QStringLiteral("title")));
    model_.setSubtitleFormat(KeyValueListModel::column(QStringLiteral("subtitle")));
    connect(&formSet_, &FormSet::cetakRequested, this, &SecondViewController::cetak);
    connect(&formSet_, &FormSet::batalRequested, this, &SecondViewController::batalKompaun);
}

void SecondViewController::contextSet() {
    QObject::disconnect(uploadEnds_);
    // The upload's summary is followed by the list read again (relo).
    if (context_ && context_->sync())
        uploadEnds_ = connect(&context_->sync()->uploadRun(), &UploadRun::finished, this, [this] { relo(); });
    relo();
}

void SecondViewController::alert(const QString& title, const QString& message, const QStringList& buttons,
                                 int tag, std::function<void(int)> answer) {
    AppDelegate* core = app();
    if (core && core->platform().alerts)
        core->platform().alerts->show({title, message, buttons, tag, std::move(answer)});
}

QString SecondViewController::rowTitle(const SavedCompoundRow& row) {
    return row.statusBatal == QLatin1String("1") ? QStringLiteral("%1 (DIBATALKAN)").arg(row.number)
                                                 : row.number;
}

QString SecondViewController::cancelledRefusal() {
    return QStringLiteral("Kompaun ini telah dibatalkan dan tidak boleh dicetak semula.");
}

QString SecondViewController::rowSubtitle(const SavedCompoundRow& row) {
    const QString who = row.plate.trimmed().isEmpty() ? row.offender.trimmed() : row.plate.trimmed();
    QStringList second;
    for (const QString& part : {who, row.time.trimmed()})
        if (!part.isEmpty())
            second.append(part);
    QStringList lines;
    if (!row.particulars.trimmed().isEmpty())
        lines.append(row.particulars.trimmed());
    if (!second.isEmpty())
        lines.append(second.join(QStringLiteral(" \u00b7 ")));
    return lines.join(QLatin1Char('\n'));
}

bool SecondViewController::matches(const SavedCompoundRow& row, const QString& search) {
    const QString wanted = search.trimmed();
    if (wanted.isEmpty())
        return true;
    // Plates are typed with or without their space ("WXY 1234", "wxy1234").
    const auto squeezed = [](QString text) { return text.remove(QLatin1Char(' ')); };
    return row.number.contains(wanted, Qt::CaseInsensitive) ||
           row.offender.contains(wanted, Qt::CaseInsensitive) ||
           squeezed(row.plate).contains(squeezed(wanted), Qt::CaseInsensitive);
}

void SecondViewController::setSearchText(const QString& text) {
    if (text == searchText_)
        return;
    searchText_ = text;
    Q_EMIT searchTextChanged();
    showRows();
}

void SecondViewController::relo() {
    AppDelegate* core = app();
    if (!core)
        return;
    const qsizetype before = rows_.size();
    rows_ = core->saveStore().printedListRows();
    if (rows_.size() != before)
        Q_EMIT totalCountChanged();
    showRows();
}

void SecondViewController::showRows() {
    shown_.clear();
    QList<QVariantMap> shown;
    for (int i = 0; i < rows_.size(); ++i) {
        const SavedCompoundRow& row = rows_.at(i);
        if (!matches(row, searchText_))
            continue;
        shown_.append(i);
        shown.append(
            {{QStringLiteral("title"), rowTitle(row)}, {QStringLiteral("subtitle"), rowSubtitle(row)}});
    }
    model_.setRows(shown);
}

void SecondViewController::select(int row) {
    AppDelegate* core = app();
    if (!core || row < 0 || row >= shown_.size())
        return;
    std::optional<SavedCompound> entry = core->saveStore().entry(rows_.at(shown_.at(row)).id);
    if (!entry || !entry->record) {
        // Gone since the list was read (uploaded meanwhile): show what the store holds now.
        relo();
        return;
    }
    opened_ = std::move(entry);
    core->setPreviewDictionary(opened_->record);
    core->setImageArrayP(opened_->photos);
    // The forms and, at a re-print, the notice layout are chosen as they were at issue.
    formSet_.present(navigation_, FirstViewController::trafficNotice(*core, *opened_->record), true);
    formSet_.setCancelled(isCancelled());
}

bool SecondViewController::isCancelled() const {
    return opened_ && opened_->record->value(Key::status_batal) == QLatin1String("1");
}

void SecondViewController::cetak() {
    if (!opened_ || !app())
        return;
    if (isCancelled()) {
        alert(QStringLiteral("Makluman"), cancelledRefusal(), {QStringLiteral("OK")}, kReprintTag, {});
        return;
    }
    alert(QStringLiteral("Kepastian"), QStringLiteral("Adakah anda pasti mencetak kembali ?"),
          {QStringLiteral("Batal"), QStringLiteral("Ya")}, kReprintTag, [this](int button) {
              // Cancelled while the question waited: still refused.
              if (button == 0 || !opened_ || !context_)
                  return;
              if (isCancelled()) {
                  alert(QStringLiteral("Makluman"), cancelledRefusal(), {QStringLiteral("OK")}, kReprintTag,
                        {});
                  return;
              }
              AppDelegate* core = app();
              PrinterConnection* connection = context_->printerConnection();
              const NoticePrinter* notices = context_->notices();
              if (!core || !connection || !notices) {
                  // As at issue: with no printer set up the officer is told rather than left waiting.
                  alert(QStringLiteral("Gagal"), PrinterConnection::noticeFailedMessage(),
                        {QStringLiteral("OK")}, 0, {});
                  return;
              }
              // The compound as the store holds it, never as the screens may show it.
              const std::optional<SavedCompound> stored = core->saveStore().entry(opened_->id);
              if (!stored || !stored->record) {
                  alert(QStringLiteral("Gagal"),
                        QStringLiteral(
                            "Kompaun ini tidak lagi disimpan dalam telefon dan tidak dapat dicetak."),
                        {QStringLiteral("OK")}, 0, {});
                  return;
              }
              connection->printerDisconnect();
              connection->printerConnect();
              const int notice =
                  notices->cetakSaman(connection->sessionController(), stored->record,
                                      FirstViewController::trafficNotice(*core, *stored->record));
              Q_EMIT reprinted(notice);
          });
}

void SecondViewController::batalKompaun() {
    if (!opened_ || isCancelled() || !app())
        return;
    alert(QStringLiteral("Kepastian"), QStringLiteral("Adakah anda pasti untuk membatalkan kompaun ini ?"),
          {QStringLiteral("Batal"), QStringLiteral("Ya")}, kCancelTag, [this](int button) {
              AppDelegate* core = app();
              if (button == 0 || !opened_ || !core || isCancelled())
                  return;
              if (!core->saveStore().setStatusBatal(opened_->id, QStringLiteral("1"))) {
                  alert(QStringLiteral("Gagal"),
                        QStringLiteral("Kompaun tidak dapat dibatalkan dalam telefon. Sila cuba lagi."),
                        {QStringLiteral("OK")}, 0, {});
                  return;
              }
              opened_->record->insert(Key::status_batal, QStringLiteral("1"));
              formSet_.setCancelled(true);
              relo();
              alert(QStringLiteral("Makluman"),
                    QStringLiteral("Kompaun %1 telah dibatalkan.")
                        .arg(opened_->record->value(Key::kompaunRunningNumber)),
                    {QStringLiteral("OK")}, 0, {});
          });
}

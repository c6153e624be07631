#include "screens/printed/PrintedListViewController.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/Alerts.h"
#include "printing/PrinterConnection.h"
#include "screens/issuing/IssuingFlow.h"
#include "screens/offences/CompoundTypesViewController.h"
#include "screens/shell/AppContext.h"
#include "screens/shell/NavigationStack.h"

PrintedListViewController::PrintedListViewController(QObject* parent) : ScreenController(parent) {
    model_.setTitleFormat(KeyValueListModel::column(QStringLiteral("title")));
    model_.setSubtitleFormat(KeyValueListModel::column(QStringLiteral("subtitle")));
    connect(&formSet_, &FormSet::cetakRequested, this, &PrintedListViewController::cetak);
    connect(&formSet_, &FormSet::batalRequested, this, &PrintedListViewController::batalKompaun);
}

PrintedListViewController::~PrintedListViewController() {
    // Gone mid-print: the lock goes back with it.
    if (job_.running())
        app().endIssuing(this);
}

void PrintedListViewController::contextSet() {
    // The upload's summary is followed by the list read again (relo).
    connect(&context().shell(), &ShellController::uploadEnded, this, &PrintedListViewController::relo);
    relo();
}

void PrintedListViewController::alert(const QString& title, const QString& message,
                                      const QStringList& buttons, int tag, std::function<void(int)> answer) {
    app().platform().alerts->show({title, message, buttons, tag, std::move(answer)});
}

QString PrintedListViewController::rowTitle(const SavedCompoundRow& row) {
    return row.statusBatal == QLatin1String("1") ? QStringLiteral("%1 (DIBATALKAN)").arg(row.number)
                                                 : row.number;
}

QString PrintedListViewController::cancelledRefusal() {
    return QStringLiteral("Kompaun ini telah dibatalkan dan tidak boleh dicetak semula.");
}

QString PrintedListViewController::rowSubtitle(const SavedCompoundRow& row) {
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

bool PrintedListViewController::matches(const SavedCompoundRow& row, const QString& search) {
    const QString wanted = search.trimmed();
    if (wanted.isEmpty())
        return true;
    // Plates are typed with or without their space ("WXY 1234", "wxy1234").
    const auto squeezed = [](QString text) { return text.remove(QLatin1Char(' ')); };
    return row.number.contains(wanted, Qt::CaseInsensitive) ||
           row.offender.contains(wanted, Qt::CaseInsensitive) ||
           squeezed(row.plate).contains(squeezed(wanted), Qt::CaseInsensitive);
}

void PrintedListViewController::setSearchText(const QString& text) {
    if (text == searchText_)
        return;
    searchText_ = text;
    Q_EMIT searchTextChanged();
    showRows();
}

void PrintedListViewController::relo() {
    const qsizetype before = rows_.size();
    rows_ = app().saveStore().printedListRows();
    if (rows_.size() != before)
        Q_EMIT totalCountChanged();
    showRows();
}

void PrintedListViewController::showRows() {
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

void PrintedListViewController::select(int row) {
    if (row < 0 || row >= shown_.size())
        return;
    AppDelegate& core = app();
    std::optional<SavedCompound> entry = core.saveStore().entry(rows_.at(shown_.at(row)).id);
    if (!entry || !entry->record) {
        // Gone since the list was read (uploaded meanwhile): show what the store holds now.
        relo();
        return;
    }
    opened_ = std::move(entry);
    core.setPreviewDictionary(opened_->record);
    core.setImageArrayP(opened_->photos);
    // The forms and, at a re-print, the notice layout are chosen as they were at issue.
    formSet_.present(navigation_, CompoundTypesViewController::trafficNotice(core, *opened_->record), true);
    formSet_.setCancelled(isCancelled());
}

bool PrintedListViewController::isCancelled() const {
    return opened_ && opened_->record->value(Key::status_batal) == QLatin1String("1");
}

void PrintedListViewController::cetak() {
    if (!opened_)
        return;
    if (isCancelled()) {
        alert(QStringLiteral("Makluman"), cancelledRefusal(), {QStringLiteral("OK")}, kReprintTag, {});
        return;
    }
    alert(QStringLiteral("Kepastian"), QStringLiteral("Adakah anda pasti mencetak kembali ?"),
          {QStringLiteral("Batal"), QStringLiteral("Ya")}, kReprintTag, [this](int button) {
              // Cancelled while the question waited: still refused.
              if (button == 0 || !opened_)
                  return;
              if (isCancelled()) {
                  alert(QStringLiteral("Makluman"), cancelledRefusal(), {QStringLiteral("OK")}, kReprintTag,
                        {});
                  return;
              }
              reprint();
          });
}

void PrintedListViewController::reprint() {
    if (!opened_ || job_.running())
        return;
    AppDelegate& core = app();
    // The compound as the store holds it, never as the screens may show it.
    const std::optional<SavedCompound> stored = core.saveStore().entry(opened_->id);
    if (!stored || !stored->record) {
        alert(QStringLiteral("Gagal"),
              QStringLiteral("Kompaun ini tidak lagi disimpan dalam telefon dan tidak dapat dicetak."),
              {QStringLiteral("OK")}, 0, {});
        return;
    }
    // One notice on its way at a time, application-wide, until its result is known.
    if (!core.beginIssuing(this)) {
        alert(QStringLiteral("Makluman"), IssuingFlow::otherIssuingMessage(), {QStringLiteral("OK")}, 0, {});
        return;
    }
    context().printerConnection().reconnect();
    const Record record = stored->record;
    job_.start(context(), record, CompoundTypesViewController::trafficNotice(core, *record),
               [this, record](const NoticePrintJob::Result& result) {
                   app().endIssuing(this);
                   Q_EMIT reprinted(result.printed);
                   const QString message =
                       NoticePrintJob::resultMessage(record->value(Key::kompaunRunningNumber), result);
                   if (result.printed) {
                       alert(QStringLiteral("Makluman"), message, {QStringLiteral("OK")}, kResultTag, {});
                       return;
                   }
                   // Not printed: printing again comes first.
                   alert(QStringLiteral("Gagal"), message,
                         {QStringLiteral("Cetak Kembali"), QStringLiteral("Tutup")}, kResultTag,
                         [this](int button) {
                             if (button == 0 && !isCancelled())
                                 reprint();
                         });
               });
}

void PrintedListViewController::batalKompaun() {
    if (!opened_ || isCancelled())
        return;
    alert(QStringLiteral("Kepastian"), QStringLiteral("Adakah anda pasti untuk membatalkan kompaun ini ?"),
          {QStringLiteral("Batal"), QStringLiteral("Ya")}, kCancelTag, [this](int button) {
              if (button == 0 || !opened_ || isCancelled())
                  return;
              if (!app().saveStore().setStatusBatal(opened_->id, QStringLiteral("1"))) {
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

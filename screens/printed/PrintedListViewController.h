// PrintedListViewController: SecondViewController in older notes.
#pragma once

#include "core/SavedCompoundStore.h"
#include "screens/forms/FormSet.h"
#include "screens/issuing/NoticePrintJob.h"
#include "screens/shell/KeyValueListModel.h"
#include "screens/shell/ScreenController.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>
#include <optional>

// "Dicetak": the printed compounds waiting for upload, in store order, read through the store's summary
// (no photographs). Opening one shows it read-only in the forms, with "Cetak" to print it again
// (nothing stored, the number untouched) and "Batal Kompaun" to cancel it: a cancelled compound stays in
// the list, marked, is never printed again, and is still uploaded so the council sees the cancellation.
class PrintedListViewController : public ScreenController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(KeyValueListModel* model READ model CONSTANT)
    Q_PROPERTY(FormSet* formSet READ formSet CONSTANT)
    // Narrows the rows to those whose number, plate or offender's name holds this text.
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(int totalCount READ totalCount NOTIFY totalCountChanged)
public:
    static constexpr int kReprintTag = 0;
    static constexpr int kCancelTag = 3;
    static constexpr int kResultTag = 4;

    explicit PrintedListViewController(QObject* parent = nullptr);
    ~PrintedListViewController() override;

    KeyValueListModel* model() { return &model_; }
    FormSet* formSet() { return &formSet_; }
    const QList<SavedCompoundRow>& allDicetak2() const { return rows_; }
    // The stored compound opened last, if any.
    const std::optional<SavedCompound>& opened() const { return opened_; }

    // The row's title: the compound number, marked when cancelled.
    static QString rowTitle(const SavedCompoundRow& row);
    // The row's detail: the offence, then the plate (or the offender when there is none) and the time.
    static QString rowSubtitle(const SavedCompoundRow& row);
    static bool matches(const SavedCompoundRow& row, const QString& search);

    QString searchText() const { return searchText_; }
    void setSearchText(const QString& text);
    int totalCount() const { return int(rows_.size()); }
    static QString cancelledRefusal();

    // Each time the list shows, and after the upload's summary: read again from the store.
    Q_INVOKABLE void viewWillAppear() { relo(); }
    Q_INVOKABLE void relo();
    // A row chosen (as shown, after the search): the stored compound opened in the forms.
    Q_INVOKABLE void select(int row);
    // "Cetak" on the opened compound: asks, then prints it again.
    Q_INVOKABLE void cetak();
    // "Batal Kompaun" on the opened compound: asks, then cancels it in the store.
    Q_INVOKABLE void batalKompaun();

Q_SIGNALS:
    // A re-print's result is known: printed, or not.
    void reprinted(bool printed);
    void searchTextChanged();
    void totalCountChanged();

private:
    void contextSet() override;
    bool isCancelled() const;
    void showRows();
    // Prints the opened compound again as stored, under "Mencetak notis…", then tells the result.
    void reprint();
    void alert(const QString& title, const QString& message, const QStringList& buttons, int tag,
               std::function<void(int)> answer);

    KeyValueListModel model_;
    QList<SavedCompoundRow> rows_;
    // The indexes into rows_ of the rows shown, in order.
    QList<int> shown_;
    QString searchText_;
    FormSet formSet_;
    std::optional<SavedCompound> opened_;
    NoticePrintJob job_{this};
};

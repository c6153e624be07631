#include "Flows.h"
#include "Walkthrough.h"
#include "app/Application.h"
#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/QtAlerts.h"
#include "screens/PrintedListViewController.h"
#include "screens/ShellController.h"

#include <QQuickItem>

// The printed list: the compounds waiting, one opened read-only in its forms and printed again (the store
// and the number untouched), one cancelled; then a favourite deleted.
void printedListFlow(Walkthrough& w) {
    Application& app = w.app();
    Officer& officer = w.officer();
    AppDelegate& core = app.app();
    QtAlerts& alerts = app.alerts();
    const auto rowText = [&](int row) {
        QQuickItem* item = officer.find(QStringLiteral("dicetakRow%1").arg(row));
        return item ? item->property("title").toString() : QString();
    };

    QList<SavedCompoundRow> rows;
    w.step(
        QStringLiteral("printed-list"),
        [&] {
            officer.tap(QStringLiteral("tab2"));
            officer.settle();
            rows = core.saveStore().printedListRows();
        },
        [&]() -> QString {
            if (rows.isEmpty())
                return QStringLiteral("nothing waits for upload");
            for (int i = 0; i < rows.size() && i < 5; ++i)
                if (rowText(i) != rows[i].number)
                    return QStringLiteral("row %1 shows \"%2\", expected %3")
                        .arg(i)
                        .arg(rowText(i), rows[i].number);
            return {};
        });

    const auto running = [&] { return core.runningNumbers().getRunningNumber(); };
    int runningBefore = 0;
    QString receipt;
    w.step(
        QStringLiteral("printed-open"),
        [&] {
            officer.choose(QStringLiteral("dicetakRow0"), rows.value(0).number);
            officer.settle();
        },
        [&]() -> QString {
            if (!officer.isShowing(QStringLiteral("formSetView")) ||
                !officer.isShowing(QStringLiteral("cetakButton")))
                return QStringLiteral("the stored compound is not shown with \"Cetak\"");
            return core.getDictionary()->value(Key::kompaunRunningNumber) == rows.value(0).number
                       ? QString()
                       : QStringLiteral("the forms show another compound");
        });

    w.step(
        QStringLiteral("printed-reprint"),
        [&] {
            runningBefore = running();
            officer.tap(QStringLiteral("cetakButton"));
            w.shot(QStringLiteral("printed-reprint-question"));
            officer.tap(QStringLiteral("alertButton1"));
            receipt = w.collectReceipt(QStringLiteral("printed-reprint"));
            Officer::waitUntil(
                [&] { return alerts.visible() && alerts.tag() == PrintedListViewController::kResultTag; });
            officer.settle();
        },
        [&]() -> QString {
            if (receipt.isEmpty())
                return QStringLiteral("the re-print did not reach the printer");
            if (running() != runningBefore || core.saveStore().printedListRows() != rows)
                return QStringLiteral("re-printing changed the store or the number");
            return Walkthrough::expectAlert(
                alerts, QStringLiteral("Makluman"),
                QStringLiteral("Notis kompaun %1 telah dicetak.").arg(rows.value(0).number));
        });

    w.step(
        QStringLiteral("printed-cancel-question"),
        [&] {
            officer.tap(QStringLiteral("alertButton0"));
            officer.tap(QStringLiteral("batalKompaunButton"));
        },
        [&] {
            return Walkthrough::expectAlert(
                alerts, QStringLiteral("Kepastian"),
                QStringLiteral("Adakah anda pasti untuk membatalkan kompaun ini ?"));
        });

    w.step(
        QStringLiteral("printed-cancelled"),
        [&] {
            officer.tap(QStringLiteral("alertButton1"));
            officer.tap(QStringLiteral("alertButton0"));
            officer.tap(QStringLiteral("backButton"));
            officer.settle();
        },
        [&]() -> QString {
            const QList<SavedCompoundRow> now = core.saveStore().printedListRows();
            if (now.size() != rows.size() || now.first().statusBatal != QLatin1String("1"))
                return QStringLiteral("the first compound is not cancelled in the store");
            return rowText(0) == rows.first().number + QStringLiteral(" (DIBATALKAN)")
                       ? QString()
                       : QStringLiteral("the row shows \"%1\"").arg(rowText(0));
        });

    w.step(
        QStringLiteral("printed-cancelled-refuses-reprint"),
        [&] {
            officer.choose(QStringLiteral("dicetakRow0"), rows.value(0).number);
            officer.settle();
            officer.tap(QStringLiteral("cetakButton"));
        },
        [&]() -> QString {
            if (officer.isShowing(QStringLiteral("batalKompaunButton")))
                return QStringLiteral("a cancelled compound still offers \"Batal Kompaun\"");
            return Walkthrough::expectAlert(
                alerts, QStringLiteral("Makluman"),
                QStringLiteral("Kompaun ini telah dibatalkan dan tidak boleh dicetak semula."));
        });
    officer.tap(QStringLiteral("alertButton0"));
    officer.tap(QStringLiteral("backButton"));
}

void favouriteDeleteFlow(Walkthrough& w) {
    Officer& officer = w.officer();
    AppDelegate& core = w.app().app();
    const auto favourites = [&] {
        return core.favStore().getFavSaveArray().value_or(FavouriteList{}).size();
    };
    qsizetype before = 0;
    w.step(
        QStringLiteral("favourite-delete-swiped"),
        [&] {
            officer.tap(QStringLiteral("tab1"));
            officer.settle();
            before = favourites();
            officer.swipe(QStringLiteral("favRow0"));
            officer.settle();
        },
        [&] {
            return officer.isShowing(QStringLiteral("padamButton0")) ? QString()
                                                                     : QStringLiteral("no \"Padam\"");
        });
    w.step(
        QStringLiteral("favourite-deleted"),
        [&] {
            officer.tap(QStringLiteral("padamButton0"));
            officer.settle();
        },
        [&]() -> QString {
            return favourites() == before - 1
                       ? QString()
                       : QStringLiteral("%1 favourites left of %2").arg(favourites()).arg(before);
        });
}

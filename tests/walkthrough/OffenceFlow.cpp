#include "Flows.h"
#include "Walkthrough.h"
#include "app/Application.h"
#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/QtAlerts.h"
#include "screens/NavigationStack.h"
#include "screens/ShellController.h"

#include <QQuickItem>

namespace {

int listCount(Officer& officer, const QString& list) {
    QQuickItem* item = officer.find(list);
    return item ? item->property("count").toInt() : -1;
}

} // namespace

// Offence selection: sign in, every compound type (back in between), a search and its cancel in an act
// list, a favourite kept with "Simpan", and the form sets of a general and a traffic compound; then tab 0
// back at its root and sign-out.
void offenceFlow(Walkthrough& w) {
    Application& app = w.app();
    Officer& officer = w.officer();
    AppDelegate& core = app.app();
    ShellController& shell = app.shell();
    NavigationStack& tab0 = *shell.stack(ShellController::JenisKompaun);
    const auto record = [&] { return *core.getDictionary(); };
    const auto showing = [&](const QString& screen) -> QString {
        return officer.isShowing(screen) ? QString() : QStringLiteral("%1 is not showing").arg(screen);
    };

    QString firstNumber;
    w.step(
        QStringLiteral("offence-type-menu"),
        [&] {
            officer.type(QStringLiteral("userIDField"), w.staffCode());
            officer.type(QStringLiteral("passwordField"), w.password());
            officer.tap(QStringLiteral("btn"));
            officer.tap(QStringLiteral("tab0"));
        },
        [&]() -> QString {
            if (!shell.signedIn())
                return QStringLiteral("not signed in");
            if (const QString p = showing(QStringLiteral("jenisKompaunRow5")); !p.isEmpty())
                return p;
            firstNumber = record().value(Key::kompaunRunningNumber);
            return firstNumber.isEmpty() ? QStringLiteral("no fresh record") : QString();
        });

    // Every type in turn, back to the menu in between: the traffic marks follow the row.
    const QStringList typeSteps{QStringLiteral("type-traffic"),        QStringLiteral("type-vehicle-bylaw"),
                                QStringLiteral("type-offender-bylaw"), QStringLiteral("type-seizure"),
                                QStringLiteral("type-enactment"),      QStringLiteral("type-public-health")};
    for (int row = 0; row < typeSteps.size(); ++row) {
        w.step(
            typeSteps[row],
            [&, row] {
                if (tab0.depth() > 1)
                    officer.tap(QStringLiteral("backButton"));
                officer.choose(QStringLiteral("jenisKompaunRow%1").arg(row));
            },
            [&, row]() -> QString {
                if (const QString p = showing(QStringLiteral("sectionKesalahanView")); !p.isEmpty())
                    return p;
                const RecordMap r = record();
                if (r.value(Key::isLaluLintas) != (row <= 1 ? QLatin1String("YA") : QLatin1String("TIDAK")) ||
                    core.getLaluLintas() != (row == 0))
                    return QStringLiteral("traffic marks wrong for row %1").arg(row);
                if (tab0.currentTitle() != r.value(Key::JenisKompaun) ||
                    listCount(officer, QStringLiteral("kesalahanList")) < 2)
                    return QStringLiteral("act list \"%1\" with %2 acts")
                        .arg(tab0.currentTitle())
                        .arg(listCount(officer, QStringLiteral("kesalahanList")));
                return r.value(Key::kompaunRunningNumber) == firstNumber ? QString()
                                                                         : QStringLiteral("number changed");
            });
    }

    // The offender by-laws: a search and its cancel.
    int fullCount = 0;
    w.step(
        QStringLiteral("act-search"),
        [&] {
            officer.tap(QStringLiteral("backButton"));
            officer.choose(QStringLiteral("jenisKompaunRow2"));
            fullCount = listCount(officer, QStringLiteral("kesalahanList"));
            officer.type(QStringLiteral("searchField"), QStringLiteral("PENJAJA"));
            officer.key(Qt::Key_Return, QStringLiteral("Return"));
        },
        [&]() -> QString {
            if (listCount(officer, QStringLiteral("kesalahanList")) != 1)
                return QStringLiteral("%1 acts found for PENJAJA")
                    .arg(listCount(officer, QStringLiteral("kesalahanList")));
            return showing(QStringLiteral("searchCancel"));
        });
    w.step(
        QStringLiteral("act-search-cancelled"), [&] { officer.tap(QStringLiteral("searchCancel")); },
        [&]() -> QString {
            if (listCount(officer, QStringLiteral("kesalahanList")) != fullCount)
                return QStringLiteral("cancel shows %1 acts of %2")
                    .arg(listCount(officer, QStringLiteral("kesalahanList")))
                    .arg(fullCount);
            QQuickItem* field = officer.find(QStringLiteral("searchField"));
            if (!field || field->hasActiveFocus())
                return QStringLiteral("the keyboard stayed");
            return officer.isShowing(QStringLiteral("searchCancel")) ? QStringLiteral("cancel still shown")
                                                                     : QString();
        });

    // The hawkers' by-law: its sections, and the first kept as a favourite.
    const auto favourites = [&] {
        return core.favStore().getFavSaveArray().value_or(FavouriteList{}).size();
    };
    const qsizetype favouritesBefore = favourites();
    w.step(
        QStringLiteral("sections"),
        [&] { officer.choose(QStringLiteral("kesalahanRow1"), QStringLiteral("UUK PJJ 2008")); },
        [&]() -> QString {
            if (const QString p = showing(QStringLiteral("kategoriView")); !p.isEmpty())
                return p;
            return record().value(Key::akta) == QLatin1String("UUK PJJ 2008")
                       ? QString()
                       : QStringLiteral("act %1 chosen").arg(record().value(Key::akta));
        });
    w.step(
        QStringLiteral("favourite-swiped"), [&] { officer.swipe(QStringLiteral("kategoriRow0")); },
        [&] { return showing(QStringLiteral("simpanButton0")); });
    w.step(
        QStringLiteral("favourite-saved"), [&] { officer.tap(QStringLiteral("simpanButton0")); },
        [&]() -> QString {
            if (favourites() != favouritesBefore + 1)
                return QStringLiteral("%1 favourites, expected %2")
                    .arg(favourites())
                    .arg(favouritesBefore + 1);
            const Favourite saved = core.favStore().getFavSaveArray()->constLast();
            if (saved.record.value(QStringLiteral("akta")) != QLatin1String("UUK PJJ 2008"))
                return QStringLiteral("favourite of act %1").arg(saved.record.value(QStringLiteral("akta")));
            return showing(QStringLiteral("kategoriView"));
        });

    const auto formSetShows = [&](const QStringList& tabs) -> QString {
        if (const QString p = showing(QStringLiteral("formSetView")); !p.isEmpty())
            return p;
        for (int i = 0; i < 4; ++i)
            if (officer.isShowing(QStringLiteral("formTab%1").arg(i)) != (i < tabs.size()))
                return QStringLiteral("tab %1 %2").arg(i).arg(i < tabs.size() ? "missing" : "extra");
        QQuickItem* form = officer.find(QStringLiteral("form0"));
        if (!form || form->property("status").toInt() != 1)
            return QStringLiteral("the first form did not load");
        return tab0.currentTitle() == QLatin1String("Maklumat") ? QString()
                                                                : QStringLiteral("title not Maklumat");
    };
    w.step(
        QStringLiteral("form-set-general"),
        [&] {
            officer.choose(QStringLiteral("kategoriRow1"));
            w.attachRecord(QStringLiteral("form-set-general.record.json"), record());
        },
        [&]() -> QString {
            if (const QString p = formSetShows({QStringLiteral("Pesalah"), QStringLiteral("Kompaun"),
                                                QStringLiteral("Lokasi"), QStringLiteral("Kenderaan")});
                !p.isEmpty())
                return p;
            const RecordMap r = record();
            return r.value(Key::kesalahan).isEmpty() || r.value(Key::lat).isEmpty()
                       ? QStringLiteral("offence or position missing")
                       : QString();
        });
    for (int tab = 1; tab < 4; ++tab) {
        w.step(
            QStringLiteral("form-set-general-tab%1").arg(tab),
            [&, tab] { officer.tap(QStringLiteral("formTab%1").arg(tab)); },
            [&, tab]() -> QString {
                QQuickItem* form = officer.find(QStringLiteral("form%1").arg(tab));
                return form && form->property("status").toInt() == 1
                           ? QString()
                           : QStringLiteral("form %1 did not load").arg(tab);
            });
    }

    // A traffic compound: the vehicle first, and "Semak" gives it a time of issue though the compound
    // form never showed.
    w.step(
        QStringLiteral("form-set-traffic"),
        [&] {
            while (tab0.depth() > 1 && officer.tap(QStringLiteral("backButton"))) {
            }
            officer.choose(QStringLiteral("jenisKompaunRow0"));
            officer.choose(QStringLiteral("kesalahanRow0"));
            officer.choose(QStringLiteral("kategoriRow0"));
            w.attachRecord(QStringLiteral("form-set-traffic.record.json"), record());
        },
        [&]() -> QString {
            if (const QString p = formSetShows(
                    {QStringLiteral("Kenderaan"), QStringLiteral("Kompaun"), QStringLiteral("Lokasi")});
                !p.isEmpty())
                return p;
            return record().value(Key::kompaunRunningNumber) == firstNumber
                       ? QString()
                       : QStringLiteral("the number moved without a print");
        });
    w.step(
        QStringLiteral("form-set-traffic-semak"),
        [&] {
            officer.tap(QStringLiteral("semakButton"));
            w.attachRecord(QStringLiteral("form-set-traffic-semak.record.json"), record());
        },
        [&]() -> QString {
            const QString time = record().value(Key::kompaunMasa);
            if (time.size() != 5 || time.at(2) != QLatin1Char(':'))
                return QStringLiteral("no time of issue at Semak (\"%1\")").arg(time);
            // Nothing typed yet: the vehicle is asked for.
            return Walkthrough::expectAlert(w.app().alerts(), QStringLiteral("Makluman"),
                                            QStringLiteral("Sila Masukkan No Kenderaan!"));
        });

    w.step(
        QStringLiteral("offence-back-to-types"),
        [&] {
            officer.tap(QStringLiteral("alertButton0"));
            for (int i = 0; i < 10 && tab0.depth() > 1 && officer.tap(QStringLiteral("backButton")); ++i) {
            }
        },
        [&]() -> QString {
            if (const QString p = showing(QStringLiteral("firstView")); !p.isEmpty())
                return p;
            return record().value(Key::kesalahan).isEmpty()
                       ? QString()
                       : QStringLiteral("the type menu kept the offence");
        });
    w.step(
        QStringLiteral("offence-signed-out"),
        [&] {
            officer.tap(QStringLiteral("logKeluarButton"));
            officer.tap(QStringLiteral("alertButton1"));
        },
        [&] {
            return shell.signedIn() ? QStringLiteral("still signed in")
                                    : showing(QStringLiteral("loginScreen"));
        });
}

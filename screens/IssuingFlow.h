#pragma once

#include "core/Record.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class AppContext;
class AppDelegate;
class FormSet;
class NavigationStack;

// The end of issuing, shared by the two screens that open the form set (the section list and the
// favourites): "Semak" with its checks and the review, the confirmation, then store, print and number,
// and the after-print menu.
//
// What "Ya" does, in order: the compound is stored with its photographs (a store that fails stops here:
// nothing printed, the number not advanced, "Ya" may be tried again); the printer connection is made
// afresh and the notice written; the running number advanced (the stored compound owns its number
// whether or not the notice comes out whole, so the number is never given twice; a failed notice is
// printed again from the menu or from the printed list); then, once the notice has finished, the menu.
// From "Ya" to the menu a second "Ya" or "Cetak" is ignored.
class IssuingFlow : public QObject {
    Q_OBJECT
public:
    enum class Opener { Sections, Favourites };
    static constexpr int kConfirmTag = 1;
    static constexpr int kMenuTag = 2;

    // opener: the screen the review calls back, handed to the review under its property name.
    IssuingFlow(QObject* opener, Opener kind, FormSet* forms, std::function<AppContext*()> context,
                std::function<NavigationStack*()> navigation, QObject* parent = nullptr);

    // The first check the record fails, as the officer is told it; empty when it passes. A traffic
    // compound names the vehicle instead of an offender.
    static QString semakProblem(const RecordMap& record, bool traffic);

    // "Semak": the time of issue stamped when missing, the checks, then the review pushed. False when a
    // check failed (its message shown) or nothing could be done.
    bool semak();
    // The review's "Cetak": the confirmation.
    void cetak();
    // Prints the current record and shows the menu once the notice has finished.
    void cetakExe();
    // Storing, printing or waiting for the notice: a second "Ya" is ignored.
    bool busy() const { return busy_; }

Q_SIGNALS:
    // The notice of the last print finished (written whole or not); the menu follows.
    void noticeDone(bool written);

private:
    AppDelegate* app() const;
    void confirmed();
    void showMenu();
    void menuChosen(int button);
    void alert(const QString& title, const QString& message, const QStringList& buttons, int tag,
               std::function<void(int)> answer);

    QPointer<QObject> opener_;
    Opener kind_;
    QPointer<FormSet> forms_;
    std::function<AppContext*()> context_;
    std::function<NavigationStack*()> navigation_;
    bool busy_ = false;
    bool confirming_ = false;
    int notice_ = 0;
    QMetaObject::Connection waiting_;
};

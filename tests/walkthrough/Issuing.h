#pragma once

#include "Walkthrough.h"

#include <QString>
#include <QStringList>

class AppDelegate;
class QtAlerts;

// Issuing one compound through the window, shared by the flows that print: the type menu, the offender,
// photographs from the gallery, "Semak", "Cetak" and the stored result.
struct Issuing {
    Walkthrough& w;
    Application& app;
    Officer& officer;
    AppDelegate& core;
    QtAlerts& alerts;
    // The gallery pictures attached to the compound being issued, in order.
    QStringList attached;

    explicit Issuing(Walkthrough& walkthrough);

    int stored();
    bool menuShowing() const;
    QString number() const;
    QString shownText(const QString& name) const;

    // The type menu, then a type, its first act and its first section: the form set.
    void start(int typeRow);
    // The offender typed in; the place copied from the offender's address.
    void offender(const QString& ic, const QString& name, const QString& address);
    // Pictures from the gallery onto the location form.
    void photographs(const QStringList& names);
    // "Cetak" on the review and the given yes: stored, printed, numbered; the after-print menu showing.
    // Empty when so, else what went wrong; the notice's picture is saved and named in receipt.
    QString confirmAndPrint(const QString& receiptName, QString& receipt,
                            const QString& yes = QStringLiteral("Ya"));
    // The last stored compound has this number, waits for upload, holds the attached pictures exactly,
    // and its notice reached the printer. Empty when so.
    QString lastStored(const QString& expectedNumber, const QString& receipt);
};

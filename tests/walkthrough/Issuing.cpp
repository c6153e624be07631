#include "Issuing.h"

#include "Gallery.h"
#include "app/Application.h"
#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/QtAlerts.h"
#include "screens/NavigationStack.h"
#include "screens/ShellController.h"

#include <QQuickItem>

Issuing::Issuing(Walkthrough& walkthrough)
    : w(walkthrough), app(w.app()), officer(w.officer()), core(app.app()), alerts(app.alerts()) {}

int Issuing::stored() {
    return core.saveStore().getDicetakUploadCountNumber();
}

bool Issuing::menuShowing() const {
    return alerts.visible() && alerts.tag() == 2;
}

QString Issuing::number() const {
    return core.saveDictionary()->value(Key::kompaunRunningNumber);
}

QString Issuing::shownText(const QString& name) const {
    QQuickItem* item = officer.find(name);
    return item ? item->property("text").toString() : QString();
}

void Issuing::start(int typeRow) {
    officer.tap(QStringLiteral("tab0"));
    NavigationStack& stack = *app.shell().stack(ShellController::JenisKompaun);
    for (int i = 0; i < 10 && stack.depth() > 1 && officer.tap(QStringLiteral("backButton")); ++i) {
    }
    officer.choose(QStringLiteral("jenisKompaunRow%1").arg(typeRow));
    officer.choose(QStringLiteral("kesalahanRow0"));
    officer.choose(QStringLiteral("kategoriRow0"));
    officer.settle();
}

void Issuing::offender(const QString& ic, const QString& name, const QString& address) {
    officer.tap(QStringLiteral("formTab0"));
    officer.settle();
    officer.type(QStringLiteral("noKadPengenalanPesalahField"), ic);
    officer.type(QStringLiteral("namaPesalahField"), name);
    officer.type(QStringLiteral("alamat1PesalahField"), address);
    officer.type(QStringLiteral("poskodPesalahField"), QStringLiteral("42700"));
    // The place is where the offender is: the location form copies the address.
    officer.tap(QStringLiteral("formTab2"));
    officer.settle();
    officer.tap(QStringLiteral("samaSptAlamatButton"));
}

void Issuing::photographs(const QStringList& names) {
    officer.tap(QStringLiteral("formTab2"));
    officer.settle();
    if (core.getImageArray().isEmpty()) // a fresh compound, or one reused after printing
        attached.clear();
    for (const QString& name : names) {
        attachFromGallery(w, name);
        attached.append(name);
    }
    w.line(QStringLiteral("  %1 attached to %2").arg(names.join(QStringLiteral(", ")), number()));
}

QString Issuing::confirmAndPrint(const QString& receiptName, QString& receipt, const QString& yes) {
    officer.tap(QStringLiteral("cetakButton"));
    if (alerts.buttons().value(1) != yes)
        return QStringLiteral("the confirmation offers %1").arg(alerts.buttons().join(QLatin1Char('/')));
    if (QString p = Walkthrough::expectAlert(
            alerts, QStringLiteral("Kepastian"),
            QStringLiteral("Adakah anda pasti semua maklumat telah diisi dengan betul ?"));
        !p.isEmpty())
        return p;
    w.shot(receiptName + QStringLiteral("-confirm"));
    officer.tap(QStringLiteral("alertButton1"));
    receipt = w.collectReceipt(receiptName);
    Officer::waitUntil([&] { return menuShowing(); });
    officer.settle();
    return {};
}

QString Issuing::lastStored(const QString& expectedNumber, const QString& receipt) {
    if (receipt.isEmpty())
        return QStringLiteral("the notice did not reach the printer");
    if (!menuShowing())
        return QStringLiteral("no after-print menu");
    const SavedCompoundList all = core.saveStore().getDicetak();
    if (all.isEmpty() || all.last().record->value(Key::kompaunRunningNumber) != expectedNumber)
        return QStringLiteral("%1 not stored last").arg(expectedNumber);
    if (all.last().uploadFlag != QLatin1String("0"))
        return QStringLiteral("%1 stored with flag %2").arg(expectedNumber, all.last().uploadFlag);
    if (QString p = w.gallery().entriesProblem(all.last().photos, attached); !p.isEmpty())
        return QStringLiteral("%1 stored: %2").arg(expectedNumber, p);
    w.attachRecord(QStringLiteral("stored.record.json"), *all.last().record);
    return {};
}

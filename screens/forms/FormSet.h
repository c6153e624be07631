#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class FormViewController;
class NavigationStack;

// The forms of one compound under the "Maklumat" tab strip, as the screen that opened them sees them:
// which forms in which order, which buttons the bar offers (issuing: "Semak"; a stored compound: "Cetak"
// and "Batal Kompaun"), and the forms themselves once made, so the opener can prepare them for the
// next compound. The view reports its buttons here; the opener listens.
class FormSet : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("owned by the screen that opens the forms")
    Q_PROPERTY(QStringList titles READ titles NOTIFY changed)
    Q_PROPERTY(QStringList screens READ screens NOTIFY changed)
    Q_PROPERTY(bool preview READ preview NOTIFY changed)
    Q_PROPERTY(bool cancelled READ cancelled NOTIFY changed)
public:
    explicit FormSet(QObject* parent = nullptr);

    QStringList titles() const { return titles_; }
    QStringList screens() const { return screens_; }
    bool preview() const { return preview_; }
    bool cancelled() const { return cancelled_; }

    // A new set: the traffic order has no offender form and starts with the vehicle. Forms made for an
    // earlier set are forgotten.
    void open(bool traffic, bool preview);
    // A new set opened and its view pushed on that stack under "Maklumat": how every screen that shows
    // a compound's forms opens them.
    void present(NavigationStack* navigation, bool traffic, bool preview);
    void setCancelled(bool cancelled);

    // The view: a form of this set has been made (its page, whose controller is a direct child).
    Q_INVOKABLE void formLoaded(QObject* page);
    // The field of that page's form where the officer starts typing (see FormViewController).
    Q_INVOKABLE QString firstMissingField(QObject* page) const;
    // The forms of this set made so far, in the order they were made.
    QList<FormViewController*> forms() const;
    // Each form made prepares itself for a new compound of the same offence.
    void initForms() const;
    // The officer is taken to the field of that record key: its form's tab shows and the field takes
    // the focus. Keys of no form of this set are ignored.
    void showField(QLatin1String key);
    // The tab of the form holding that record key's field; -1 when no form of this set holds it.
    int tabOf(QLatin1String key) const;

    // The bar's buttons.
    Q_INVOKABLE void semak() { Q_EMIT semakRequested(); }
    Q_INVOKABLE void cetak() { Q_EMIT cetakRequested(); }
    Q_INVOKABLE void batalKompaun() { Q_EMIT batalRequested(); }

Q_SIGNALS:
    void changed();
    void semakRequested();
    void cetakRequested();
    void batalRequested();
    // The view: show that tab and give the item of that objectName the focus.
    void fieldRequested(int tab, const QString& name);

private:
    QStringList titles_;
    QStringList screens_;
    bool preview_ = false;
    bool cancelled_ = false;
    QList<QPointer<QObject>> pages_;
};

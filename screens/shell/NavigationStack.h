#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

// The screens of one tab, as a stack: what each tab's StackView shows, kept here so that controllers
// push and pop without a window and tests can read where the officer is. The view follows the
// requests; the stack itself is the truth.
class NavigationStack : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("each tab's stack is made by the shell")
    Q_PROPERTY(int depth READ depth NOTIFY changed)
    Q_PROPERTY(QString currentScreen READ currentScreen NOTIFY changed)
    Q_PROPERTY(QString currentTitle READ currentTitle NOTIFY changed)
    Q_PROPERTY(QString rootScreen READ rootScreen CONSTANT)
public:
    struct Entry {
        QString screen; // the QML file of the screen, e.g. "SectionKesalahanView.qml"
        QString title;
    };

    NavigationStack(QString rootScreen, QString rootTitle, QObject* parent = nullptr);

    int depth() const { return int(entries_.size()); }
    QString currentScreen() const { return entries_.last().screen; }
    QString currentTitle() const { return entries_.last().title; }
    QString rootScreen() const { return entries_.first().screen; }
    const QList<Entry>& entries() const { return entries_; }

    // Shows a screen on top, with its bar title; properties are set on the new screen before it shows.
    Q_INVOKABLE void push(const QString& screen, const QString& title, const QVariantMap& properties = {});
    // Back one screen; the root stays.
    Q_INVOKABLE void pop();
    // Back to the root screen.
    Q_INVOKABLE void popToRoot();
    // A screen that changes its own title (a list titled after the row chosen on it).
    Q_INVOKABLE void setCurrentTitle(const QString& title);

Q_SIGNALS:
    void pushRequested(const QString& screen, const QString& title, const QVariantMap& properties);
    void popRequested();
    void popToRootRequested();
    void changed();

private:
    QList<Entry> entries_;
};

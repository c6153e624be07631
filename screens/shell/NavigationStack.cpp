#include "screens/shell/NavigationStack.h"

NavigationStack::NavigationStack(QString rootScreen, QString rootTitle, QObject* parent)
    : QObject(parent), entries_{{std::move(rootScreen), std::move(rootTitle)}} {}

void NavigationStack::push(const QString& screen, const QString& title, const QVariantMap& properties) {
    if (screen.isEmpty())
        return;
    entries_.append({screen, title});
    Q_EMIT pushRequested(screen, title, properties);
    Q_EMIT changed();
}

void NavigationStack::pop() {
    if (entries_.size() <= 1)
        return;
    entries_.removeLast();
    Q_EMIT popRequested();
    Q_EMIT changed();
}

void NavigationStack::popToRoot() {
    if (entries_.size() <= 1)
        return;
    entries_.resize(1);
    Q_EMIT popToRootRequested();
    Q_EMIT changed();
}

void NavigationStack::setCurrentTitle(const QString& title) {
    if (entries_.last().title == title)
        return;
    entries_.last().title = title;
    Q_EMIT changed();
}

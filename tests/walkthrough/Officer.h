#pragma once

#include <QString>

#include <functional>

class QQuickItem;
class QQuickWindow;

// The walkthrough's hands: finds the window's items by objectName and taps, types and presses keys on
// them as an officer's finger and keyboard would, so a broken binding or a covered button fails. Every
// action is written as one "action <tap|type|choose|swipe|key> <objectName> [text]" line.
class Officer {
public:
    using LogLine = std::function<void(const QString&)>;
    Officer(QQuickWindow* window, LogLine log);

    // The visible item with that objectName (the first in depth order), or null.
    QQuickItem* find(const QString& objectName) const;
    bool isShowing(const QString& objectName) const { return find(objectName) != nullptr; }
    // Showing and taking taps (a dialog just shown takes none for its first moments).
    bool isEnabled(const QString& objectName) const;

    // Each returns false (and logs why) when the item is not there to act on.
    bool tap(const QString& objectName);
    // Taps the field, replaces its text by typing, and ends editing with Tab so end-of-editing runs.
    bool type(const QString& objectName, const QString& text);
    // A row of a list: taps the delegate with that objectName, logged as a choice.
    bool choose(const QString& objectName, const QString& label = {},
                const QString& verb = QStringLiteral("choose"));
    // Taps the item's centre, then the same point of the window again gapMs later, whatever shows there
    // by then: a finger that taps twice where it meant once.
    bool tapTwice(const QString& objectName, int gapMs);
    // Drags the item leftwards, as a finger uncovering a row's swipe actions.
    bool swipe(const QString& objectName);
    // Presses the item's centre and moves the finger by (dx, dy) in small steps before letting go.
    bool drag(const QString& objectName, int dx, int dy);
    bool key(int qtKey, const QString& what);

    // Runs the event loop until the condition holds, waking on every event (no fixed sleeps); false on
    // time-out.
    static bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 20000);
    // Until every transition has ended and the scene is still: what a screenshot needs.
    void settle();

    QString lastProblem() const { return problem_; }
    // How many times an item had to be scrolled into view first: each a scroll an officer makes.
    int scrolls() const { return scrolls_; }

private:
    QQuickItem* ready(const QString& objectName);
    void scrollIntoView(QQuickItem* item);
    QQuickWindow* window_;
    LogLine log_;
    QString problem_;
    int scrolls_ = 0;
};

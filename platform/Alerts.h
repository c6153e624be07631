#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// What the officer must know is shown as an alert. A confirmation has its cancel button at index 0;
// a screen that shows several alerts tells the answers apart by the tag.
struct Alert {
    QString title;
    QString message;
    QStringList buttons;
    int tag = 0;
    std::function<void(int buttonIndex)> onAnswer; // may be empty
};

class Alerts {
public:
    virtual ~Alerts() = default;
    // Must be called on the UI thread; the answer is delivered there too.
    virtual void show(Alert alert) = 0;
};

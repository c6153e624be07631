#pragma once

#include <QString>

#include <functional>

// The modal progress overlay: a label and a detail text over the whole window. Safe to call from
// any thread; bindings forward to the UI thread.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void show(const QString& label) = 0;
    virtual void setDetail(const QString& detail) = 0;
    virtual void hide() = 0;
    // A "Batal" button on the overlay until it is pressed or the overlay is shown or hidden again;
    // pressing it runs onCancel once, on the interface thread. Call after show().
    virtual void offerCancel(std::function<void()> onCancel) { static_cast<void>(onCancel); }
};

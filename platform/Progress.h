#pragma once

#include <QString>

// The modal progress overlay: a label and a detail text over the whole window. Safe to call from
// any thread; bindings forward to the UI thread.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void show(const QString& label) = 0;
    virtual void setDetail(const QString& detail) = 0;
    virtual void hide() = 0;
};

#pragma once

#include <QEventLoop>
#include <QTimer>

// Lets the event loop run for a while (animations, layouts, queued calls) without blocking it.
inline void settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

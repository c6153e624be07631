#include "platform/QtTimers.h"

#include <QTimer>

namespace {
class QtTimer : public Timer {
public:
    QtTimer(int intervalMs, bool repeating, std::function<void()> action) {
        timer_.setInterval(intervalMs);
        timer_.setSingleShot(!repeating);
        QObject::connect(&timer_, &QTimer::timeout, [action = std::move(action)] { action(); });
        timer_.start();
    }
    void invalidate() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};
} // namespace

std::unique_ptr<Timer> QtTimers::start(int intervalMs, bool repeating, std::function<void()> action) {
    return std::make_unique<QtTimer>(intervalMs, repeating, std::move(action));
}

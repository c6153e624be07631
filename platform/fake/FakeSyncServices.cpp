#include "platform/fake/FakeSyncServices.h"

#include <limits>

namespace {
class FakeTimer : public Timer {
public:
    explicit FakeTimer(std::function<void()> cancel, std::function<bool()> active)
        : cancel_(std::move(cancel)), active_(std::move(active)) {}
    ~FakeTimer() override { cancel_(); }
    void invalidate() override { cancel_(); }
    bool isActive() const override { return active_(); }

private:
    std::function<void()> cancel_;
    std::function<bool()> active_;
};
} // namespace

std::unique_ptr<Timer> FakeTimers::start(int intervalMs, bool repeating, std::function<void()> action) {
    auto entry = std::make_shared<Entry>(
        Entry{elapsedMs_ + intervalMs, intervalMs, repeating, true, std::move(action)});
    entries_.push_back(entry);
    std::weak_ptr<Entry> weak = entry;
    return std::make_unique<FakeTimer>(
        [weak] {
            if (auto e = weak.lock())
                e->active = false;
        },
        [weak] {
            auto e = weak.lock();
            return e && e->active;
        });
}

void FakeTimers::advance(qint64 ms) {
    const qint64 target = elapsedMs_ + ms;
    while (true) {
        std::shared_ptr<Entry> next;
        for (const auto& e : entries_)
            if (e->active && e->dueMs <= target && (!next || e->dueMs < next->dueMs))
                next = e;
        if (!next)
            break;
        now_ = now_.addMSecs(next->dueMs - elapsedMs_);
        elapsedMs_ = next->dueMs;
        if (next->repeating)
            next->dueMs += std::max(1, next->intervalMs);
        else
            next->active = false;
        auto action = next->action; // the action may drop its own timer
        action();
    }
    now_ = now_.addMSecs(target - elapsedMs_);
    elapsedMs_ = target;
    std::erase_if(entries_, [](const auto& e) { return !e->active; });
}

int FakeTimers::activeCount() const {
    int n = 0;
    for (const auto& e : entries_)
        n += e->active ? 1 : 0;
    return n;
}

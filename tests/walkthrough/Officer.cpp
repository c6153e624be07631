#include "Officer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QTimer>

namespace {

QQuickItem* findVisible(QQuickItem* item, const QString& name) {
    if (!item || !item->isVisible())
        return nullptr;
    if (item->objectName() == name)
        return item;
    // Later children are drawn above earlier ones: an overlay's button wins over a covered one.
    const QList<QQuickItem*> children = item->childItems();
    for (auto it = children.crbegin(); it != children.crend(); ++it)
        if (QQuickItem* found = findVisible(*it, name))
            return found;
    return nullptr;
}

// The named item a finger at that window point touches: the deepest visible one, topmost first.
QString touched(QQuickItem* item, const QPointF& scenePoint) {
    if (!item || !item->isVisible())
        return {};
    const QList<QQuickItem*> children = item->childItems();
    for (auto it = children.crbegin(); it != children.crend(); ++it)
        if (const QString name = touched(*it, scenePoint); !name.isEmpty())
            return name;
    const QPointF local = item->mapFromScene(scenePoint);
    return item->contains(local) && !item->objectName().isEmpty() ? item->objectName() : QString();
}

bool anyBusy(QQuickItem* item) {
    if (!item)
        return false;
    if (item->inherits("QQuickStackView") && item->property("busy").toBool())
        return true;
    const QList<QQuickItem*> children = item->childItems();
    return std::any_of(children.begin(), children.end(), [](QQuickItem* c) { return anyBusy(c); });
}

} // namespace

Officer::Officer(QQuickWindow* window, LogLine log) : window_(window), log_(std::move(log)) {}

QQuickItem* Officer::find(const QString& objectName) const {
    return window_ ? findVisible(window_->contentItem(), objectName) : nullptr;
}

bool Officer::isEnabled(const QString& objectName) const {
    const QQuickItem* item = find(objectName);
    return item && item->isEnabled();
}

QQuickItem* Officer::ready(const QString& objectName) {
    settle();
    QQuickItem* item = find(objectName);
    if (!item) {
        problem_ = QStringLiteral("%1 is not on the screen").arg(objectName);
        log_(QStringLiteral("  (%1)").arg(problem_));
        return nullptr;
    }
    if (!item->isEnabled()) {
        problem_ = QStringLiteral("%1 is disabled").arg(objectName);
        log_(QStringLiteral("  (%1)").arg(problem_));
        return nullptr;
    }
    // Layouts place their children when polished, which an idle offscreen window may not have done yet
    // (an alert just shown): polish from the window down, so the item is tapped where it will be drawn.
    QList<QQuickItem*> chain;
    for (QQuickItem* p = item; p; p = p->parentItem())
        chain.prepend(p);
    for (QQuickItem* p : chain)
        p->ensurePolished();
    scrollIntoView(item);
    return item;
}

void Officer::scrollIntoView(QQuickItem* item) {
    for (QQuickItem* p = item->parentItem(); p; p = p->parentItem()) {
        if (!p->inherits("QQuickFlickable"))
            continue;
        auto* content = p->property("contentItem").value<QQuickItem*>();
        if (!content)
            continue;
        const QRectF r = item->mapRectToItem(content, QRectF(0, 0, item->width(), item->height()));
        const qreal top = p->property("contentY").toReal();
        const qreal view = p->height();
        if (r.top() < top || r.bottom() > top + view) {
            const qreal maxY = qMax<qreal>(0, p->property("contentHeight").toReal() - view);
            p->setProperty("contentY", qBound<qreal>(0, r.top() - view / 3, maxY));
            ++scrolls_;
        }
    }
    settle();
}

bool Officer::tap(const QString& objectName) {
    return choose(objectName, {}, QStringLiteral("tap"));
}

bool Officer::type(const QString& objectName, const QString& text) {
    QQuickItem* item = ready(objectName);
    if (!item)
        return false;
    log_(QStringLiteral("action type %1 %2").arg(objectName, text));
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(window_, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    QTest::keyClick(window_, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(window_, Qt::Key_Backspace);
    // Each character as a key event with its text, as an on-screen keyboard sends it.
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, window_, Qt::Key_unknown, QString(c), Qt::NoModifier);
    settle();
    return true;
}

bool Officer::choose(const QString& objectName, const QString& label, const QString& verb) {
    QQuickItem* item = ready(objectName);
    if (!item)
        return false;
    log_(QStringLiteral("action %1 %2%3")
             .arg(verb, objectName, label.isEmpty() ? QString() : QLatin1Char(' ') + label));
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(window_, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    settle();
    return true;
}

bool Officer::tapTwice(const QString& objectName, int gapMs) {
    QQuickItem* item = ready(objectName);
    if (!item)
        return false;
    log_(QStringLiteral("action tap-twice %1 %2").arg(objectName).arg(gapMs));
    const QPoint centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
    QTest::mouseClick(window_, Qt::LeftButton, Qt::NoModifier, centre);
    // The finger's pace: the application runs on meanwhile (a notice printing, a dialog coming).
    QEventLoop pace;
    QTimer::singleShot(gapMs, &pace, &QEventLoop::quit);
    pace.exec();
    log_(QStringLiteral("  (the second tap lands on %1)").arg(touched(window_->contentItem(), centre)));
    QTest::mouseClick(window_, Qt::LeftButton, Qt::NoModifier, centre);
    settle();
    return true;
}

bool Officer::swipe(const QString& objectName) {
    QQuickItem* item = ready(objectName);
    if (!item)
        return false;
    log_(QStringLiteral("action swipe %1").arg(objectName));
    const QPoint start = item->mapToScene(QPointF(item->width() * 0.85, item->height() / 2)).toPoint();
    QTest::mousePress(window_, Qt::LeftButton, Qt::NoModifier, start);
    for (int step = 1; step <= 10; ++step)
        QTest::mouseMove(window_, start - QPoint(step * int(item->width() * 0.06), 0), 16);
    QTest::mouseRelease(window_, Qt::LeftButton, Qt::NoModifier, start - QPoint(int(item->width() * 0.6), 0),
                        16);
    settle();
    return true;
}

bool Officer::drag(const QString& objectName, int dx, int dy) {
    QQuickItem* item = ready(objectName);
    if (!item)
        return false;
    log_(QStringLiteral("action drag %1 %2,%3").arg(objectName).arg(dx).arg(dy));
    const QPoint start = item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
    QTest::mousePress(window_, Qt::LeftButton, Qt::NoModifier, start);
    for (int step = 1; step <= 12; ++step)
        QTest::mouseMove(window_, start + QPoint(dx * step / 12, dy * step / 12), 16);
    QTest::mouseRelease(window_, Qt::LeftButton, Qt::NoModifier, start + QPoint(dx, dy), 16);
    settle();
    return true;
}

bool Officer::key(int qtKey, const QString& what) {
    log_(QStringLiteral("action key %1").arg(what));
    QTest::keyClick(window_, Qt::Key(qtKey));
    settle();
    return true;
}

bool Officer::waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    // A timer that fires at the deadline so the wait below always wakes up in time.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void Officer::settle() {
    QCoreApplication::processEvents();
    if (window_)
        waitUntil([this] { return !anyBusy(window_->contentItem()); }, 5000);
    QCoreApplication::processEvents();
}

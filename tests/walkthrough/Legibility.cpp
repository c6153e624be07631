#include "Legibility.h"

#include <QFontInfo>
#include <QQuickItem>

#include <algorithm>
#include <cmath>

namespace Legibility {
namespace {

double channel(double c) {
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c) {
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

QColor over(const QColor& top, double alpha, const QColor& under) {
    const auto mix = [alpha](double t, double u) { return t * alpha + u * (1 - alpha); };
    return QColor::fromRgbF(float(mix(top.redF(), under.redF())), float(mix(top.greenF(), under.greenF())),
                            float(mix(top.blueF(), under.blueF())));
}

bool inherits(const QObject* o, const char* className) {
    return o->inherits(className);
}

double effectiveOpacity(const QQuickItem* item) {
    double opacity = 1;
    for (const QQuickItem* i = item; i; i = i->parentItem())
        opacity *= i->opacity();
    return opacity;
}

bool shows(const QQuickItem* item) {
    return item->isVisible() && effectiveOpacity(item) > 0.01 && item->width() > 0 && item->height() > 0;
}

// A control that is disabled (or sits in one) is exempt, as the contrast rule itself exempts it.
bool enabled(const QQuickItem* item) {
    return item->isEnabled();
}

// The children of an item in the order they are painted: by z, then by position in the list.
QList<QQuickItem*> paintOrder(const QQuickItem* parent) {
    QList<QQuickItem*> children = parent->childItems();
    std::stable_sort(children.begin(), children.end(),
                     [](const QQuickItem* a, const QQuickItem* b) { return a->z() < b->z(); });
    return children;
}

// A painted rectangle of one colour under the point: the item itself when it is a rectangle.
struct Layer {
    QColor color;
    double alpha = 0;
};

std::optional<Layer> fillOf(const QQuickItem* item, const QPointF& scenePoint) {
    if (!inherits(item, "QQuickRectangle") || !shows(item))
        return std::nullopt;
    const QPointF local = item->mapFromScene(scenePoint);
    if (!item->contains(local))
        return std::nullopt;
    const QColor color = item->property("color").value<QColor>();
    const double alpha = color.alphaF() * effectiveOpacity(item);
    if (alpha <= 0.01)
        return std::nullopt;
    return Layer{color, alpha};
}

// Every rectangle painted under `item` at the point, topmost first: its earlier siblings (and their
// descendants), then its parent, and so up to the window.
void layersUnder(const QQuickItem* item, const QPointF& point, const QQuickItem* root, QList<Layer>& layers);

void layersIn(const QQuickItem* item, const QPointF& point, QList<Layer>& layers) {
    if (!shows(item))
        return;
    const QList<QQuickItem*> children = paintOrder(item);
    for (auto it = children.crbegin(); it != children.crend(); ++it)
        layersIn(*it, point, layers);
    if (auto fill = fillOf(item, point))
        layers.append(*fill);
}

void layersUnder(const QQuickItem* item, const QPointF& point, const QQuickItem* root, QList<Layer>& layers) {
    const QQuickItem* parent = item == root ? nullptr : item->parentItem();
    if (!parent)
        return;
    const QList<QQuickItem*> siblings = paintOrder(parent);
    const qsizetype at = siblings.indexOf(const_cast<QQuickItem*>(item));
    for (qsizetype i = at - 1; i >= 0; --i)
        layersIn(siblings.at(i), point, layers);
    if (auto fill = fillOf(parent, point))
        layers.append(*fill);
    layersUnder(parent, point, root, layers);
}

// A screen loaded on its own is read over the paper it would sit on, not over whatever the window
// happens to show beside it.
QColor backgroundAt(const QQuickItem* item, const QPointF& point, const QQuickItem* root,
                    const QColor& paper) {
    QList<Layer> layers;
    layersUnder(item, point, root, layers);
    // Composite from the window up; an opaque layer hides all below it.
    qsizetype bottom = layers.size();
    for (qsizetype i = 0; i < layers.size(); ++i)
        if (layers.at(i).alpha >= 0.999) {
            bottom = i + 1;
            break;
        }
    QColor result = paper;
    for (qsizetype i = bottom - 1; i >= 0; --i)
        result = over(layers.at(i).color, std::min(1.0, layers.at(i).alpha), result);
    return result;
}

QString describe(const QQuickItem* item) {
    QStringList path;
    for (const QQuickItem* i = item; i; i = i->parentItem())
        if (!i->objectName().isEmpty()) {
            path.prepend(i->objectName());
            if (path.size() == 2)
                break;
        }
    const QString text = item->property("text").toString().left(30);
    return QStringLiteral("%1 %2%3").arg(
        QString::fromLatin1(item->metaObject()->className()).section(QLatin1Char('_'), 0, 0),
        path.join(QLatin1Char('/')), text.isEmpty() ? QString() : QStringLiteral(" \"%1\"").arg(text));
}

bool isTextItem(const QQuickItem* item) {
    return inherits(item, "QQuickText") || inherits(item, "QQuickTextInput") ||
           inherits(item, "QQuickTextEdit");
}

bool isTarget(const QQuickItem* item) {
    if (inherits(item, "QQuickMouseArea"))
        return item->property("enabled").toBool();
    return inherits(item, "QQuickAbstractButton") || inherits(item, "QQuickTextInput") ||
           inherits(item, "QQuickTextEdit") || inherits(item, "QQuickComboBox");
}

int pixelsOf(const QFont& font) {
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return QFontInfo(font).pixelSize();
}

// Text scrolled out of a clipping view is not seen, so it has no contrast to keep.
bool clippedAway(const QQuickItem* item, const QPointF& scenePoint) {
    for (const QQuickItem* i = item->parentItem(); i; i = i->parentItem())
        if (i->clip() && !i->contains(i->mapFromScene(scenePoint)))
            return true;
    return false;
}

void check(const QQuickItem* item, const QQuickItem* root, const QString& screen, const QColor& paper,
           QStringList& out) {
    if (!shows(item))
        return;
    if (enabled(item) && isTextItem(item)) {
        const QString text = item->property("text").toString();
        const bool readOnly = inherits(item, "QQuickTextInput") || inherits(item, "QQuickTextEdit");
        if (!text.trimmed().isEmpty() || readOnly) {
            const int px = pixelsOf(item->property("font").value<QFont>());
            if (px < kMinTextPixels)
                out.append(QStringLiteral("%1: %2: text %3 px, under %4")
                               .arg(screen, describe(item))
                               .arg(px)
                               .arg(kMinTextPixels));
            const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
            if (!text.trimmed().isEmpty() && !clippedAway(item, centre)) {
                const QColor background = backgroundAt(item, centre, root, paper);
                const QColor ink = over(
                    item->property("color").value<QColor>(),
                    item->property("color").value<QColor>().alphaF() * effectiveOpacity(item), background);
                const double ratio = contrast(ink, background);
                if (ratio < kMinContrast)
                    out.append(QStringLiteral("%1: %2: contrast %3 (%4 on %5), under %6")
                                   .arg(screen, describe(item))
                                   .arg(ratio, 0, 'f', 2)
                                   .arg(ink.name(), background.name())
                                   .arg(kMinContrast));
            }
        }
    }
    if (enabled(item) && isTarget(item) &&
        (item->width() < kMinTarget - 0.5 || item->height() < kMinTarget - 0.5))
        out.append(QStringLiteral("%1: %2: target %3 x %4, under %5")
                       .arg(screen, describe(item))
                       .arg(qRound(item->width()))
                       .arg(qRound(item->height()))
                       .arg(kMinTarget));
    for (const QQuickItem* child : item->childItems())
        check(child, root, screen, paper, out);
}

} // namespace

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QStringList problems(QQuickItem* root, const QString& screen, const QColor& paper) {
    QStringList out;
    if (root)
        check(root, root, screen, paper, out);
    out.removeDuplicates();
    return out;
}

} // namespace Legibility

#pragma once

#include <QColor>
#include <QStringList>

class QQuickItem;

// What an officer reading a phone outdoors needs of every item that shows: text at least 12 px high,
// text colour against what lies under it at a contrast of at least 4.5 : 1, and anything the finger
// taps at least 48 px each way. Hidden, transparent and disabled items are not read.
namespace Legibility {

constexpr int kMinTextPixels = 12;
constexpr double kMinContrast = 4.5;
constexpr int kMinTarget = 48;

// Contrast ratio of two opaque colours, 1 to 21.
double contrast(const QColor& a, const QColor& b);

// One line per fault found under root, each naming the screen, the item and the measure; `screen`
// prefixes the lines. `paper` is what shows where nothing is drawn (the window's colour).
QStringList problems(QQuickItem* root, const QString& screen, const QColor& paper);

} // namespace Legibility

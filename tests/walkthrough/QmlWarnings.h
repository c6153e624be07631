#pragma once

#include <QStringList>

// Every QML warning or error Qt prints while the walkthrough runs (the engine's own, a delegate model's,
// a layout's polish loop), kept so that a run that printed one fails. Installed once, before the
// application is made; messages still print as before.
namespace QmlWarnings {
void install();
QStringList seen();
} // namespace QmlWarnings

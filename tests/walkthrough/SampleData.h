#pragma once

#include "core/Record.h"

#include <QColor>
#include <QString>

class AppDelegate;

// An evidence photograph of the scene: the full picture and its 300 x 300 centre-cropped thumbnail.
PhotoEntry scenePhoto(const QString& caption, const QColor& colour);
// A compound as the issuing screens leave it: the offence from the reference database, the rest typed.
Record sampleCompound(AppDelegate& core, bool traffic);

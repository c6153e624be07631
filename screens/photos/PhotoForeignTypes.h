#pragma once

#include "platform/QtPhotoLibrary.h"

#include <QtQml/qqml.h>

// The photo library's picker, which the window draws: registered so that its bindings are typed.
struct ForeignPhotoLibrary {
    Q_GADGET
    QML_FOREIGN(QtPhotoLibrary)
    QML_NAMED_ELEMENT(PhotoLibrary)
    QML_UNCREATABLE("one photo library, made by the application")
};

#pragma once

#include "platform/QtAlerts.h"
#include "platform/QtProgress.h"
#include "screens/shell/TextField.h"

#include <QtQml/qqml.h>

// Types made outside the screens that QML reads through the shared services: registered here so
// bindings on them are typed and checked, without making those folders depend on QML.

struct ForeignTextField {
    Q_GADGET
    QML_FOREIGN(TextField)
    QML_NAMED_ELEMENT(FieldText)
    QML_UNCREATABLE("owned by a screen's controller")
};

struct ForeignAlerts {
    Q_GADGET
    QML_FOREIGN(QtAlerts)
    QML_NAMED_ELEMENT(Alerts)
    QML_UNCREATABLE("one alert queue, made by the application")
};

struct ForeignProgress {
    Q_GADGET
    QML_FOREIGN(QtProgress)
    QML_NAMED_ELEMENT(Progress)
    QML_UNCREATABLE("one progress overlay, made by the application")
};

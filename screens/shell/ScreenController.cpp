#include "screens/shell/ScreenController.h"

#include "screens/shell/AppContext.h"
#include "screens/shell/NavigationStack.h"

NavigationStack* ScreenController::navigation() const {
    return navigation_;
}

AppDelegate& ScreenController::app() const {
    return context_->app();
}

void ScreenController::setContext(AppContext* context) {
    if (context_ == context)
        return;
    if (!context || context_)
        qFatal("%s: the services are given once, and never taken away", metaObject()->className());
    context_ = context;
    Q_EMIT contextChanged();
    if (!building_)
        arrive();
}

void ScreenController::componentComplete() {
    building_ = false;
    if (!context_)
        qFatal("%s: its view gives it no services (context: AppContext)", metaObject()->className());
    arrive();
}

void ScreenController::arrive() {
    ready_ = true;
    contextSet();
}

void ScreenController::setNavigation(NavigationStack* navigation) {
    if (navigation_ == navigation)
        return;
    navigation_ = navigation;
    Q_EMIT navigationChanged();
}

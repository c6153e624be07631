#include "screens/ScreenController.h"

#include "screens/AppContext.h"
#include "screens/NavigationStack.h"

AppContext* ScreenController::context() const {
    return context_;
}

NavigationStack* ScreenController::navigation() const {
    return navigation_;
}

void ScreenController::setContext(AppContext* context) {
    if (context_ == context)
        return;
    context_ = context;
    contextSet();
    Q_EMIT contextChanged();
}

void ScreenController::setNavigation(NavigationStack* navigation) {
    if (navigation_ == navigation)
        return;
    navigation_ = navigation;
    Q_EMIT navigationChanged();
}

AppDelegate* ScreenController::app() const {
    return context_ ? context_->app() : nullptr;
}

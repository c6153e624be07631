#pragma once

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

class AppContext;
class AppDelegate;
class NavigationStack;

// What every screen's controller has: the application's parts and the stack of the tab it shows in,
// both set from QML. Until they are set the controller does nothing, so a screen loaded on its own
// (the self-test, a designer) stays inert instead of failing.
class ScreenController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("the common part of every screen's controller")
    Q_PROPERTY(AppContext* context READ context WRITE setContext NOTIFY contextChanged)
    Q_PROPERTY(NavigationStack* navigation READ navigation WRITE setNavigation NOTIFY navigationChanged)
public:
    explicit ScreenController(QObject* parent = nullptr) : QObject(parent) {}

    AppContext* context() const;
    void setContext(AppContext* context);
    NavigationStack* navigation() const;
    void setNavigation(NavigationStack* navigation);

Q_SIGNALS:
    void contextChanged();
    void navigationChanged();

protected:
    // A new context is in place (possibly none): connect to it, read what the screen shows.
    virtual void contextSet() {}
    AppDelegate* app() const;

    QPointer<AppContext> context_;
    QPointer<NavigationStack> navigation_;
};

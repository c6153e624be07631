#pragma once

#include <QObject>
#include <QPointer>
#include <QQmlParserStatus>
#include <QtQml/qqmlregistration.h>

class AppContext;
class AppDelegate;
class NavigationStack;

// What every screen's controller has: the application's services and the stack of the tab it shows in.
// The services arrive once, from the view (`context: AppContext`) or from a test, before the screen
// does anything: a view that never gives them, or gives them twice, is stopped at once as the fault it
// is. Until the view is complete the controller only holds them, so what it reads first sees every
// property the view sets.
class ScreenController : public QObject, public QQmlParserStatus {
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    QML_ELEMENT
    QML_UNCREATABLE("the common part of every screen's controller")
    Q_PROPERTY(AppContext* context READ contextObject WRITE setContext NOTIFY contextChanged)
    Q_PROPERTY(NavigationStack* navigation READ navigation WRITE setNavigation NOTIFY navigationChanged)
public:
    explicit ScreenController(QObject* parent = nullptr) : QObject(parent) {}

    void setContext(AppContext* context);
    // The services; only once they have arrived.
    AppContext& context() const { return *context_; }
    AppDelegate& app() const;
    NavigationStack* navigation() const;
    void setNavigation(NavigationStack* navigation);

Q_SIGNALS:
    void contextChanged();
    void navigationChanged();

protected:
    // The services are in place (once): connect to them, read what the screen shows.
    virtual void contextSet() {}
    // The services have arrived and the view has set what it sets at its making.
    bool ready() const { return ready_; }

    QPointer<NavigationStack> navigation_;

private:
    AppContext* contextObject() const { return context_; }
    void classBegin() override { building_ = true; }
    void componentComplete() override;
    void arrive();

    AppContext* context_ = nullptr;
    bool building_ = false;
    bool ready_ = false;
};

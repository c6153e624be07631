#include "Flows.h"
#include "Walkthrough.h"
#include "app/Application.h"
#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/QtProgress.h"
#include "screens/NavigationStack.h"
#include "screens/ShellController.h"

#include <QQuickItem>

namespace {

QString fieldText(Officer& officer, const QString& name) {
    QQuickItem* item = officer.find(name);
    return item ? item->property("text").toString() : QStringLiteral("<%1 not showing>").arg(name);
}

// Pictures still on their way (Image.Loading) anywhere under the item.
int loadingPictures(QQuickItem* item) {
    if (!item)
        return 0;
    int n = item->inherits("QQuickImage") && item->property("status").toInt() == 2 ? 1 : 0;
    for (QQuickItem* child : item->childItems())
        n += loadingPictures(child);
    return n;
}

int readyPictures(QQuickItem* item) {
    if (!item)
        return 0;
    int n = item->inherits("QQuickImage") && item->property("status").toInt() == 1 ? 1 : 0;
    for (QQuickItem* child : item->childItems())
        n += readyPictures(child);
    return n;
}

} // namespace

// The map from the location form: the pin on its tiles, dragged to correct the position, and the
// navigation choice from its callout.
void mapFlow(Walkthrough& w) {
    Application& app = w.app();
    Officer& officer = w.officer();
    AppDelegate& core = app.app();
    NavigationStack& issuing = *app.shell().stack(ShellController::JenisKompaun);
    const auto record = [&] { return core.saveDictionary(); };
    QString capturedLat, capturedLong;

    w.step(
        QStringLiteral("map-opened"),
        [&] {
            officer.tap(QStringLiteral("tab0"));
            officer.tap(QStringLiteral("formTab2"));
            officer.tap(QStringLiteral("captureLatLongButton"));
            Officer::waitUntil([&] { return !app.progress().visible(); }, 10000);
            officer.settle();
            capturedLat = fieldText(officer, QStringLiteral("latField"));
            capturedLong = fieldText(officer, QStringLiteral("longField"));
            officer.tap(QStringLiteral("goToMapButton"));
            Officer::waitUntil([&] { return officer.isShowing(QStringLiteral("mapPin")); });
            officer.settle();
            Officer::waitUntil([&] { return loadingPictures(officer.find(QStringLiteral("mapView"))) == 0; },
                               15000);
            officer.settle();
        },
        [&]() -> QString {
            if (issuing.currentTitle() != QLatin1String("Peta"))
                return QStringLiteral("\"%1\" showing, not the map").arg(issuing.currentTitle());
            const QString shown = fieldText(officer, QStringLiteral("pinCoordinates"));
            if (!shown.startsWith(QStringLiteral("%1 %2")
                                      .arg(capturedLat.toDouble(), 0, 'f', 6)
                                      .arg(capturedLong.toDouble(), 0, 'f', 6)))
                return QStringLiteral("the pin stands at %1, the form said %2 %3")
                    .arg(shown, capturedLat, capturedLong);
            if (w.ownCouncil() && readyPictures(officer.find(QStringLiteral("mapView"))) == 0)
                return QStringLiteral("no tile was drawn");
            return {};
        });

    QString before;
    w.step(
        QStringLiteral("map-pin-dragged"),
        [&] {
            before = record()->value(Key::lat) + QLatin1Char(',') + record()->value(Key::long_);
            officer.drag(QStringLiteral("mapPin"), 70, -60);
            Officer::waitUntil([&] { return loadingPictures(officer.find(QStringLiteral("mapView"))) == 0; },
                               15000);
        },
        [&]() -> QString {
            const QString lat = record()->value(Key::lat), lon = record()->value(Key::long_);
            if (lat + QLatin1Char(',') + lon == before)
                return QStringLiteral("the drag did not move the record's position");
            if (lat.toDouble() <= capturedLat.toDouble() || lon.toDouble() <= capturedLong.toDouble())
                return QStringLiteral("the pin moved the wrong way: %1,%2").arg(lat, lon);
            if (!fieldText(officer, QStringLiteral("pinCoordinates"))
                     .startsWith(lat + QLatin1Char(' ') + lon))
                return QStringLiteral("the pin's co-ordinates are not the record's");
            return {};
        });

    w.step(
        QStringLiteral("map-callout"), [&] { officer.tap(QStringLiteral("mapPin")); },
        [&]() -> QString {
            return officer.isShowing(QStringLiteral("calloutButton"))
                       ? QString()
                       : QStringLiteral("no callout on the pin");
        });

    w.step(
        QStringLiteral("map-navigation-choice"), [&] { officer.tap(QStringLiteral("calloutButton")); },
        [&]() -> QString {
            for (const QString& button :
                 {QStringLiteral("choiceButton0"), QStringLiteral("choiceButton1"),
                  QStringLiteral("choiceButton2"), QStringLiteral("choiceCancelButton")})
                if (!officer.isShowing(button))
                    return QStringLiteral("%1 is not showing").arg(button);
            return {};
        });

    w.step(
        QStringLiteral("map-waze-chosen"),
        [&] {
            // No Waze on this machine: its store page goes to the browser.
            officer.tap(QStringLiteral("choiceButton2"));
        },
        [&]() -> QString {
            return officer.isShowing(QStringLiteral("navigationChoice"))
                       ? QStringLiteral("the choice stayed open")
                       : QString();
        });

    w.step(
        QStringLiteral("map-back-to-location-form"), [&] { officer.tap(QStringLiteral("backButton")); },
        [&]() -> QString {
            if (fieldText(officer, QStringLiteral("latField")) != record()->value(Key::lat))
                return QStringLiteral("the location form shows %1, the record %2")
                    .arg(fieldText(officer, QStringLiteral("latField")), record()->value(Key::lat));
            return {};
        });

    w.step(
        QStringLiteral("map-signed-out"),
        [&] {
            app.shell().viewGetBackToRoot();
            officer.settle();
            officer.tap(QStringLiteral("logKeluarButton"));
            officer.tap(QStringLiteral("alertButton1"));
        },
        [&]() -> QString { return app.shell().signedIn() ? QStringLiteral("still signed in") : QString(); });
}

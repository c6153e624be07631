#include "Flows.h"
#include "Walkthrough.h"
#include "app/Application.h"
#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/BarcodeDecoder.h"
#include "screens/NavigationStack.h"
#include "screens/ShellController.h"
#include "support/BarcodePictures.h"
#include "sync/CouncilEndpoints.h"
#include "sync/LicenceScan.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QQuickItem>

namespace {

QString fieldText(Officer& officer, const QString& name) {
    QQuickItem* item = officer.find(name);
    return item ? item->property("text").toString() : QStringLiteral("<%1 not showing>").arg(name);
}

// The pictures "Imbas Gambar" lists: the support folder's own when given, else a licence's QR code and
// a tax bill's Code 128 made here.
QStringList preparePictures(Walkthrough& w) {
    const QString dir = w.app().options().scanDir;
    if (qEnvironmentVariableIsEmpty("KOMPAUN_WALKTHROUGH_SCANS")) {
        QDir().mkpath(dir);
        barcodepictures::qrCode(QStringLiteral("MPT*15012345*2025"), 8)
            .save(dir + QStringLiteral("/1-lesen.png"));
        barcodepictures::code128(QStringLiteral("0512345678"), 3)
            .save(dir + QStringLiteral("/2-bil-cukai.png"));
    }
    return QDir(dir).entryList({QStringLiteral("*.png"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"),
                                QStringLiteral("*.bmp"), QStringLiteral("*.gif"), QStringLiteral("*.PNG"),
                                QStringLiteral("*.JPG"), QStringLiteral("*.JPEG")},
                               QDir::Files | QDir::Readable, QDir::Name);
}

// The request the council received last for a page of that kind; empty with another server.
QString lastPageRequest(Walkthrough& w) {
    const QJsonArray requests = w.councilHolds(QStringLiteral("requests"));
    for (qsizetype i = requests.size() - 1; i >= 0; --i) {
        const QString target = requests[i].toObject().value(QStringLiteral("target")).toString();
        if (target.startsWith(QLatin1String("/v2/wsc/ml/")) ||
            target.startsWith(QLatin1String("/v2/wsc/mc/")))
            return target;
    }
    return {};
}

} // namespace

// The "Scan" tab: pictures of a licence and a tax bill decoded through the reader, a typed search, an
// account the council does not know; then the offender form of the compound being issued shows the licence.
void licenceFlow(Walkthrough& w) {
    Application& app = w.app();
    Officer& officer = w.officer();
    AppDelegate& core = app.app();
    NavigationStack& scanStack = *app.shell().stack(ShellController::Scan);
    const auto record = [&] { return core.saveDictionary(); };
    const auto waitForPage = [&] {
        Officer::waitUntil([&] {
            QQuickItem* indicator = officer.find(QStringLiteral("loadingIndicator"));
            return scanStack.depth() == 2 && officer.isShowing(QStringLiteral("lesenDetailText")) &&
                   !indicator;
        });
        officer.settle();
    };
    const auto back = [&] {
        officer.tap(QStringLiteral("backButton"));
        Officer::waitUntil([&] { return scanStack.depth() == 1; });
    };

    w.step(
        QStringLiteral("licence-compound-started"),
        [&] {
            officer.type(QStringLiteral("userIDField"), w.staffCode());
            officer.type(QStringLiteral("passwordField"), w.password());
            officer.tap(QStringLiteral("btn"));
            officer.tap(QStringLiteral("tab0"));
            NavigationStack& issuing = *app.shell().stack(ShellController::JenisKompaun);
            while (issuing.depth() > 1 && officer.tap(QStringLiteral("backButton"))) {
            }
            officer.choose(QStringLiteral("jenisKompaunRow2"));
            officer.choose(QStringLiteral("kesalahanRow0"));
            officer.choose(QStringLiteral("kategoriRow0"));
            officer.tap(QStringLiteral("formTab0"));
        },
        [&]() -> QString {
            if (!officer.isShowing(QStringLiteral("lokasiLesenPerniagaanField")))
                return QStringLiteral("the offender form is not showing");
            return fieldText(officer, QStringLiteral("lokasiLesenPerniagaanField")).isEmpty()
                       ? QString()
                       : QStringLiteral("a new compound already has a licence number");
        });

    const QStringList pictures = preparePictures(w);
    w.step(
        QStringLiteral("licence-scan-tab"),
        [&] {
            officer.tap(QStringLiteral("tab3"));
            officer.tap(QStringLiteral("imbasGambarButton"));
        },
        [&]() -> QString {
            if (!officer.isShowing(QStringLiteral("lesenView")))
                return QStringLiteral("the scan tab is not showing");
            if (officer.isShowing(QStringLiteral("resultText")))
                return QStringLiteral("the result shows before any scan");
            if (pictures.isEmpty())
                return QStringLiteral("no pictures in %1").arg(app.options().scanDir);
            return officer.isShowing(QStringLiteral("scanPictureRow0"))
                       ? QString()
                       : QStringLiteral("the picture list is empty");
        });

    // Each picture, in the list's order, as the officer would choose it.
    BarcodeDecoder decoder;
    QString licenceInRecord = record()->value(Key::lokasiLesenPerniagaan);
    for (int i = 0; i < pictures.size(); ++i) {
        const QString file = pictures[i];
        const auto expected =
            LicenceScan::fromSymbols(decoder.decode(QImage(app.options().scanDir + QLatin1Char('/') + file)));
        if (expected && expected->licenceForRecord)
            licenceInRecord = *expected->licenceForRecord;
        w.step(
            QStringLiteral("licence-scan-%1").arg(QFileInfo(file).completeBaseName()),
            [&] {
                if (!officer.isShowing(QStringLiteral("scanPictureRow0")))
                    officer.tap(QStringLiteral("imbasGambarButton"));
                officer.choose(QStringLiteral("scanPictureRow%1").arg(i), file);
                if (expected)
                    waitForPage();
            },
            [&]() -> QString {
                if (!expected)
                    return scanStack.depth() == 1
                               ? QString()
                               : QStringLiteral("a picture without a barcode opened a page");
                if (scanStack.depth() != 2 || scanStack.currentTitle() != expected->account)
                    return QStringLiteral("page \"%1\" showing, expected \"%2\"")
                        .arg(scanStack.currentTitle(), expected->account);
                if (record()->value(Key::lokasiLesenPerniagaan) != licenceInRecord)
                    return QStringLiteral("the record's licence is \"%1\", expected \"%2\"")
                        .arg(record()->value(Key::lokasiLesenPerniagaan), licenceInRecord);
                const QString asked = lastPageRequest(w);
                const QString path =
                    LicenceScan::pageUrl(CouncilEndpoints(QStringLiteral("https://x")), expected->account)
                        .path(QUrl::FullyEncoded);
                if (w.ownCouncil() && asked != path)
                    return QStringLiteral("the council was asked for %1, expected %2").arg(asked, path);
                return {};
            });
        if (expected)
            back();
    }

    w.step(
        QStringLiteral("licence-typed-search"),
        [&] {
            officer.type(QStringLiteral("akaunManualField"), QStringLiteral("15099871"));
            officer.tap(QStringLiteral("cariManualButton"));
            waitForPage();
        },
        [&]() -> QString {
            if (scanStack.currentTitle() != QLatin1String("15099871"))
                return QStringLiteral("page \"%1\" showing").arg(scanStack.currentTitle());
            if (w.ownCouncil() &&
                !fieldText(officer, QStringLiteral("lesenDetailText")).contains(QLatin1String("15099871")))
                return QStringLiteral("the page does not show the account");
            return record()->value(Key::lokasiLesenPerniagaan) == licenceInRecord
                       ? QString()
                       : QStringLiteral("a typed search changed the record");
        });
    back();

    // An account the council does not know, with the characters that would ask for another page.
    const QString unknown = QStringLiteral("15/../mk?x#1");
    w.step(
        QStringLiteral("licence-unknown-account"),
        [&] {
            officer.type(QStringLiteral("akaunManualField"), unknown);
            officer.tap(QStringLiteral("cariManualButton"));
            waitForPage();
        },
        [&]() -> QString {
            if (scanStack.currentTitle() != unknown)
                return QStringLiteral("page \"%1\" showing").arg(scanStack.currentTitle());
            if (officer.isShowing(QStringLiteral("loadingIndicator")))
                return QStringLiteral("the indicator still spins");
            if (w.ownCouncil()) {
                if (lastPageRequest(w) != QLatin1String("/v2/wsc/ml/15%2F..%2Fmk%3Fx%231"))
                    return QStringLiteral("the council was asked for %1").arg(lastPageRequest(w));
                if (fieldText(officer, QStringLiteral("lesenDetailText")) !=
                    QLatin1String("Nombor akaun tidak dapat dicari"))
                    return QStringLiteral("the failed page does not say so");
            }
            return {};
        });
    back();

    w.step(
        QStringLiteral("licence-in-offender-form"), [&] { officer.tap(QStringLiteral("tab0")); },
        [&]() -> QString {
            const QString shown = fieldText(officer, QStringLiteral("lokasiLesenPerniagaanField"));
            return shown == licenceInRecord
                       ? QString()
                       : QStringLiteral("the offender form shows \"%1\", expected \"%2\"")
                             .arg(shown, licenceInRecord);
        });
}

#pragma once

#include "core/AppDelegate.h"
#include "platform/QtAlerts.h"
#include "platform/QtProgress.h"
#include "platform/fake/FakePhotoLibrary.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FakeScanning.h"
#include "platform/fake/FakeSyncServices.h"
#include "printing/NoticePrinter.h"
#include "printing/PrinterConnection.h"
#include "printing/RecordingAccessory.h"
#include "printing/WSSessionController.h"
#include "recognition/TextReader.h"
#include "screens/login/LoginViewController.h"
#include "screens/printer/PrinterViewController.h"
#include "screens/shell/AppContext.h"
#include "screens/shell/ShellController.h"
#include "sync/CouncilEndpoints.h"
#include "sync/OfficerLogin.h"

#include <memory>

// Every service a screen reaches, around a hub the test made: the shell and the printing path real, the
// printer a recording, and what leaves the phone (pages, the browser, the camera, the photo library)
// fakes the test answers. A test changes what a fake answers, never whether a service is there.
struct ScreenServices {
    ScreenServices(AppDelegate& hub, FakePlatform& fakes, const QString& resourceDir, QString scans = {})
        : core(hub), login(hub), loginScreen(hub, login, {}), shell(hub, loginScreen), session(&fakes.log),
          connection(&accessories, &session, &fakes.log, &fakes.alerts),
          notices(resourceDir + QStringLiteral("/printheader.bmp"),
                  QStringLiteral("https://enquiry.mptelukmerbau.gov.my")),
          printerScreen(&connection, &notices), pictureDir(resourceDir), scanDir(std::move(scans)) {
        accessories.setAccessories({printer});
    }

    // The services as a context takes them; a test that needs its own page view, endpoints or login
    // screen gives those instead.
    struct Instead {
        PageView* pageView = nullptr;
        const CouncilEndpoints* endpoints = nullptr;
        LoginViewController* login = nullptr;
        ShellController* shell = nullptr;
    };
    AppContext::Services services() { return services(Instead{}); }
    AppContext::Services services(const Instead& instead) {
        return {.app = core,
                .login = instead.login ? *instead.login : loginScreen,
                .shell = instead.shell ? *instead.shell : shell,
                .alerts = alerts,
                .progress = progress,
                .printer = printerScreen,
                .printerConnection = connection,
                .notices = notices,
                .urlOpener = opener,
                .endpoints = instead.endpoints ? *instead.endpoints : endpoints,
                .barcodeReader = reader,
                .pageView = instead.pageView ? *instead.pageView : pages,
                .photos = library,
                .scanDir = scanDir,
                .pictureDir = pictureDir,
                .textReader = &textReader};
    }

    AppDelegate& core;
    OfficerLogin login;
    LoginViewController loginScreen;
    ShellController shell;
    QtAlerts alerts;
    QtProgress progress;
    std::shared_ptr<RecordingAccessory> printer = std::make_shared<RecordingAccessory>();
    FixedAccessoryManager accessories;
    WSSessionController session;
    PrinterConnection connection;
    NoticePrinter notices;
    PrinterViewController printerScreen;
    FakeUrlOpener opener;
    CouncilEndpoints endpoints{QStringLiteral("https://enquiry.example.gov.my")};
    FakeBarcodeReader reader;
    FakePageView pages;
    FakePhotoLibrary library;
    // What "Imbas MyKad" and "Imbas Plat" read, whatever the picture.
    struct FakeTextReader : TextReader {
        CardReading readCard(const QImage&) override { return card; }
        PlateReading readPlate(const QImage&) override { return plate; }
        CardReading card;
        PlateReading plate;
    } textReader;
    QString pictureDir;
    QString scanDir;
};

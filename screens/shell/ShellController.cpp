#include "screens/shell/ShellController.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "core/ShiftSummary.h"
#include "platform/Alerts.h"
#include "platform/Log.h"
#include "screens/login/LoginViewController.h"

namespace {
// The tabs, in their order on the bar: a new tab is a row here and its first screen's QML file.
struct TabRow {
    const char* title; // under the picture, and the first screen's title
    const char* picture;
    const char* root; // the first screen; later screens are pushed by the controllers
    const char* name; // the stack's objectName, as the officer's scripts know it
};
constexpr TabRow kTabs[] = {
    {"Jenis Kompaun", "37-suitcase.png", "CompoundTypesView.qml", "compoundTypeTab"},
    {"Simpanan", "37-suitcase.png", "FavView.qml", "favouritesTab"},
    {"Dicetak", "33-cabinet.png", "PrintedListView.qml", "printedTab"},
    {"Lesen/Cukai", "104-index-cards.png", "LesenView.qml", "scanTab"},
    {"Pencetak", "185-printer.png", "PrinterScreen.qml", "printerTab"},
};
} // namespace

ShellController::ShellController(AppDelegate& app, LoginViewController& login, std::function<void()> upload,
                                 QObject* parent)
    : QObject(parent), app_(app), login_(login), upload_(std::move(upload)) {
    connect(&login_, &LoginViewController::signedIn, this, &ShellController::present);
    for (const TabRow& row : kTabs)
        stacks_.append(
            new NavigationStack(QString::fromLatin1(row.root), QString::fromLatin1(row.title), this));
}

NavigationStack* ShellController::stack(int tab) const {
    return stacks_.value(tab, nullptr);
}

QVariantList ShellController::tabs() const {
    QVariantList all;
    for (const TabRow& row : kTabs)
        all.append(QVariantMap{{QStringLiteral("title"), QString::fromLatin1(row.title)},
                               {QStringLiteral("picture"), QString::fromLatin1(row.picture)},
                               {QStringLiteral("name"), QString::fromLatin1(row.name)}});
    return all;
}

QString ShellController::officerName() const {
    return app_.getUserGlobalID().value(QStringLiteral("peng_nama"));
}

void ShellController::present() {
    signedIn_ = true;
    Q_EMIT signedInChanged();
    if (!staleUploadsAsked_) {
        staleUploadsAsked_ = true;
        askForStaleUploads();
    }
}

QString ShellController::uploadQuestion(int waiting) {
    return QStringLiteral("Ada %1 kompaun belum dimuat naik. Muat naik sekarang?").arg(waiting);
}

void ShellController::askForStaleUploads() {
    if (!upload_)
        return;
    const ShiftSummary shift(app_.saveStore().summaryRows(), app_.clock().now());
    const std::optional<qint64> oldest = shift.oldestWaitingSeconds();
    if (!oldest || *oldest <= ShiftSummary::kDaySeconds)
        return;
    app_.platform().alerts->show({QStringLiteral("Kepastian"),
                                  uploadQuestion(shift.waiting()),
                                  {QStringLiteral("Tidak"), QStringLiteral("Ya")},
                                  kUploadQuestionTag,
                                  [this](int button) {
                                      if (button == 1)
                                          upload_();
                                  }});
}

void ShellController::tabBarControllerDidSelect(int index) {
    if (index < 0 || index >= stacks_.size())
        return;
    app_.setPreviewIndicator(index == Dicetak);
    if (index == JenisKompaun) {
        app_.platform().log->write(QStringLiteral("Ada Scan Lesen?? %1")
                                       .arg(app_.getDictionary()->value(Key::lokasiLesenPerniagaan)));
        app_.updateNoLesen();
    }
    if (index == Dicetak)
        refreshWaitingCount();
    if (index != currentIndex_) {
        currentIndex_ = index;
        Q_EMIT currentIndexChanged();
    }
}

void ShellController::logout() {
    const int waiting = upload_ ? app_.saveStore().getDicetakUploadCountNumber() : 0;
    if (waiting == 0) {
        confirmLogout();
        return;
    }
    app_.platform().alerts->show({QStringLiteral("Kepastian"),
                                  uploadQuestion(waiting),
                                  {QStringLiteral("Tidak"), QStringLiteral("Ya")},
                                  kUploadQuestionTag,
                                  [this](int button) {
                                      if (button != 1) {
                                          confirmLogout();
                                          return;
                                      }
                                      app_.platform().log->write(QStringLiteral("YAMuatNaik (log keluar)"));
                                      signOutAfterUpload_ = true;
                                      upload_();
                                  }});
}

void ShellController::uploadFinished() {
    Q_EMIT uploadEnded();
    refreshWaitingCount();
    if (!signOutAfterUpload_)
        return;
    // Whatever the result: the summary alert stays over the login screen, and what did not go waits
    // on the phone, asked about again at the next sign-out or start-up.
    signOutAfterUpload_ = false;
    signOut();
}

void ShellController::signOut() {
    login_.clearLogKeluar();
    signedIn_ = false;
    Q_EMIT signedInChanged();
}

void ShellController::ringkasan() {
    stacks_[Dicetak]->push(QStringLiteral("RingkasanView.qml"), QStringLiteral("Ringkasan"));
}

void ShellController::confirmLogout() {
    app_.platform().alerts->show({QStringLiteral("Kepastian"),
                                  QStringLiteral("Adakah anda pasti untuk log keluar ?"),
                                  {QStringLiteral("Batal"), QStringLiteral("Keluar")},
                                  0,
                                  [this](int button) {
                                      if (button == 1)
                                          signOut();
                                  }});
}

void ShellController::viewGetBackToRoot() {
    stacks_[JenisKompaun]->popToRoot();
}

void ShellController::refreshWaitingCount() {
    const int count = app_.saveStore().getDicetakUploadCountNumber();
    if (count == waitingCount_)
        return;
    waitingCount_ = count;
    Q_EMIT waitingCountChanged();
}

void ShellController::muatNaik() {
    if (!upload_)
        return;
    app_.platform().alerts->show({QStringLiteral("Kepastian"),
                                  QStringLiteral("Adakah anda pasti muatnaik data kompaun?"),
                                  {QStringLiteral("Batal"), QStringLiteral("Ya")},
                                  0,
                                  [this](int button) {
                                      app_.platform().log->write(button == 1
                                                                     ? QStringLiteral("YAMuatNaik")
                                                                     : QStringLiteral("BatalMuatNaik"));
                                      if (button == 1)
                                          upload_();
                                  }});
}

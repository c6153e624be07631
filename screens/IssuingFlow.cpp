#include "screens/IssuingFlow.h"

#include "core/AppDelegate.h"
#include "core/Clock.h"
#include "core/RecordKeys.h"
#include "platform/Alerts.h"
#include "printing/NoticePrinter.h"
#include "printing/PrinterConnection.h"
#include "printing/WSSessionController.h"
#include "screens/AppContext.h"
#include "screens/FormSet.h"
#include "screens/FormViewController.h"
#include "screens/NavigationStack.h"
#include "screens/ShellController.h"

IssuingFlow::IssuingFlow(QObject* opener, Opener kind, FormSet* forms, std::function<AppContext*()> context,
                         std::function<NavigationStack*()> navigation, QObject* parent)
    : QObject(parent), opener_(opener), kind_(kind), forms_(forms), context_(std::move(context)),
      navigation_(std::move(navigation)) {}

AppDelegate* IssuingFlow::app() const {
    AppContext* context = context_ ? context_() : nullptr;
    return context ? context->app() : nullptr;
}

void IssuingFlow::alert(const QString& title, const QString& message, const QStringList& buttons, int tag,
                        std::function<void(int)> answer) {
    AppDelegate* core = app();
    if (core && core->platform().alerts)
        core->platform().alerts->show({title, message, buttons, tag, std::move(answer)});
}

QString IssuingFlow::semakProblem(const RecordMap& record, bool traffic) {
    const auto empty = [&](QLatin1String key) { return record.value(key).isEmpty(); };
    if (traffic) {
        if (empty(Key::kenderaanNoKenderaan))
            return QStringLiteral("Sila Masukkan No Kenderaan!");
    } else {
        if (empty(Key::noKadPengenalanPesalah) && empty(Key::noDaftarSyarikat))
            return QStringLiteral("Sila Masukkan IC Pesalah atau No Daftar Syarikat!");
        if (empty(Key::namaPesalah))
            return QStringLiteral("Sila Masukkan Nama Pesalah!");
        if (empty(Key::alamat1Pesalah))
            return QStringLiteral("Sila Masukkan Alamat Pesalah!");
    }
    if ((record.value(Key::lokasiTempatKejadian) + record.value(Key::lokasiKawasan) +
         record.value(Key::lokasiJalan))
            .isEmpty())
        return QStringLiteral("Sila Masukkan Maklumat Lokasi Kesalahan");
    return {};
}

bool IssuingFlow::semak() {
    AppDelegate* core = app();
    if (!core)
        return false;
    // Editing ends first: what a form shows (typed, or copied there by a button) reaches the record as
    // the form keeps it when its fields give up the keyboard.
    if (forms_)
        for (FormViewController* form : forms_->forms())
            form->textViewDismissTaps();
    const Record record = core->getDictionary();
    // The time of issue is stamped by the compound form when it shows; a compound can reach here without
    // that form ever showing, and its notice would print with no time.
    if (!core->getPreviewIndcator() && record->value(Key::kompaunMasa).isEmpty())
        record->insert(Key::kompaunMasa, KualaLumpur::format(core->clock().now(), QStringLiteral("HH:mm")));
    const QString problem = semakProblem(*record, core->getLaluLintas());
    if (!problem.isEmpty()) {
        alert(QStringLiteral("Makluman"), problem, {QStringLiteral("OK")}, 0, {});
        return false;
    }
    NavigationStack* navigation = navigation_ ? navigation_() : nullptr;
    if (!navigation)
        return false;
    const QString property =
        kind_ == Opener::Sections ? QStringLiteral("kategori") : QStringLiteral("favourites");
    navigation->push(QStringLiteral("ReviewView.qml"), QStringLiteral("Semak"),
                     {{property, QVariant::fromValue(opener_.data())}});
    return true;
}

void IssuingFlow::cetak() {
    // One question at a time, and none while a compound is on its way to the store and the printer.
    if (busy_ || confirming_ || !app())
        return;
    confirming_ = true;
    alert(
        QStringLiteral("Kepastian"),
        QStringLiteral("Adakah anda pasti semua maklumat telah diisi dengan betul ?"),
        {QStringLiteral("Batal"), kind_ == Opener::Favourites ? QStringLiteral("YA") : QStringLiteral("Ya")},
        kConfirmTag, [this](int button) {
            confirming_ = false;
            if (button != 0)
                confirmed();
        });
}

void IssuingFlow::confirmed() {
    AppDelegate* core = app();
    if (busy_ || !core)
        return;
    busy_ = true;
    // Nothing is printed for a compound the phone does not hold: the officer is told and may try again.
    if (!core->insertIntoBaruPBCompound(core->getDictionary())) {
        busy_ = false;
        return;
    }
    // The number is advanced before anything prints: a notice never carries a number the phone could give
    // again. When the advance cannot be kept the compound stays stored (its number is held in memory
    // and by the store, so it is not given twice) and the officer is told; nothing prints.
    if (!core->addOneRunningNumber()) {
        busy_ = false;
        return;
    }
    AppContext* context = context_();
    if (PrinterConnection* connection = context->printerConnection()) {
        connection->printerDisconnect();
        connection->printerConnect();
    }
    cetakExe();
}

void IssuingFlow::cetakExe() {
    AppDelegate* core = app();
    if (!core)
        return;
    busy_ = true;
    AppContext* context = context_();
    PrinterConnection* connection = context->printerConnection();
    WSSessionController* session = connection ? connection->sessionController() : nullptr;
    const NoticePrinter* notices = context->notices();
    notice_ =
        session && notices ? notices->cetakSaman(session, core->getDictionary(), core->getLaluLintas()) : 0;
    const auto finish = [this](bool written) {
        busy_ = false;
        Q_EMIT noticeDone(written);
        showMenu();
    };
    if (notice_ == 0) {
        // A connection that failed has said so; with no printer set up at all the officer is told here.
        if (!connection)
            alert(QStringLiteral("Gagal"), PrinterConnection::noticeFailedMessage(), {QStringLiteral("OK")},
                  0, {});
        finish(false);
        return;
    }
    QObject::disconnect(waiting_);
    waiting_ = connect(session, &WSSessionController::noticeFinished, this,
                       [this, finish](int notice, bool written) {
                           if (notice != notice_)
                               return;
                           QObject::disconnect(waiting_);
                           // A notice that failed has its alert from the printer connection; the menu follows
                           // it.
                           finish(written);
                       });
}

void IssuingFlow::showMenu() {
    alert(QStringLiteral("Kepastian"), QStringLiteral("Sila pilih menu dibawah"),
          {QStringLiteral("Ke Utama"), QStringLiteral("Cetak Kembali"),
           QStringLiteral("Guna Kembali Kesalahan Ini")},
          kMenuTag, [this](int button) { menuChosen(button); });
}

void IssuingFlow::menuChosen(int button) {
    AppDelegate* core = app();
    AppContext* context = context_ ? context_() : nullptr;
    NavigationStack* navigation = navigation_ ? navigation_() : nullptr;
    if (!core || !context)
        return;
    if (button == 0) {
        if (ShellController* shell = context->shell())
            shell->viewGetBackToRoot();
        else if (kind_ == Opener::Sections && navigation)
            navigation->popToRoot();
        // The favourites tab goes back to its list too: its review would otherwise offer to store the
        // printed compound a second time.
        if (kind_ == Opener::Favourites && navigation)
            navigation->popToRoot();
        return;
    }
    if (button == 1) {
        if (PrinterConnection* connection = context->printerConnection()) {
            connection->printerDisconnect();
            connection->printerConnect();
        }
        cetakExe();
        return;
    }
    core->saveDictionaryInitGunaKembali();
    if (forms_)
        forms_->initForms();
    // Forms never shown cannot do their share: the previous photographs go and the position is read again.
    core->cleanUserChoiceGlobal();
    const Record record = core->getDictionary();
    if (record->value(Key::lat).isEmpty()) {
        const RecordMap position = core->getLocation();
        record->insert(Key::lat, position.value(QStringLiteral("lat")));
        record->insert(Key::long_, position.value(QStringLiteral("long")));
    }
    // Back to the forms: the review shows the previous compound, and only a fresh "Semak" may print.
    if (navigation && navigation->currentScreen() == QLatin1String("ReviewView.qml"))
        navigation->pop();
}

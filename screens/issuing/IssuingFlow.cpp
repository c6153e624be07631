#include "screens/issuing/IssuingFlow.h"

#include "core/AppDelegate.h"
#include "core/KualaLumpurDate.h"
#include "core/PositionReader.h"
#include "core/RecordKeys.h"
#include "platform/Alerts.h"
#include "printing/PrinterConnection.h"
#include "screens/forms/FormSet.h"
#include "screens/forms/FormViewController.h"
#include "screens/shell/AppContext.h"
#include "screens/shell/NavigationStack.h"
#include "screens/shell/ScreenController.h"
#include "screens/shell/ScreenNames.h"
#include "screens/shell/ShellController.h"

#include <algorithm>

IssuingFlow::IssuingFlow(Opener kind, FormSet& forms, const ScreenController& screen, QObject* parent)
    : QObject(parent), kind_(kind), forms_(forms), screen_(screen) {}

IssuingFlow::~IssuingFlow() {
    // A screen that goes while its compound is on its way gives the lock back; otherwise nothing is
    // touched.
    if (holding_)
        release();
}

AppContext& IssuingFlow::context() const {
    return screen_.context();
}

AppDelegate& IssuingFlow::app() const {
    return screen_.app();
}

void IssuingFlow::alert(const QString& title, const QString& message, const QStringList& buttons, int tag,
                        std::function<void(int)> answer) {
    app().platform().alerts->show({title, message, buttons, tag, std::move(answer)});
}

QString IssuingFlow::changedMessage() {
    return QStringLiteral("Maklumat kompaun telah berubah. Sila semak semula.");
}

QString IssuingFlow::otherIssuingMessage() {
    return QStringLiteral("Kompaun lain sedang dicetak. Sila tunggu sehingga ia selesai.");
}

QString IssuingFlow::placeRefusedMessage() {
    return QStringLiteral("Sila Masukkan Tempat Kejadian Yang Sah!");
}

bool IssuingFlow::isPlace(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetterOrNumber(); });
}

IssuingFlow::Problem IssuingFlow::semakCheck(const RecordMap& record, bool traffic) {
    const auto empty = [&](QLatin1String key) { return record.value(key).trimmed().isEmpty(); };
    // A notice without its offence or its amount is no compound at all.
    if (empty(Key::kesalahan))
        return {QStringLiteral("Sila Pilih Kesalahan!"), Key::kesalahan};
    if (empty(Key::kompaunKadar))
        return {QStringLiteral("Sila Masukkan Jumlah Kompaun!"), Key::kompaunKadar};
    if (traffic) {
        if (empty(Key::kenderaanNoKenderaan))
            return {QStringLiteral("Sila Masukkan No Kenderaan!"), Key::kenderaanNoKenderaan};
    } else {
        if (empty(Key::noKadPengenalanPesalah) && empty(Key::noDaftarSyarikat))
            return {QStringLiteral("Sila Masukkan IC Pesalah atau No Daftar Syarikat!"),
                    Key::noKadPengenalanPesalah};
        if (empty(Key::namaPesalah))
            return {QStringLiteral("Sila Masukkan Nama Pesalah!"), Key::namaPesalah};
        if (empty(Key::alamat1Pesalah))
            return {QStringLiteral("Sila Masukkan Alamat Pesalah!"), Key::alamat1Pesalah};
    }
    const QString place = record.value(Key::lokasiTempatKejadian);
    if ((place + record.value(Key::lokasiKawasan) + record.value(Key::lokasiJalan)).isEmpty())
        return {QStringLiteral("Sila Masukkan Maklumat Lokasi Kesalahan"), Key::lokasiTempatKejadian};
    // Commas and spaces (an empty address copied) would print as the place of the offence.
    if (!place.isEmpty() && !isPlace(place))
        return {placeRefusedMessage(), Key::lokasiTempatKejadian};
    return {};
}

QString IssuingFlow::semakProblem(const RecordMap& record, bool traffic) {
    return semakCheck(record, traffic).message;
}

IssuingFlow::Snapshot IssuingFlow::now() const {
    // The record being issued, never a stored one being viewed, whichever tab is selected.
    const Record record = app().saveDictionary();
    return {record, record ? *record : RecordMap{}, app().issuingPhotos(), app().getLaluLintas()};
}

bool IssuingFlow::semak() {
    AppDelegate& core = app();
    // Editing ends first: what a form shows (typed, or copied there by a button) reaches the record as
    // the form keeps it when its fields give up the keyboard.
    for (FormViewController* form : forms_.forms())
        form->textViewDismissTaps();
    const Record record = core.saveDictionary();
    // The time of issue is stamped by the compound form when it shows; a compound can reach here without
    // that form ever showing, and its notice would print with no time.
    if (record->value(Key::kompaunMasa).isEmpty())
        record->insert(Key::kompaunMasa, KualaLumpur::format(core.clock().now(), QStringLiteral("HH:mm")));
    // A compound with no position carries the zero pair on the wire and on paper, as the council's
    // service has always received it.
    for (const QLatin1String key : {Key::lat, Key::long_})
        if (record->value(key).trimmed().isEmpty())
            record->insert(key, PositionReader::noPosition());
    const Problem problem = semakCheck(*record, core.getLaluLintas());
    if (!problem.message.isEmpty()) {
        alert(QStringLiteral("Makluman"), problem.message, {QStringLiteral("OK")}, 0, {});
        // The officer is taken to the field named, not left to search the tabs for it.
        forms_.showField(problem.key);
        return false;
    }
    NavigationStack* navigation = screen_.navigation();
    if (!navigation)
        return false;
    reviewed_ = now();
    Q_EMIT reviewChanged();
    navigation->push(Screen::review, QStringLiteral("Semak"),
                     {{QStringLiteral("flow"), QVariant::fromValue(this)}});
    return true;
}

bool IssuingFlow::stillReviewed() {
    const Snapshot current = now();
    if (reviewed_ && current.record == reviewed_->record && current.values == reviewed_->values &&
        current.photos == reviewed_->photos && current.traffic == reviewed_->traffic)
        return true;
    reviewed_ = current;
    Q_EMIT reviewChanged();
    alert(QStringLiteral("Makluman"), changedMessage(), {QStringLiteral("OK")}, 0, {});
    return false;
}

void IssuingFlow::cetak() {
    // One question at a time, and none while this compound is on its way to the store and the printer.
    if (busy_ || confirming_ || !reviewed_)
        return;
    if (!acquire()) {
        alert(QStringLiteral("Makluman"), otherIssuingMessage(), {QStringLiteral("OK")}, 0, {});
        return;
    }
    confirming_ = true;
    const auto stop = [this] {
        confirming_ = false;
        release();
    };
    if (!stillReviewed()) {
        stop();
        return;
    }
    // A review taken again after a change shows what is current, which may not pass the checks.
    const QString problem = semakProblem(reviewed_->values, reviewed_->traffic);
    if (!problem.isEmpty()) {
        stop();
        alert(QStringLiteral("Makluman"), problem, {QStringLiteral("OK")}, 0, {});
        return;
    }
    alert(
        QStringLiteral("Kepastian"),
        QStringLiteral("Adakah anda pasti semua maklumat telah diisi dengan betul ?"),
        {QStringLiteral("Batal"), kind_ == Opener::Favourites ? QStringLiteral("YA") : QStringLiteral("Ya")},
        kConfirmTag, [this](int button) {
            confirming_ = false;
            if (button != 0)
                confirmed();
            if (!busy_)
                release();
        });
}

bool IssuingFlow::acquire() {
    holding_ = app().beginIssuing(this);
    return holding_;
}

void IssuingFlow::release() {
    if (!holding_)
        return;
    holding_ = false;
    app().endIssuing(this);
}

void IssuingFlow::confirmed() {
    AppDelegate& core = app();
    if (busy_ || core.issuingFlow() != this)
        return;
    // The question waited: the record may have been replaced or edited from another tab meanwhile.
    if (!stillReviewed())
        return;
    busy_ = true;
    const Record stored = makeRecord(reviewed_->values);
    // Nothing is printed for a compound the phone does not hold: the officer is told and may try again.
    if (!core.insertIntoBaruPBCompound(stored)) {
        busy_ = false;
        return;
    }
    issued_ = stored;
    issuedTraffic_ = reviewed_->traffic;
    context().shift().rememberDelivery(*stored, issuedTraffic_);
    // The number is advanced before anything prints: a notice never carries a number the phone could give
    // again. When the advance cannot be kept the compound stays stored (its number is held in memory
    // and by the store, so it is not given twice) and the officer is told; nothing prints.
    if (!core.addOneRunningNumber()) {
        busy_ = false;
        return;
    }
    context().printerConnection().reconnect();
    cetakExe();
}

void IssuingFlow::cetakExe() {
    if (!issued_)
        return;
    if (!acquire()) {
        showMenu({false, otherIssuingMessage()});
        return;
    }
    busy_ = true;
    // The lock is held until the printer's result is known: the menu says whether the notice printed.
    job_.start(context(), issued_, issuedTraffic_, [this](const NoticePrintJob::Result& result) {
        busy_ = false;
        release();
        Q_EMIT noticeDone(result.printed);
        showMenu(result);
    });
}

void IssuingFlow::showMenu(const NoticePrintJob::Result& result) {
    const QString message = NoticePrintJob::resultMessage(
                                issued_ ? issued_->value(Key::kompaunRunningNumber) : QString(), result) +
                            QStringLiteral(" Sila pilih menu dibawah");
    // One order whether the notice came out or not, so the officer's hand learns one place per choice.
    // "Cetak Kembali" is last: the menu is taller than the question that led to it and centred like it,
    // so its last button lies wholly below the question's "Ya" and a second tap on "Ya" can never print
    // the notice again.
    alert(result.printed ? QStringLiteral("Kepastian") : QStringLiteral("Gagal"), message,
          {QStringLiteral("Ke Utama"), QStringLiteral("Guna Kembali Kesalahan Ini"),
           QStringLiteral("Cetak Kembali")},
          kMenuTag, [this](int button) { menuChosen(button); });
}

void IssuingFlow::menuChosen(int button) {
    NavigationStack* navigation = screen_.navigation();
    // Whatever follows, the review of the printed compound is done with: it may never store it again.
    reviewed_.reset();
    if (button == kMenuKeUtama) {
        context().shell().viewGetBackToRoot();
        // The favourites tab goes back to its list too.
        if (kind_ == Opener::Favourites && navigation)
            navigation->popToRoot();
        return;
    }
    if (button == kMenuCetakKembali) {
        context().printerConnection().reconnect();
        cetakExe();
        return;
    }
    AppDelegate& core = app();
    core.saveDictionaryInitGunaKembali();
    forms_.initForms();
    // Forms never shown cannot do their share: the previous photographs go and the position is read again.
    core.cleanUserChoiceGlobal();
    const Record record = core.saveDictionary();
    if (record->value(Key::lat).isEmpty()) {
        const RecordMap position = core.getLocation();
        record->insert(Key::lat, position.value(Key::lat));
        record->insert(Key::long_, position.value(Key::long_));
    }
    // Back to the forms: the review shows the previous compound, and only a fresh "Semak" may print.
    if (navigation && navigation->currentScreen() == Screen::review)
        navigation->pop();
}

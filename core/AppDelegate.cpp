#include "core/AppDelegate.h"

#include "core/DatabaseInstaller.h"
#include "core/TextField.h"
#include "platform/Alerts.h"
#include "platform/Files.h"
#include "platform/Log.h"

namespace {

AppDelegate* theInstance = nullptr;

QString documents(const Platform& p) {
    return p.files ? p.files->documentsDir() : QString();
}

// The keys of a fresh record, in the order they are written; all start as "".
const char* const initialKeys[] = {"status_batal",
                                   "JenisKompaun",
                                   "JenisKompaunID",
                                   "akta",
                                   "aktaID",
                                   "kesalahan",
                                   "kesalahanID",
                                   "pilihanIndividuAtauSyarikat",
                                   "noDaftarSyarikat",
                                   "lokasiLesenPerniagaan",
                                   "noKadPengenalanPesalah",
                                   "namaPesalah",
                                   "alamat1Pesalah",
                                   "alamat2Pesalah",
                                   "poskodPesalah",
                                   "alamat3Pesalah",
                                   "negeriPesalah",
                                   "negeriPesalahID",
                                   "noKadPengenalanPenerima",
                                   "namaPenerima",
                                   "alamat1Penerima",
                                   "alamat2Penerima",
                                   "poskodPenerima",
                                   "alamat3Penerima",
                                   "negeriPenerima",
                                   "negeriPenerimaID",
                                   "lat",
                                   "long",
                                   "kompaunLama",
                                   "kompaunRunningNumber",
                                   "kompaunTarikh",
                                   "kompaunTamatTawaran",
                                   "kompaunButiranKesalahan",
                                   "kompaunKadar",
                                   "kompaunKadarTawaran",
                                   "kompaunCaraPenyerahan",
                                   "kompaunCaraPenyerahanID",
                                   "lokasiTempatKejadian",
                                   "lokasiNoPetak",
                                   "lokasiNamaSaksi",
                                   "lokasiICSaksi",
                                   "kenderaanNoKenderaan",
                                   "kenderaanNoCukaiJalan",
                                   "kenderaanJenisKenderaan",
                                   "kenderaanJenisKenderaanID",
                                   "kenderaanJenisModel",
                                   "kenderaanJenisModelID",
                                   "kenderaanJenisWarna",
                                   "kenderaanJenisWarnaID",
                                   "kenderaanNoChasis"};

// What the re-use reset empties: the offender and recipient, the position, the old compound, the place
// and the vehicle. The offence, its amounts, the delivery method and the time of issue stay.
const char* const reuseResetKeys[] = {"pilihanIndividuAtauSyarikat",
                                      "noDaftarSyarikat",
                                      "noKadPengenalanPesalah",
                                      "namaPesalah",
                                      "alamat1Pesalah",
                                      "alamat2Pesalah",
                                      "poskodPesalah",
                                      "alamat3Pesalah",
                                      "negeriPesalah",
                                      "negeriPesalahID",
                                      "noKadPengenalanPenerima",
                                      "namaPenerima",
                                      "alamat1Penerima",
                                      "alamat2Penerima",
                                      "poskodPenerima",
                                      "alamat3Penerima",
                                      "negeriPenerima",
                                      "negeriPenerimaID",
                                      "lat",
                                      "long",
                                      "kompaunLama",
                                      "lokasiTempatKejadian",
                                      "lokasiKawasan",
                                      "lokasiKawasanID",
                                      "lokasiJalan",
                                      "lokasiJalanID",
                                      "lokasiNoPetak",
                                      "lokasiNamaSaksi",
                                      "lokasiICSaksi",
                                      "lokasiLesenPerniagaan",
                                      "kenderaanNoKenderaan",
                                      "kenderaanNoCukaiJalan",
                                      "kenderaanJenisKenderaan",
                                      "kenderaanJenisKenderaanID",
                                      "kenderaanJenisModel",
                                      "kenderaanJenisModelID",
                                      "kenderaanJenisWarna",
                                      "kenderaanJenisWarnaID",
                                      "kenderaanNoChasis"};

} // namespace

AppDelegate::AppDelegate(Platform platform, const Clock* clock, QObject* parent)
    : QObject(parent), platform_(platform), clock_(clock ? clock : &defaultClock_),
      db_(QStringLiteral("new_tvr.sqlite"), platform.files, platform.log), lookups_(db_),
      saveStore_(documents(platform), platform.log), favStore_(documents(platform), platform.log),
      running_(documents(platform), saveStore_, platform.log),
      device_(lookups_, platform.alerts, platform.files), position_(platform.positioning),
      saveDictionary_(makeRecord()), previewDictionary_(makeRecord()) {
    theInstance = this;
}

AppDelegate::~AppDelegate() {
    if (theInstance == this)
        theInstance = nullptr;
}

AppDelegate* AppDelegate::instance() {
    return theInstance;
}

void AppDelegate::startUpData() {
    imageArray_.clear();
    if (platform_.files)
        transferDb(*platform_.files, platform_.log);
    setPreviewIndicator(false);
}

void AppDelegate::startUpStores() {
    // The device code only tells which stored numbers are ours; no notice at start-up.
    const QString code = device_.isRegistered() ? device_.getCustomDeviceID() : QStringLiteral("000");
    if (!running_.runningNumber(code))
        showFailure(
            QStringLiteral("Nombor siri kompaun tidak dapat disimpan dalam telefon. Sila maklumkan pihak "
                           "pengurusan IT anda."));
    saveStore_.purgeUploaded();
}

void AppDelegate::writeNumberAndDates(RecordMap& record) {
    const QDateTime now = clock_->now();
    const QString number = QStringLiteral("P%1%2%3").arg(
        KualaLumpur::format(now, QStringLiteral("yyyy")), device_.getCustomDeviceID(),
        QStringLiteral("%1").arg(running_.getCompoundNumber(), 6, 10, QLatin1Char('0')));
    record.insert(QStringLiteral("kompaunRunningNumber"), number);
    record.insert(QStringLiteral("kompaunTarikh"), KualaLumpur::format(now, QStringLiteral("dd/MM/yyyy")));
    record.insert(QStringLiteral("kompaunTamatTawaran"),
                  KualaLumpur::format(now.addSecs(1209600), QStringLiteral("dd/MM/yyyy")));
}

void AppDelegate::writeOfficer(RecordMap& record) {
    if (userIDGlobal_.isEmpty())
        return;
    record.insert(QStringLiteral("namaPenguatKuasa"), userIDGlobal_.value(QStringLiteral("peng_nama")));
    record.insert(QStringLiteral("penguatKuasaID"), userIDGlobal_.value(QStringLiteral("kod_pekerja")));
}

void AppDelegate::saveDictionaryInit() {
    saveDictionary_ = makeRecord();
    RecordMap& record = *saveDictionary_;
    for (const char* key : initialKeys)
        record.insert(QLatin1String(key), QString());
    record.insert(QStringLiteral("status_batal"), QStringLiteral("0"));
    writeNumberAndDates(record);
    writeOfficer(record);
}

void AppDelegate::saveDictionaryInitGunaKembali() {
    RecordMap& record = *saveDictionary_;
    record.insert(QStringLiteral("status_batal"), QStringLiteral("0"));
    for (const char* key : reuseResetKeys)
        record.insert(QLatin1String(key), QString());
    writeNumberAndDates(record);
    writeOfficer(record);
}

void AppDelegate::removeImageArray(int index) {
    if (index >= 0 && index < imageArray_.size())
        imageArray_.removeAt(index);
}

void AppDelegate::setPreviewIndicator(bool on) {
    if (previewIndicator_ == on)
        return;
    previewIndicator_ = on;
    Q_EMIT previewIndicatorChanged();
}

void AppDelegate::openDropDownList(const PickList& items, const QString& title, TextField* field,
                                   const QString& type) {
    currentType_ = type;
    currentDDKey_.clear();
    dropDownListArray_ = items;
    generalTextField_ = field;
    keyTextField_ = nullptr;
    Q_EMIT dropDownListRequested(title);
}

void AppDelegate::setTextField(const QString& label, const QString& code) {
    getDictionary()->insert(currentType_, code);
    if (generalTextField_)
        generalTextField_->setText(label);
    if (keyTextField_)
        keyTextField_->setText(code);
    currentDDKey_ = code;
}

void AppDelegate::onClose() {
    static const QMap<QString, QString> companions{
        {QStringLiteral("lokasiKawasanID"), QStringLiteral("lokasiKawasan")},
        {QStringLiteral("lokasiJalanID"), QStringLiteral("lokasiJalan")},
        {QStringLiteral("kenderaanJenisKenderaanID"), QStringLiteral("kenderaanJenisKenderaan")},
        {QStringLiteral("kenderaanJenisModelID"), QStringLiteral("kenderaanJenisModel")},
        {QStringLiteral("kenderaanJenisWarnaID"), QStringLiteral("kenderaanJenisWarna")},
        {QStringLiteral("kompaunCaraPenyerahanID"), QStringLiteral("kompaunCaraPenyerahan")},
        {QStringLiteral("namaSaksi"), QStringLiteral("lokasiNamaSaksi")},
    };
    const auto companion = companions.constFind(currentType_);
    if (companion == companions.cend() || !generalTextField_)
        return;
    QString shown = generalTextField_->text();
    if (currentType_ == QLatin1String("lokasiJalanID")) {
        // Street items read "code-name": only the name is kept, dashes inside the name included.
        const qsizetype dash = shown.indexOf(QLatin1Char('-'));
        if (dash >= 0)
            shown = shown.mid(dash + 1);
    }
    shown = shown.toUpper();
    generalTextField_->setText(shown);
    Record record = getDictionary();
    record->insert(*companion, shown);
    if (currentType_ == QLatin1String("namaSaksi") && keyTextField_) {
        const QString ic = keyTextField_->text().toUpper();
        keyTextField_->setText(ic);
        record->insert(QStringLiteral("lokasiICSaksi"), ic);
    }
}

void AppDelegate::showFailure(const QString& message) {
    if (platform_.alerts)
        platform_.alerts->show({QStringLiteral("Gagal"), message, {QStringLiteral("OK")}, 0, {}});
}

bool AppDelegate::insertIntoBaruPBCompound(const Record& record) {
    if (saveStore_.insertIntoBaruPBCompound(record, imageArray_))
        return true;
    showFailure(QStringLiteral("Kompaun tidak dapat disimpan dalam telefon. Sila cuba lagi."));
    return false;
}

bool AppDelegate::addOneRunningNumber() {
    if (running_.addOneRunningNumber())
        return true;
    showFailure(QStringLiteral(
        "Nombor siri kompaun tidak dapat disimpan dalam telefon. Sila maklumkan pihak pengurusan IT anda."));
    return false;
}

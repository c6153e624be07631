#include "screens/licence/LesenViewController.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/BarcodeReader.h"
#include "platform/Log.h"
#include "screens/shell/ScreenNames.h"
#include "sync/LicenceScan.h"

#include <QDir>
#include <QFileInfo>

LesenViewController::LesenViewController(QObject* parent) : ScreenController(parent) {
    pictures_.setTitleFormat(KeyValueListModel::column(QStringLiteral("name")));
    pictures_.setKeyFormat(KeyValueListModel::column(QStringLiteral("path")));
}

void LesenViewController::contextSet() {
    Q_EMIT readerChanged();
}

LesenViewController::~LesenViewController() {
    if (showing_)
        context().barcodeReader().stop();
}

bool LesenViewController::hasCamera() const {
    // The view reads it while it is being made, before the services arrive.
    return ready() && context().barcodeReader().hasCamera();
}

bool LesenViewController::scanning() const {
    return showing_ && context().barcodeReader().isRunning();
}

void LesenViewController::log(const QString& line) const {
    app().platform().log->write(line);
}

void LesenViewController::viewDidLoad() {
    loaded_ = true;
    resultVisible_ = false;
    Q_EMIT resultChanged();
}

void LesenViewController::viewWillAppear() {
    if (!loaded_)
        viewDidLoad();
    showing_ = true;
    // The reader is the phone's one camera: this screen takes it each time it shows.
    BarcodeReader& reader = context().barcodeReader();
    reader.setDelegate(this, [this](const QStringList& symbols) { didReadSymbols(symbols); });
    reader.start();
    Q_EMIT readerChanged();
}

void LesenViewController::viewWillDisappear() {
    if (!showing_)
        return;
    showing_ = false;
    context().barcodeReader().stop();
    Q_EMIT readerChanged();
}

void LesenViewController::setRotation(int degrees) {
    context().barcodeReader().setRotation(degrees);
}

void LesenViewController::didReadSymbols(const QStringList& symbols) {
    // A frame decoded after the officer left (or after a scan was taken) opens nothing and writes nothing.
    if (!showing_)
        return;
    const std::optional<LicenceScan> scan = LicenceScan::fromSymbols(symbols);
    if (!scan) {
        if (!symbols.isEmpty() || !picturesShown_)
            return;
        // A chosen picture with no barcode in it: said on the screen, nothing else happens.
        picturesNote_ = QStringLiteral("Tiada kod bar dijumpai dalam gambar ini.");
        Q_EMIT picturesChanged();
        return;
    }
    resultText_ = scan->account;
    resultVisible_ = true;
    Q_EMIT resultChanged();
    akaunManual_.setText(scan->account);
    if (scan->licenceForRecord)
        if (const Record record = app().getDictionary())
            record->insert(Key::lokasiLesenPerniagaan, *scan->licenceForRecord);
    viewWillDisappear();
    picturesShown_ = false;
    picturesNote_.clear();
    Q_EMIT picturesChanged();
    openPage(resultText_, scan->account);
    log(QStringLiteral("DICARI : %1").arg(scan->account));
}

void LesenViewController::cariAkaun() {
    openPage(akaunManual_.text(), akaunManual_.text());
}

void LesenViewController::openPage(const QString& title, const QString& account) {
    if (navigation_)
        navigation_->push(Screen::lesenDetail, title, {{QStringLiteral("account"), account}});
}

void LesenViewController::imbasGambar() {
    picturesShown_ = !picturesShown_;
    picturesNote_.clear();
    if (picturesShown_)
        listPictures();
    Q_EMIT picturesChanged();
}

void LesenViewController::listPictures() {
    const QString dir = context().scanDir();
    QList<QVariantMap> rows;
    if (!dir.isEmpty()) {
        const QFileInfoList files = QDir(dir).entryInfoList(
            {QStringLiteral("*.png"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"),
             QStringLiteral("*.bmp"), QStringLiteral("*.gif"), QStringLiteral("*.PNG"),
             QStringLiteral("*.JPG"), QStringLiteral("*.JPEG")},
            QDir::Files | QDir::Readable, QDir::Name);
        for (const QFileInfo& file : files)
            rows.append({{QStringLiteral("name"), file.fileName()},
                         {QStringLiteral("path"), file.absoluteFilePath()}});
    }
    pictures_.setRows(rows);
    if (rows.isEmpty())
        picturesNote_ = QStringLiteral("Tiada gambar kod bar untuk diimbas.");
}

void LesenViewController::pictureChosen(int row) {
    if (!showing_ || row < 0 || row >= pictures_.count())
        return;
    picturesNote_ = QStringLiteral("Membaca %1 ...").arg(pictures_.title(row));
    Q_EMIT picturesChanged();
    context().barcodeReader().readPicture(pictures_.key(row));
}

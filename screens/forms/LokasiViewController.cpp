#include "screens/forms/LokasiViewController.h"

#include "core/AppDelegate.h"
#include "core/PositionReader.h"
#include "core/RecordKeys.h"
#include "platform/Alerts.h"
#include "platform/Progress.h"
#include "screens/forms/PickRelay.h"
#include "screens/shell/ScreenNames.h"

#include <QPointer>
#include <QThread>

#include <algorithm>
#include <memory>

namespace {
const QLatin1String samaSptAlamat{"samaSptAlamat"};
const QLatin1String kedudukan{"kedudukan"};
} // namespace

LokasiViewController::LokasiViewController(QObject* parent) : FormViewController(parent) {
    // The area and street stay for the next compound: an officer works one street at a time.
    setRows({
        {.key = Key::lokasiTempatKejadian, .label = QStringLiteral("Tempat Kejadian"), .required = true},
        {.kind = FormRow::Action,
         .key = samaSptAlamat,
         .label = QStringLiteral("Sama seperti alamat pesalah")},
        {.kind = FormRow::Pick,
         .key = Key::lokasiKawasan,
         .label = QStringLiteral("Kawasan"),
         .list = FormRow::Kawasan},
        {.kind = FormRow::Pick,
         .key = Key::lokasiJalan,
         .label = QStringLiteral("Jalan"),
         .list = FormRow::Jalan,
         .listTitle = QStringLiteral("Lokasi")},
        {.key = Key::lokasiNoPetak, .label = QStringLiteral("No. Petak")},
        {.kind = FormRow::Pick,
         .key = Key::lokasiNamaSaksi,
         .label = QStringLiteral("Saksi Penguatkuasa"),
         .list = FormRow::Saksi},
        {.key = Key::lokasiICSaksi, .label = QStringLiteral("No. K/P Saksi"), .hint = FormRow::Digits},
        {.kind = FormRow::Value, .key = Key::namaPenguatKuasa, .label = QStringLiteral("Penguatkuasa")},
        {.kind = FormRow::Heading, .key = kedudukan, .label = QStringLiteral("Kedudukan")},
        {.kind = FormRow::Value, .key = Key::lat, .label = QStringLiteral("Latitud")},
        {.kind = FormRow::Value, .key = Key::long_, .label = QStringLiteral("Longitud")},
    });
}

void LokasiViewController::viewDidLoad() {
    // A traffic notice names no witness, and a traffic compound has no offender whose address could
    // be copied.
    const bool traffic = value(Key::isLaluLintas) == QLatin1String("YA");
    setShown(Key::lokasiNamaSaksi, !traffic);
    setShown(Key::lokasiICSaksi, !traffic);
    setShown(samaSptAlamat, !traffic);
}

void LokasiViewController::willAppear() {
    showRecordedPosition();
    refreshPhotoCount();
}

void LokasiViewController::showRecordedPosition() {
    // The zero pair the record carries for "no position" is shown as none, never as a place.
    const bool known = PositionReader::isPosition(value(Key::lat), value(Key::long_));
    field(Key::lat)->setText(known ? value(Key::lat) : QString());
    field(Key::long_)->setText(known ? value(Key::long_) : QString());
    if (!known)
        setFixDetail(PositionReader::noPositionText());
    else if (fixDetail_ == PositionReader::noPositionText())
        setFixDetail(QString());
}

void LokasiViewController::action(const QString& name) {
    if (name == samaSptAlamat)
        samaSptAlamatPesalah();
}

void LokasiViewController::refreshPhotoCount() {
    const int count = int(app().getImageArray().size());
    if (count == photoCount_)
        return;
    photoCount_ = count;
    Q_EMIT photoCountChanged();
}

void LokasiViewController::listOpened(const FormRow& row, bool opened) {
    // The identity-card field is named only for the list that actually opened.
    if (opened && row.list == FormRow::Saksi)
        PickRelay::of(app()).setKeyTextField(field(Key::lokasiICSaksi));
}

void LokasiViewController::showPosition(const RecordMap& position) {
    const QString lat = position.value(Key::lat);
    const QString lon = position.value(Key::long_);
    const bool known = PositionReader::isPosition(lat, lon);
    field(Key::lat)->setText(known ? lat : QString());
    field(Key::long_)->setText(known ? lon : QString());
    if (!preview()) {
        write(Key::lat, known ? lat : PositionReader::noPosition());
        write(Key::long_, known ? lon : PositionReader::noPosition());
    }
    if (!known)
        setFixDetail(PositionReader::noPositionText());
}

QString LokasiViewController::noFixMessage() {
    return QStringLiteral("Lokasi tidak dapat dikesan. Sila cuba lagi.");
}

QString LokasiViewController::describeFix(const PositionFix& fix, const QDateTime& now) {
    QStringList parts;
    if (fix.horizontalAccuracy >= 0)
        parts.append(QStringLiteral("Ketepatan \u00b1%1 m").arg(qRound(fix.horizontalAccuracy)));
    if (fix.timestamp.isValid() && now.isValid()) {
        const qint64 seconds = std::max<qint64>(0, fix.timestamp.secsTo(now));
        if (seconds < 60)
            parts.append(QStringLiteral("%1 saat lalu").arg(seconds));
        else if (seconds < 3600)
            parts.append(QStringLiteral("%1 minit lalu").arg(seconds / 60));
        else if (seconds < 48 * 3600)
            parts.append(QStringLiteral("%1 jam lalu").arg(seconds / 3600));
        else
            parts.append(QStringLiteral("%1 hari lalu").arg(seconds / 86400));
    }
    return parts.join(QStringLiteral(", "));
}

void LokasiViewController::setFixDetail(const QString& detail) {
    if (detail == fixDetail_)
        return;
    fixDetail_ = detail;
    Q_EMIT fixDetailChanged();
}

// A fix shows with its accuracy and age; no fix says so and leaves the position as it was, never 0, 0.
void LokasiViewController::captureEnded() {
    AppDelegate& hub = app();
    const RecordMap position = hub.getLocation();
    const std::optional<PositionFix> fix = hub.positionReader().lastFix();
    if (!fix || !PositionReader::isPosition(position.value(Key::lat), position.value(Key::long_))) {
        setFixDetail(QString());
        showRecordedPosition();
        hub.platform().alerts->show(
            {QStringLiteral("Makluman"), noFixMessage(), {QStringLiteral("OK")}, 0, {}});
        return;
    }
    showPosition(position);
    setFixDetail(describeFix(*fix, hub.clock().now()));
}

void LokasiViewController::captureLatLong() {
    if (!record() || capturing_)
        return;
    AppDelegate* hub = &app();
    capturing_ = true;
    Q_EMIT capturingChanged();
    hub->platform().progress->show(QStringLiteral("Mengesan Lokasi"));
    // The wait runs on a worker; the position is read back on this thread once it ends, in the same step
    // that takes the overlay away, so the overlay never goes before the position shows. The overlay goes
    // even if the form has gone meanwhile, and nothing is touched once the hub itself has gone (the
    // connection ends with it).
    const int delay = captureDelayMs_;
    QThread* worker = QThread::create([delay] {
        if (delay > 0)
            QThread::msleep(static_cast<unsigned long>(delay));
    });
    QPointer<LokasiViewController> form(this);
    connect(worker, &QThread::finished, hub, [hub, form] {
        hub->platform().progress->hide();
        if (!form)
            return;
        form->capturing_ = false;
        form->captureEnded();
        Q_EMIT form->capturingChanged();
        Q_EMIT form->positionCaptured();
    });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

void LokasiViewController::goToMap() {
    // The map page, given the position the two fields show.
    if (record() && navigation())
        navigation()->push(Screen::map, QStringLiteral("Peta"),
                           {{QStringLiteral("contactLat"), fieldText(Key::lat)},
                            {QStringLiteral("contactLong"), fieldText(Key::long_)}});
}

void LokasiViewController::samaSptAlamatPesalah() {
    if (!record() || preview() || !shown(samaSptAlamat))
        return;
    // Only the lines the offender's address has: no stray comma, and nothing at all from an empty one.
    QStringList lines;
    for (const QLatin1String key : {Key::alamat1Pesalah, Key::alamat2Pesalah})
        if (const QString line = value(key).trimmed(); !line.isEmpty())
            lines.append(line);
    if (!lines.isEmpty())
        field(Key::lokasiTempatKejadian)->setText(lines.join(QLatin1Char(',')));
}

void LokasiViewController::keluarkamera() {
    if (record() && !preview())
        Q_EMIT photoSourceRequested();
}

void LokasiViewController::openEditGmabar() {
    if (record())
        Q_EMIT photoListRequested();
}

void LokasiViewController::initForm() {
    FormViewController::initForm();
    setFixDetail(QString());
    if (record())
        showPosition(app().getLocation());
    app().cleanUserChoiceGlobal();
    refreshPhotoCount();
}

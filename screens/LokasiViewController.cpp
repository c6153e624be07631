#include "screens/LokasiViewController.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "core/SQLiteManager.h"
#include "platform/Alerts.h"
#include "platform/Progress.h"

#include <QPointer>
#include <QThread>

#include <algorithm>
#include <memory>

LokasiViewController::LokasiViewController(QObject* parent) : FormViewController(parent) {}

void LokasiViewController::viewDidLoad() {
    fill(tempatKejadian_, Key::lokasiTempatKejadian);
    fill(kawasan_, Key::lokasiKawasan);
    fill(lokasiJalan_, Key::lokasiJalan);
    fill(noPetak_, Key::lokasiNoPetak);
    fill(namaSaksi_, Key::lokasiNamaSaksi);
    fill(icSaksi_, Key::lokasiICSaksi);
    // A traffic notice names no witness.
    witnessVisible_ = value(Key::isLaluLintas) != QLatin1String("YA");
    fill(namaPenguatKuasa_, Key::namaPenguatKuasa);
}

void LokasiViewController::willAppear() {
    fill(latitude_, Key::lat);
    fill(longtitude_, Key::long_);
    refreshPhotoCount();
}

void LokasiViewController::refreshPhotoCount() {
    const int count = app() ? int(app()->getImageArray().size()) : 0;
    if (count == photoCount_)
        return;
    photoCount_ = count;
    Q_EMIT photoCountChanged();
}

void LokasiViewController::writePlace() {
    write(Key::lokasiTempatKejadian, tempatKejadian_.text().toUpper());
    write(Key::lokasiKawasan, kawasan_.text().toUpper());
    write(Key::lokasiJalan, lokasiJalan_.text().toUpper());
    write(Key::lokasiNoPetak, noPetak_.text().toUpper());
    write(Key::lokasiNamaSaksi, namaSaksi_.text().toUpper());
    write(Key::lokasiICSaksi, icSaksi_.text().toUpper());
}

void LokasiViewController::textFieldDidEndEditing(TextField* field) {
    if (!record())
        return;
    if (field)
        upperInPlace(*field);
    writePlace();
}

void LokasiViewController::textViewDismissTaps() {
    if (record())
        writePlace();
}

void LokasiViewController::willDisappear() {
    writePlace();
}

void LokasiViewController::getSaksiPenguatkuasaList() {
    if (!record() || !app() || !witnessVisible_)
        return;
    PickList items;
    for (const DbRow& row : app()->lookups().getPenguatkuasa())
        items.append({SQLiteManager::text(row.value(QStringLiteral("peng_nama"))),
                      SQLiteManager::text(row.value(QStringLiteral("peng_ic")))});
    // The identity-card field is named only for the list that actually opened.
    if (openList(items, QStringLiteral("Saksi Penguatkuasa"), namaSaksi_, Key::namaSaksi))
        app()->setKeyTextField(&icSaksi_);
}

void LokasiViewController::kawasanGestureDropDown() {
    if (!record() || !app() || preview())
        return;
    PickList items;
    for (const DbRow& row : app()->lookups().getKawasan())
        items.append({SQLiteManager::text(row.value(QStringLiteral("short_desc"))),
                      SQLiteManager::text(row.value(QStringLiteral("kodkaw")))});
    openList(items, QStringLiteral("Kawasan"), kawasan_, Key::lokasiKawasanID);
}

void LokasiViewController::lokasiLabelDropDown() {
    if (!record() || !app() || preview())
        return;
    PickList items;
    const QString area = value(Key::lokasiKawasanID);
    if (!area.isEmpty())
        for (const DbRow& row : app()->lookups().getLokasi(area))
            items.append({SQLiteManager::text(row.value(QStringLiteral("prgn"))),
                          SQLiteManager::text(row.value(QStringLiteral("kodjalan")))});
    openList(items, QStringLiteral("Lokasi"), lokasiJalan_, Key::lokasiJalanID);
}

void LokasiViewController::showPosition(const RecordMap& position) {
    latitude_.setText(position.value(QStringLiteral("lat")));
    longtitude_.setText(position.value(QStringLiteral("long")));
    if (!preview()) {
        write(Key::lat, latitude_.text());
        write(Key::long_, longtitude_.text());
    }
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
        else
            parts.append(QStringLiteral("%1 jam lalu").arg(seconds / 3600));
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
    AppDelegate* hub = app();
    if (!hub)
        return;
    const RecordMap position = hub->getLocation();
    const std::optional<PositionFix> fix = hub->positionReader().lastFix();
    if (!fix || position.value(QStringLiteral("lat")).isEmpty()) {
        setFixDetail(QString());
        if (hub->platform().alerts)
            hub->platform().alerts->show(
                {QStringLiteral("Makluman"), noFixMessage(), {QStringLiteral("OK")}, 0, {}});
        return;
    }
    showPosition(position);
    setFixDetail(describeFix(*fix, hub->clock().now()));
}

void LokasiViewController::captureLatLong() {
    AppDelegate* hub = app();
    if (!record() || !hub || capturing_)
        return;
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
    if (record())
        Q_EMIT mapRequested();
}

void LokasiViewController::samaSptAlamatPesalah() {
    if (record())
        tempatKejadian_.setText(
            QStringLiteral("%1,%2").arg(value(Key::alamat1Pesalah), value(Key::alamat2Pesalah)));
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
    tempatKejadian_.setText(QString());
    noPetak_.setText(QString());
    namaSaksi_.setText(QString());
    icSaksi_.setText(QString());
    setFixDetail(QString());
    if (AppDelegate* hub = app()) {
        if (record())
            showPosition(hub->getLocation());
        hub->cleanUserChoiceGlobal();
    }
    refreshPhotoCount();
}

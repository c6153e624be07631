#pragma once

#include "screens/forms/FormViewController.h"

#include "core/PositionReader.h"

#include <QElapsedTimer>

// "Lokasi": where the offence took place (place, area, street, bay), the witness officer, the phone's
// position, and the way to the photographs and the map. A traffic compound has no witness.
class LokasiViewController : public FormViewController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString editGambarTitle READ editGambarTitle NOTIFY photoCountChanged)
    Q_PROPERTY(bool capturing READ capturing NOTIFY capturingChanged)
    Q_PROPERTY(QString fixDetail READ fixDetail NOTIFY fixDetailChanged)
public:
    explicit LokasiViewController(QObject* parent = nullptr);

    QString editGambarTitle() const { return QStringLiteral("%1 Gambar").arg(photoCount_); }
    bool capturing() const { return capturing_; }
    // How good the captured fix is: its accuracy and age, as far as the platform told them.
    QString fixDetail() const { return fixDetail_; }
    static QString describeFix(const PositionFix& fix, const QDateTime& now);
    static QString noFixMessage();

    // How long the capture lets the positioning settle before it reads; two seconds on a phone.
    void setCaptureDelay(int ms) { captureDelayMs_ = ms; }

    // The position button: reads the position off the interface thread under "Mengesan Lokasi".
    Q_INVOKABLE void captureLatLong();
    Q_INVOKABLE void goToMap();
    // The place becomes the offender's address.
    Q_INVOKABLE void samaSptAlamatPesalah();
    // The photo picture and the photo count button.
    Q_INVOKABLE void keluarkamera();
    Q_INVOKABLE void openEditGmabar();

    void action(const QString& name) override;
    void initForm() override;

Q_SIGNALS:
    void photoCountChanged();
    void capturingChanged();
    void fixDetailChanged();
    // The capture has shown its result (written to the record while issuing).
    void positionCaptured();
    void photoSourceRequested();
    void photoListRequested();

protected:
    void viewDidLoad() override;
    void willAppear() override;
    void listOpened(const FormRow& row, bool opened) override;

private:
    void refreshPhotoCount();
    void showPosition(const RecordMap& position);
    // The record's position in the two fields, or none said to be none.
    void showRecordedPosition();
    void captureEnded();
    void setFixDetail(const QString& detail);

    int photoCount_ = 0;
    bool capturing_ = false;
    QString fixDetail_;
    int captureDelayMs_ = 2000;
};

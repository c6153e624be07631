#pragma once

#include "screens/forms/FormViewController.h"
#include "screens/forms/PictureScan.h"

// "Kenderaan": the vehicle's plate, road-tax and chassis numbers, and its type, model and colour from
// the parameter lists; the model list follows the chosen type. Written as typed (end of editing
// upper-cases the field), at once, so a review opened straight from this form reads the plate.
class KenderaanTabViewController : public FormViewController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(PictureScan* scan READ scan CONSTANT)
public:
    explicit KenderaanTabViewController(QObject* parent = nullptr);

    // "Imbas Plat": the plate read from a picture, as the officer types it.
    void imbasPlatExe();
    void action(const QString& name) override;
    PictureScan* scan() { return &scan_; }

protected:
    void contextSet() override;
    void viewDidLoad() override;

private:
    void plateRead(const PlateReading& plate);

    PictureScan scan_;
};

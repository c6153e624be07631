#pragma once

#include "screens/forms/FormViewController.h"

// "Kenderaan": the vehicle's plate, road-tax and chassis numbers, and its type, model and colour from
// the parameter lists; the model list follows the chosen type. Written as typed (end of editing
// upper-cases the field), at once, so a review opened straight from this form reads the plate.
class KenderaanTabViewController : public FormViewController {
    Q_OBJECT
    QML_ELEMENT
public:
    explicit KenderaanTabViewController(QObject* parent = nullptr);

protected:
    void viewDidLoad() override;
};

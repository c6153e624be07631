#pragma once

#include "screens/forms/FormViewController.h"
#include "screens/forms/PictureScan.h"

// "Pesalah": the offender and the recipient of the notice. A postcode fills its town and state, a state
// can be picked, and "Sama seperti di atas" copies the offender to the recipient. An end of editing writes
// the fields the officer changed since they were last filled or written (all of them to a record not yet
// written); the states follow their picks.
class MaklumatPersalahViewController : public FormViewController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(PictureScan* scan READ scan CONSTANT)
public:
    explicit MaklumatPersalahViewController(QObject* parent = nullptr);

    // "Sama seperti di atas".
    Q_INVOKABLE void samaDiatasExe();
    // "Imbas MyKad": the identity card's number, name, address and postcode read from a picture.
    void imbasMyKadExe();
    PictureScan* scan() { return &scan_; }
    void action(const QString& name) override;

protected:
    void contextSet() override;
    void viewDidLoad() override;
    void willAppear() override;
    void fillIn() override;

private:
    void fillFromPostcode(QLatin1String postcode, QLatin1String town, QLatin1String state,
                          QLatin1String stateCodeKey);
    void cardRead(const CardReading& card);

    PictureScan scan_;
};

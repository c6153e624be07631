#pragma once

#include "screens/FormViewController.h"
#include "screens/PictureScan.h"

// "Pesalah": the offender and the recipient of the notice. A postcode fills its town and state, a state
// can be picked, and "Sama seperti di atas" copies the offender to the recipient. Every end of editing
// writes all sixteen fields to the record.
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
    void listOpened(const FormRow& row, bool opened) override;

private:
    void fillFromPostcode(QLatin1String postcode, QLatin1String town, QLatin1String state,
                          QLatin1String stateCodeKey);
    void listClosed(const QString& type, bool picked);
    void cardRead(const CardReading& card);

    // The state list this form opened and is waiting on, if any.
    QString openStateType_;
    PictureScan scan_;
};

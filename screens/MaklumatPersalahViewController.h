#pragma once

#include "screens/FormViewController.h"

// "Pesalah": the offender and the recipient of the notice. A postcode fills its town and state, a state
// can be picked, and "Sama seperti di atas" copies the offender to the recipient. Every end of editing
// writes all sixteen fields to the record.
class MaklumatPersalahViewController : public FormViewController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(int choose READ choose NOTIFY chooseChanged)
    Q_PROPERTY(TextField* icPesalah READ icPesalah CONSTANT)
    Q_PROPERTY(TextField* nodaftarsyarikatPesalah READ nodaftarsyarikatPesalah CONSTANT)
    Q_PROPERTY(TextField* noLesen READ noLesen CONSTANT)
    Q_PROPERTY(TextField* namaPesalah READ namaPesalah CONSTANT)
    Q_PROPERTY(TextField* alamat1Pesalah READ alamat1Pesalah CONSTANT)
    Q_PROPERTY(TextField* alamat2Pesalah READ alamat2Pesalah CONSTANT)
    Q_PROPERTY(TextField* poskodPesalah READ poskodPesalah CONSTANT)
    Q_PROPERTY(TextField* daerahPesalah READ daerahPesalah CONSTANT)
    Q_PROPERTY(TextField* butiranNegeri READ butiranNegeri CONSTANT)
    Q_PROPERTY(TextField* namaPenerima READ namaPenerima CONSTANT)
    Q_PROPERTY(TextField* icPenerima READ icPenerima CONSTANT)
    Q_PROPERTY(TextField* alamat1Penerima READ alamat1Penerima CONSTANT)
    Q_PROPERTY(TextField* alamat2Penerima READ alamat2Penerima CONSTANT)
    Q_PROPERTY(TextField* poskodPenerima READ poskodPenerima CONSTANT)
    Q_PROPERTY(TextField* alamat3Penerima READ alamat3Penerima CONSTANT)
    Q_PROPERTY(TextField* penerimaNegeri READ penerimaNegeri CONSTANT)
public:
    explicit MaklumatPersalahViewController(QObject* parent = nullptr);

    // 0 individual, 1 company.
    int choose() const { return choose_; }
    TextField* icPesalah() { return &icPesalah_; }
    TextField* nodaftarsyarikatPesalah() { return &nodaftarsyarikatPesalah_; }
    TextField* noLesen() { return &noLesen_; }
    TextField* namaPesalah() { return &namaPesalah_; }
    TextField* alamat1Pesalah() { return &alamat1Pesalah_; }
    TextField* alamat2Pesalah() { return &alamat2Pesalah_; }
    TextField* poskodPesalah() { return &poskodPesalah_; }
    TextField* daerahPesalah() { return &daerahPesalah_; }
    TextField* butiranNegeri() { return &butiranNegeri_; }
    TextField* namaPenerima() { return &namaPenerima_; }
    TextField* icPenerima() { return &icPenerima_; }
    TextField* alamat1Penerima() { return &alamat1Penerima_; }
    TextField* alamat2Penerima() { return &alamat2Penerima_; }
    TextField* poskodPenerima() { return &poskodPenerima_; }
    TextField* alamat3Penerima() { return &alamat3Penerima_; }
    TextField* penerimaNegeri() { return &penerimaNegeri_; }

    // The individual/company switch changed.
    Q_INVOKABLE void segmentSwitch(int segment);
    // The state labels: the offender's and the recipient's state lists.
    Q_INVOKABLE void negeri1Exe();
    Q_INVOKABLE void negeri2Exe();
    // "Sama seperti di atas".
    Q_INVOKABLE void samaDiatasExe();

    void textFieldDidEndEditing(TextField* field) override;
    void textViewDismissTaps() override {}
    void initForm() override;

Q_SIGNALS:
    void chooseChanged();

protected:
    void viewDidLoad() override;
    void willAppear() override;

private:
    struct Binding {
        TextField* field;
        QLatin1String key;
    };
    QList<Binding> bindings();
    void fillFromPostcode(TextField& postcode, TextField& town, TextField& state, QLatin1String stateCodeKey);
    void openStateList(TextField& field, QLatin1String type);
    void listClosed(const QString& type, bool picked);

    int choose_ = 0;
    TextField icPesalah_, nodaftarsyarikatPesalah_, noLesen_, namaPesalah_, alamat1Pesalah_, alamat2Pesalah_,
        poskodPesalah_, daerahPesalah_, butiranNegeri_, namaPenerima_, icPenerima_, alamat1Penerima_,
        alamat2Penerima_, poskodPenerima_, alamat3Penerima_, penerimaNegeri_;
    // The state list this form opened and is waiting on, if any.
    QString openStateType_;
};

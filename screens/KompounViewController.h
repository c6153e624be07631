#pragma once

#include "screens/FormViewController.h"

// "Kompaun": what the notice says about the compound itself, the particulars and the old compound the
// officer may edit, and the delivery method. Showing it while issuing stamps the time of issue.
class KompounViewController : public FormViewController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(TextField* kompaunNumber READ kompaunNumber CONSTANT)
    Q_PROPERTY(TextField* tarikh READ tarikh CONSTANT)
    Q_PROPERTY(TextField* tarikhTamat READ tarikhTamat CONSTANT)
    Q_PROPERTY(TextField* jenisKompaun READ jenisKompaun CONSTANT)
    Q_PROPERTY(TextField* jenisAkta READ jenisAkta CONSTANT)
    Q_PROPERTY(TextField* jenisSeksyen READ jenisSeksyen CONSTANT)
    Q_PROPERTY(TextField* butiranKesalahan READ butiranKesalahan CONSTANT)
    Q_PROPERTY(TextField* kadarSebelum READ kadarSebelum CONSTANT)
    Q_PROPERTY(TextField* kadarTawaran READ kadarTawaran CONSTANT)
    Q_PROPERTY(TextField* kompaunLama READ kompaunLama CONSTANT)
    Q_PROPERTY(TextField* caraPenyerahan READ caraPenyerahan CONSTANT)
public:
    explicit KompounViewController(QObject* parent = nullptr);

    TextField* kompaunNumber() { return &kompaunNumber_; }
    TextField* tarikh() { return &tarikh_; }
    TextField* tarikhTamat() { return &tarikhTamat_; }
    TextField* jenisKompaun() { return &jenisKompaun_; }
    TextField* jenisAkta() { return &jenisAkta_; }
    TextField* jenisSeksyen() { return &jenisSeksyen_; }
    TextField* butiranKesalahan() { return &butiranKesalahan_; }
    TextField* kadarSebelum() { return &kadarSebelum_; }
    TextField* kadarTawaran() { return &kadarTawaran_; }
    TextField* kompaunLama() { return &kompaunLama_; }
    TextField* caraPenyerahan() { return &caraPenyerahan_; }

    // The delivery label: the delivery list.
    Q_INVOKABLE void caraPenyerahanDropDown();

    void textFieldDidEndEditing(TextField* field) override;
    void textViewDismissTaps() override;
    void initForm() override;

protected:
    void viewDidLoad() override;
    void willAppear() override;
    void willDisappear() override;

private:
    // The record's number, dates, offence and amounts into the fields.
    void showRecord();
    void keepEditedTexts();

    TextField kompaunNumber_, tarikh_, tarikhTamat_, jenisKompaun_, jenisAkta_, jenisSeksyen_,
        butiranKesalahan_, kadarSebelum_, kadarTawaran_, kompaunLama_, caraPenyerahan_;
};

#pragma once

#include "screens/FormViewController.h"

// "Kenderaan": the vehicle's plate, road-tax and chassis numbers, and its type, model and colour from
// the parameter lists; the model list follows the chosen type.
class KenderaanTabViewController : public FormViewController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(TextField* noKenderaan READ noKenderaan CONSTANT)
    Q_PROPERTY(TextField* noCukaiJalan READ noCukaiJalan CONSTANT)
    Q_PROPERTY(TextField* jenisKenderaan READ jenisKenderaan CONSTANT)
    Q_PROPERTY(TextField* jenisModel READ jenisModel CONSTANT)
    Q_PROPERTY(TextField* jenisWarna READ jenisWarna CONSTANT)
    Q_PROPERTY(TextField* noChasis READ noChasis CONSTANT)
public:
    explicit KenderaanTabViewController(QObject* parent = nullptr);

    TextField* noKenderaan() { return &noKenderaan_; }
    TextField* noCukaiJalan() { return &noCukaiJalan_; }
    TextField* jenisKenderaan() { return &jenisKenderaan_; }
    TextField* jenisModel() { return &jenisModel_; }
    TextField* jenisWarna() { return &jenisWarna_; }
    TextField* noChasis() { return &noChasis_; }

    // The type, model and colour labels: their lists.
    Q_INVOKABLE void jenisKenDroTaps();
    Q_INVOKABLE void jenisModelDroTaps();
    Q_INVOKABLE void jenisWarDroTaps();

    void textFieldDidEndEditing(TextField* field) override;
    void textViewDismissTaps() override;
    void initForm() override;

protected:
    void viewDidLoad() override;
    void willDisappear() override;

private:
    struct Binding {
        TextField* field;
        QLatin1String key;
    };
    QList<Binding> bindings();
    void writeFields();

    TextField noKenderaan_, noCukaiJalan_, jenisKenderaan_, jenisModel_, jenisWarna_, noChasis_;
};

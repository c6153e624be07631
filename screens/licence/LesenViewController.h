#pragma once

#include "screens/shell/AppContext.h"
#include "screens/shell/KeyValueListModel.h"
#include "screens/shell/NavigationStack.h"
#include "screens/shell/ScreenController.h"
#include "screens/shell/TextField.h"

#include <QObject>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

// "Lesen/Cukai" (tab "Scan"): the camera reads the barcode of a business licence or an assessment-tax
// bill, or the officer types the account; either opens the council's page for it. A scanned licence
// number also goes into the compound being issued. Without a camera, "Imbas Gambar" decodes a picture
// file instead, through the same reader.
class LesenViewController : public ScreenController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString resultText READ resultText NOTIFY resultChanged)
    Q_PROPERTY(bool resultVisible READ resultVisible NOTIFY resultChanged)
    Q_PROPERTY(TextField* akaunManual READ akaunManual CONSTANT)
    Q_PROPERTY(bool hasCamera READ hasCamera NOTIFY readerChanged)
    Q_PROPERTY(bool scanning READ scanning NOTIFY readerChanged)
    Q_PROPERTY(bool picturesShown READ picturesShown NOTIFY picturesChanged)
    Q_PROPERTY(QString picturesNote READ picturesNote NOTIFY picturesChanged)
    Q_PROPERTY(KeyValueListModel* pictures READ pictures CONSTANT)
public:
    explicit LesenViewController(QObject* parent = nullptr);
    ~LesenViewController() override;

    QString resultText() const { return resultText_; }
    bool resultVisible() const { return resultVisible_; }
    TextField* akaunManual() { return &akaunManual_; }
    bool hasCamera() const;
    bool scanning() const;
    bool picturesShown() const { return picturesShown_; }
    QString picturesNote() const { return picturesNote_; }
    KeyValueListModel* pictures() { return &pictures_; }

    // The screen comes to show (the first time it also loads): the reader starts.
    Q_INVOKABLE void viewWillAppear();
    // The screen is left: the reader stops, and nothing it still decodes is taken.
    Q_INVOKABLE void viewWillDisappear();
    Q_INVOKABLE void setRotation(int degrees);
    // "Cari" (`cariAkaun:`): the page of the typed account, exactly as typed; the record stays as it is.
    Q_INVOKABLE void cariAkaun();
    // The reader's callback (`readerView:didReadSymbols:fromImage:`): the first symbol decides.
    Q_INVOKABLE void didReadSymbols(const QStringList& symbols);
    // "Imbas Gambar": the pictures of the scan folder, to choose one; again hides them.
    Q_INVOKABLE void imbasGambar();
    // A picture of the list chosen: decoded through the reader.
    Q_INVOKABLE void pictureChosen(int row);

Q_SIGNALS:
    void resultChanged();
    void readerChanged();
    void picturesChanged();

private:
    void contextSet() override;
    void viewDidLoad();
    void log(const QString& line) const;
    void openPage(const QString& title, const QString& account);
    void listPictures();

    TextField akaunManual_;
    KeyValueListModel pictures_;
    QString resultText_;
    bool resultVisible_ = true;
    bool loaded_ = false;
    // Between appearing and leaving (or a scan taken): only then does a decoded frame count.
    bool showing_ = false;
    bool picturesShown_ = false;
    QString picturesNote_;
};

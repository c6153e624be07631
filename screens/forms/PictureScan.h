#pragma once

#include "recognition/TextReader.h"
#include "screens/shell/KeyValueListModel.h"

#include <QImage>
#include <QMutex>
#include <QObject>
#include <QThreadPool>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <optional>

class AppContext;
struct PickedPhoto;

// "Imbas MyKad" and "Imbas Plat": a picture taken as "Imbas Gambar" takes one (the camera, or on a phone
// without one the pictures of the scan folder to choose from), read on a worker under the progress
// overlay, and the reading handed to the form. The picture is neither kept nor sent anywhere.
class PictureScan : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("a form's picture reader")
    Q_PROPERTY(bool picturesShown READ picturesShown NOTIFY picturesChanged)
    Q_PROPERTY(QString picturesNote READ picturesNote NOTIFY picturesChanged)
    Q_PROPERTY(KeyValueListModel* pictures READ pictures CONSTANT)
public:
    enum class Kind { Card, Plate };
    struct Reading {
        CardReading card;
        PlateReading plate;
    };
    using Read = std::function<void(const Reading&)>;

    PictureScan(Kind kind, Read read, QObject* parent = nullptr);
    ~PictureScan() override;

    void setContext(AppContext* context) { context_ = context; }
    bool picturesShown() const { return picturesShown_; }
    QString picturesNote() const { return picturesNote_; }
    KeyValueListModel* pictures() { return &pictures_; }

    // The button: the camera where there is one, the scan folder's pictures otherwise.
    void start();
    // A picture of the list chosen.
    Q_INVOKABLE void pictureChosen(int row);
    // The list closed without a choice.
    Q_INVOKABLE void cancel();

    // What is said when nothing usable was read.
    static QString unreadable() { return QStringLiteral("Maklumat tidak dapat dibaca. Sila taip."); }

Q_SIGNALS:
    void picturesChanged();

private:
    void read(std::function<QImage()> picture);
    void deliver();

    Kind kind_;
    Read onRead_;
    AppContext* context_ = nullptr;
    KeyValueListModel pictures_;
    bool picturesShown_ = false;
    QString picturesNote_;
    bool busy_ = false;
    QMutex doneLock_;
    std::optional<Reading> done_;
    // Last: the worker is waited for before anything it touches goes.
    QThreadPool worker_;
};

#pragma once

#include "core/Record.h"
#include "platform/PhotoLibrary.h"
#include "screens/shell/AppContext.h"
#include "screens/shell/NavigationStack.h"
#include "screens/shell/ScreenController.h"

#include <QMutex>
#include <QObject>
#include <QThreadPool>
#include <QtQml/qqmlregistration.h>
#include <memory>
#include <optional>

// The location form's photographs: the source choice "Sila Pilih", the picked picture made into a
// photo entry and added to the compound being issued, and the way to the photo list. Making the entry
// of a phone's photograph takes longer than a tap may (decoding, two JPEG encodes), so it runs on a
// worker under the progress overlay, one picture at a time, and the entries join in the order taken.
class PhotoPickerController : public ScreenController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    // The source the shift's photographs come from once chosen ("Galeri" or "Kamera"); empty before.
    Q_PROPERTY(QString sourceName READ sourceName NOTIFY sourceChanged)
public:
    // The buttons of the source choice, as the officer reads them.
    enum SheetButton { GaleriGambar = 0, Kamera = 1, Batal = 2 };
    Q_ENUM(SheetButton)

    explicit PhotoPickerController(QObject* parent = nullptr);
    ~PhotoPickerController() override;

    bool busy() const { return inFlight_ > 0; }

    // The photo picture tapped: the source chosen earlier in the shift opens at once; the first time,
    // the source choice (not in preview mode).
    Q_INVOKABLE void keluarkamera();
    // The source choice again, to change the source kept for the shift.
    Q_INVOKABLE void chooseSource();
    QString sourceName() const;
    // A button of the source choice: a source opens only where the phone has it; otherwise the officer
    // is told why nothing opened.
    Q_INVOKABLE void actionSheetClickedButtonAtIndex(int index);
    static QString unavailableMessage(int index);
    // The picker handed back a picture.
    void imagePickerControllerDidFinishPickingImage(const PickedPhoto& photo);
    // The photo count button: the photo list.
    Q_INVOKABLE void openEditGmabar();
    // What the officer is told when a picked picture is refused.
    static QString failureText(PickedPhoto::Failure failure);

Q_SIGNALS:
    void busyChanged();
    void sourceChanged();
    // The issuing list changed or the picker went away: the form counts its photographs again.
    void photosChanged();

private:
    struct Made {
        std::optional<PhotoEntry> entry;
        QString name;
        PickedPhoto::Failure failure = PickedPhoto::Failure::None;
        bool albumFailed = false; // kept with the compound, but the phone's album copy was not written
    };
    void deliver();

    int inFlight_ = 0;
    QMutex madeLock_;
    QList<Made> made_;
    // One worker thread: pictures are made one after another, in the order picked.
    QThreadPool worker_;
};

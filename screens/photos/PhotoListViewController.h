// PhotoListViewController: ImageEditViewController in older notes.
#pragma once

#include "screens/shell/AppContext.h"
#include "screens/shell/KeyValueListModel.h"
#include "screens/shell/NavigationStack.h"
#include "screens/shell/ScreenController.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// "Senarai Gambar": the photographs of the compound in view, one row each with its thumbnail, titled
// "Gambar Kesalahan". A row swiped away deletes its photograph, except in preview mode, where a stored
// compound's photographs are only shown; a tapped row opens the photograph whole.
class PhotoListViewController : public ScreenController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(KeyValueListModel* model READ model CONSTANT)
    Q_PROPERTY(bool editable READ editable NOTIFY reloaded)
public:
    explicit PhotoListViewController(QObject* parent = nullptr);

    KeyValueListModel* model() { return &model_; }
    bool editable() const { return editable_; }

    // Each time the list shows: drawn again from getImageArray.
    Q_INVOKABLE void viewWillAppear();
    // A swiped row's delete: false (and nothing changes) in preview mode or for no such row.
    Q_INVOKABLE bool commitEditingStyleForRow(int row);
    // A tapped row: the photo viewer with that photograph.
    Q_INVOKABLE void didSelectRow(int row);

Q_SIGNALS:
    void reloaded();

private:
    void reload();

    KeyValueListModel model_;
    bool editable_ = false;
    int generation_ = 0;
};

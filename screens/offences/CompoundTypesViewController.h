// CompoundTypesViewController: FirstViewController in older notes.
#pragma once

#include "core/Record.h"
#include "screens/shell/KeyValueListModel.h"
#include "screens/shell/ScreenController.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

class AppDelegate;

// "Jenis Kompaun": the compound types, the first list of issuing. Each time it shows, whatever was
// entered for an unprinted compound is dropped and a fresh record begins. A row is drawn with the picture
// of its position, and its position also decides the traffic flag and the record's traffic mark.
class CompoundTypesViewController : public ScreenController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(KeyValueListModel* model READ model CONSTANT)
public:
    explicit CompoundTypesViewController(QObject* parent = nullptr);

    KeyValueListModel* model() { return &model_; }

    // The picture of a row by its position; rows past the sixth have none.
    static QString pictureFor(int row);

    // The traffic marks of a compound type by its row: only the first row issues the traffic notice (the
    // flag); the first two both carry the traffic mark in the record. -1: a type not in the menu.
    static void markTraffic(AppDelegate& app, int row);
    // Whether a record's notice is the traffic one, decided as choosing its type decided it: by the type's
    // row. A type no longer in the menu goes by the record's traffic mark.
    static bool trafficNotice(AppDelegate& app, const RecordMap& record);

    // Each time the screen comes to show: a fresh compound record.
    Q_INVOKABLE void viewWillAppear();
    // A compound type chosen: the traffic marks by position, the type into the record, its acts pushed.
    Q_INVOKABLE void select(int row);

private:
    void contextSet() override;
    KeyValueListModel model_;
};

#pragma once

#include <QList>
#include <QMap>
#include <QString>

#include <memory>

// A compound record: text keys to text values. Records are shared by reference so that the
// printed list's in-memory copy and the screen viewing it edit the very same object.
using RecordMap = QMap<QString, QString>;
using Record = std::shared_ptr<RecordMap>;

inline Record makeRecord(RecordMap values = {}) {
    return std::make_shared<RecordMap>(std::move(values));
}

// One evidence photograph: a 300 x 300 thumbnail and the full picture, both JPEG as Base64 text.
struct PhotoEntry {
    QString thumbnail;
    QString full;
    friend bool operator==(const PhotoEntry&, const PhotoEntry&) = default;
};
using PhotoList = QList<PhotoEntry>;

// One item of a pick list: the text shown and the code stored.
struct PickItem {
    QString label;
    QString code;
    friend bool operator==(const PickItem&, const PickItem&) = default;
};
using PickList = QList<PickItem>;

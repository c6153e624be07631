#pragma once

#include <QByteArray>
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

// One evidence photograph: a 300 x 300 thumbnail and the full picture, both JPEG as Base64 text, as the
// screens and an old store's file hold them. A photograph the picker made also carries its JPEG bytes
// (the texts' very bytes), which the store keeps as they are, without decoding the texts again.
// Two entries are equal when their pictures are.
struct PhotoEntry {
    QString thumbnail;
    QString full;
    QByteArray thumbnailJpeg = {};
    QByteArray fullJpeg = {};
    friend bool operator==(const PhotoEntry& a, const PhotoEntry& b) {
        return a.thumbnail == b.thumbnail && a.full == b.full;
    }
};
using PhotoList = QList<PhotoEntry>;

// One item of a pick list: the text shown and the code stored.
struct PickItem {
    QString label;
    QString code;
    friend bool operator==(const PickItem&, const PickItem&) = default;
};
using PickList = QList<PickItem>;

#pragma once

#include "core/Record.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>

// The realistic records, the shipped header and the notice-sized streams the printing tests share.
inline Record recordFromJson(const QString& name) {
    const QJsonObject o =
        QJsonDocument::fromJson(
            testsupport::readFile(testsupport::sourcePath(QStringLiteral("tests/printing/records/") + name)))
            .object();
    RecordMap values;
    for (auto it = o.begin(); it != o.end(); ++it)
        values.insert(it.key(), it.value().toString());
    return makeRecord(values);
}

inline QString headerPath() {
    return testsupport::sourcePath(QStringLiteral("resources/printheader.bmp"));
}
inline QImage shippedHeader() {
    return QImage(headerPath());
}
inline const QString kBaseUrl = QStringLiteral("https://enquiry.mptelukmerbau.gov.my");

// A notice-sized stream whose every byte says where it belongs, so a gap, a repeat or a swap shows.
inline QByteArray numbered(int size, int seed = 0) {
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 7 + seed) & 0xff);
    return b;
}

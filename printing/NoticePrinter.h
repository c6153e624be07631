#pragma once

#include "core/Record.h"

#include <QDateTime>
#include <QImage>
#include <QMutex>
#include <QString>

class Log;
class WSSessionController;

// Prints the notices through the session: composes the blocks and writes each as one write, in order.
class NoticePrinter {
public:
    // headerPath: the shipped "printheader" bitmap; baseUrl: the web service base for the QR look-up address.
    NoticePrinter(QString headerPath, QString baseUrl, Log* log = nullptr);

    // The compiled-in web service base, used when the configuration names none.
    static QString defaultBaseUrl();

    // Each returns the notice's number for the session's noticeFinished (written or failed), which the
    // printing flow waits on before it tells the officer the notice is printed; 0 without a session.
    int cetakSamanBaruNewSDK(WSSessionController* session, const Record& record) const;
    int cetakSamanTrafficNewSdk(WSSessionController* session, const Record& record) const;
    // The traffic notice for traffic compounds, the general one otherwise.
    int cetakSaman(WSSessionController* session, const Record& record, bool traffic) const;
    void printSampleNewSDK(WSSessionController* session) const;

    // The bytes a notice sends, in one piece: for previews, --out and tests.
    QByteArray noticeBytes(const Record& record, bool traffic) const;

    QImage header() const;
    const QString& baseUrl() const { return baseUrl_; }

private:
    QString headerPath_;
    QString baseUrl_;
    Log* log_;
    mutable QMutex headerLock_;
    mutable QImage headerImage_;
    mutable QDateTime headerModified_;
    mutable qint64 headerSize_ = -1;
};

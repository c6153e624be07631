#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class WSSessionController;

// The hand-over slip at the end of a shift: who, which phone, which day, the totals by compound type, what
// was cancelled or could not be summed, what waits for upload, and every compound number of the day.
// Plain text on the 92-column receipt, so the slip reads the same on paper and in the emulator's picture.
namespace HandOverSlip {

struct TypeLine {
    QString type;
    int count = 0;
    QString kadar;   // "150.30"
    QString tawaran; // "75.00"
};

// Everything the slip prints, already as text.
struct Content {
    QString officerName;
    QString officerCode;
    QString deviceCode;
    QString day;       // "dd/MM/yyyy"
    QString printedAt; // "dd/MM/yyyy HH:mm", Kuala Lumpur
    int issued = 0;
    int inForce = 0;
    QList<TypeLine> types;
    QString kadarTotal;
    QString tawaranTotal;
    int cancelled = 0;
    QStringList unreadable; // one line each: number, key and the text as stored
    int waiting = 0;
    QString oldestWaiting; // empty when nothing waits
    int photos = 0;
    QStringList numbers; // in order; a cancelled one marked
};

// The slip as the blocks written to the printer, one write each.
QList<QByteArray> blocks(const Content& content);
// Writes the slip and marks it as one notice: the number noticeFinished reports it under, 0 without a
// session.
int print(WSSessionController* session, const Content& content);

} // namespace HandOverSlip

#pragma once

#include <QSet>
#include <QString>

// The upload flag of a stored compound, as this application writes it:
//   "0"                 waiting: the compound has not been accepted yet;
//   "0;gambar=1,3"      the compound was accepted, and of its photographs those at positions 1 and 3;
//                       the others are still to send. "0;gambar=" when none is accepted yet;
//   "0;batal;gambar=1"  as above, and the council has had the compound with its cancellation
//                       (`status_batal` "1"); a compound cancelled after it was accepted is sent again
//                       until this is so;
//   "1"                 uploaded: the compound and all its photographs were accepted.
// Every reader of the store takes the flag's leading digits as its value, so an entry with photographs
// still to send reads as 0, waiting, to this and to earlier versions alike, and is never purged.
struct UploadFlag {
    bool uploaded = false;
    bool compoundAccepted = false;
    bool cancellationAccepted = false;
    QSet<int> acceptedPhotos; // 1-based positions in the entry's photo list

    static UploadFlag parse(const QString& text);
    // Whether the compound request is (still) to be sent, for a compound whose record is cancelled or not.
    bool compoundToSend(bool cancelled) const {
        return !compoundAccepted || (cancelled && !cancellationAccepted);
    }
    QString text() const;
};

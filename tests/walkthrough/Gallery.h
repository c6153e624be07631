#pragma once

#include "core/Record.h"

#include <QImage>
#include <QString>
#include <QStringList>

class Walkthrough;

// The phone's gallery the walkthrough picks from: given photographs (KOMPAUN_WALKTHROUGH_PHOTOS) copied
// in, never written where they are, else its own: a wide street scene, a tall one stored sideways as a
// phone keeps a portrait photograph, another wide one; and always a damaged file.
struct Gallery {
    QString folder;
    QString wide, tall, another, damaged;

    static Gallery fill(Walkthrough& w, const QString& folder);
    // A picture of the gallery as the officer saw it: its orientation applied.
    QImage upright(const QString& name) const;
    // Each entry is exactly what its picture gives: the centre crop at 300 x 300 and the picture itself
    // at its own size, both JPEG at quality 50, in standard Base64 on one line. Empty when all hold.
    QString entriesProblem(const PhotoList& entries, const QStringList& names) const;
};

// Attaches one gallery picture to the compound on the location form, through the window: the picture,
// "Galeri Gambar", the picture's row; returns once it has been read in.
void attachFromGallery(Walkthrough& w, const QString& name);

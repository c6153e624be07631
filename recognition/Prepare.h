#pragma once

#include <QImage>
#include <QRect>

// Getting a photograph ready for the engine: grey, no larger than the text needs, upright, cropped to
// what is read, black text on white.
namespace Prepare {

// The picture in grey, its longer side at most maxSide pixels.
QImage grey(const QImage& picture, int maxSide);

// The angle (degrees, within +-limit) the picture's lines of text lean by: the angle whose row profile
// of dark strokes is sharpest. Text may be dark on light or light on dark.
double skew(const QImage& grey, double limit = 8.0);

// The grey picture turned by -degrees about its centre, the uncovered corners filled with its median.
QImage straightened(const QImage& grey, double degrees);

// Black strokes on white by a local (Sauvola) threshold; with inverted, light strokes become the
// black ones (a plate's white letters on black).
QImage binarised(const QImage& grey, bool inverted = false);

// The part of the picture where strokes are dense, padded by margin pixels: a card or plate on a
// plainer background. The whole picture when nothing stands out.
QRect inkArea(const QImage& binary, int margin);

// The largest pale, plain area of the picture (an identity card on a table), in the picture's pixels;
// the whole picture when none covers a tenth of it.
QRect paleArea(const QImage& picture);

// Where rows of three or more letters of one size stand (a plate's among them), each with the row
// stacked directly above or below it, padded by half a letter: the tallest letters first, at most most.
QList<QRect> letterRows(const QImage& binary, int most);

// Where an identity card's number stands: the tallest row of ten to sixteen marks of one height (its
// digits; the dashes are too small to count). Empty when there is none.
QRect numberRow(const QImage& binary);

// The letters of an area alone: its blobs of the letters' common height kept, everything else (a
// plate's border, bolts, dirt) made white.
struct Letters {
    QImage image;   // the area's size
    QRect tight;    // the letters' own box in the binary picture, padded a little
    int height = 0; // their common height
    // The kept marks, in the binary picture: each one letter, or bold letters run together.
    QList<QRect> marks;
};
// The fewest letters the marks inside an area of the picture can be: one a mark, two where bold
// letters ran together.
int fewestLetters(const Letters& letters, const QRect& area);
Letters lettersOnly(const QImage& binary, const QRect& area);

} // namespace Prepare

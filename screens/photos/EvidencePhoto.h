#pragma once

#include "core/Record.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

class Log;

// What becomes of a picked picture before it joins the compound: a 300 x 300 thumbnail cut from its
// middle, both pictures as JPEG at quality 50, both as standard Base64 text without line breaks.
namespace EvidencePhoto {

constexpr int thumbnailSide = 300;
constexpr int jpegQuality = 50;

// The picture scaled by the larger of the two factors that make it cover the target, centred on the
// other axis, and cut to the target; a picture of the target's size unchanged. Null (and a line in the
// log) when there is nothing to scale.
QImage imageByScalingAndCroppingForSize(const QSize& target, const QImage& source, Log* log = nullptr);

// JPEG bytes at the given quality (0 to 100); empty when the picture cannot be encoded.
QByteArray jpeg(const QImage& image, int quality = jpegQuality);

// The photo entry of a decoded picture; none when the picture is null or cannot be encoded.
std::optional<PhotoEntry> entryFor(const QImage& image, Log* log = nullptr);

// A picture of an entry; with a bound, decoded no larger than needed to fill it. Null when the text
// does not decode.
QImage decode(const QString& base64, const QSize& bound = {});
// The size of the picture an entry's text holds, without decoding it; empty when it does not read.
QSize sizeOf(const QString& base64);

} // namespace EvidencePhoto

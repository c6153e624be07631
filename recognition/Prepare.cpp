#include "recognition/Prepare.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <vector>

namespace Prepare {

QImage grey(const QImage& picture, int maxSide) {
    QImage image = picture;
    if (std::max(image.width(), image.height()) > maxSide)
        image = image.scaled(maxSide, maxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_Grayscale8);
}

namespace {

// Points of the strokes of a small copy: the pixels much darker (or lighter) than their neighbourhood.
std::vector<QPointF> strokePoints(const QImage& grey) {
    const QImage small = grey.width() > 480 ? grey.scaledToWidth(480, Qt::SmoothTransformation) : grey;
    const QImage dark = binarised(small, false);
    const QImage light = binarised(small, true);
    // The strokes are the minority: on a plate the letters are the light pixels.
    const auto count = [](const QImage& binary) {
        qint64 black = 0;
        for (int y = 0; y < binary.height(); ++y) {
            const uchar* row = binary.constScanLine(y);
            for (int x = 0; x < binary.width(); ++x)
                black += row[x] == 0;
        }
        return black;
    };
    const QImage& strokes = count(dark) <= count(light) ? dark : light;
    std::vector<QPointF> points;
    const double cx = strokes.width() / 2.0;
    const double cy = strokes.height() / 2.0;
    for (int y = 0; y < strokes.height(); ++y) {
        const uchar* row = strokes.constScanLine(y);
        for (int x = 0; x < strokes.width(); ++x)
            if (row[x] == 0)
                points.emplace_back(x - cx, y - cy);
    }
    return points;
}

double sharpness(const std::vector<QPointF>& points, double degrees, int span) {
    const double radians = degrees * M_PI / 180.0;
    const double s = std::sin(radians);
    const double c = std::cos(radians);
    std::vector<int> rows(2 * span + 1, 0);
    for (const QPointF& p : points) {
        const int y = static_cast<int>(std::lround(p.y() * c - p.x() * s)) + span;
        if (y >= 0 && y < static_cast<int>(rows.size()))
            ++rows[y];
    }
    double sum = 0;
    for (int n : rows)
        sum += static_cast<double>(n) * n;
    return sum;
}

} // namespace

double skew(const QImage& grey, double limit) {
    const std::vector<QPointF> points = strokePoints(grey);
    if (points.empty())
        return 0;
    const int span = std::min(grey.width(), 480) + std::min(grey.height(), 480);
    double best = 0;
    double bestScore = -1;
    for (double angle = -limit; angle <= limit + 1e-9; angle += 0.5) {
        const double score = sharpness(points, angle, span);
        if (score > bestScore) {
            bestScore = score;
            best = angle;
        }
    }
    const double coarse = best;
    for (double angle = coarse - 0.4; angle <= coarse + 0.4 + 1e-9; angle += 0.1) {
        const double score = sharpness(points, angle, span);
        if (score > bestScore) {
            bestScore = score;
            best = angle;
        }
    }
    return best;
}

QImage straightened(const QImage& grey, double degrees) {
    if (std::abs(degrees) < 0.05)
        return grey;
    std::vector<int> histogram(256, 0);
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            ++histogram[row[x]];
    }
    int median = 0;
    for (qint64 seen = 0; median < 255; ++median) {
        seen += histogram[median];
        if (seen * 2 >= static_cast<qint64>(grey.width()) * grey.height())
            break;
    }
    QImage out(grey.size(), QImage::Format_Grayscale8);
    out.fill(QColor(median, median, median));
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(grey.width() / 2.0, grey.height() / 2.0);
    painter.rotate(-degrees);
    painter.translate(-grey.width() / 2.0, -grey.height() / 2.0);
    painter.drawImage(0, 0, grey);
    painter.end();
    return out;
}

QImage binarised(const QImage& grey, bool inverted) {
    const int w = grey.width();
    const int h = grey.height();
    // Integral images of the values and their squares.
    std::vector<double> sum(static_cast<size_t>(w + 1) * (h + 1), 0.0);
    std::vector<double> squares(sum.size(), 0.0);
    for (int y = 0; y < h; ++y) {
        const uchar* row = grey.constScanLine(y);
        double rowSum = 0;
        double rowSquares = 0;
        for (int x = 0; x < w; ++x) {
            const double v = inverted ? 255 - row[x] : row[x];
            rowSum += v;
            rowSquares += v * v;
            const size_t at = static_cast<size_t>(y + 1) * (w + 1) + x + 1;
            sum[at] = sum[at - (w + 1)] + rowSum;
            squares[at] = squares[at - (w + 1)] + rowSquares;
        }
    }
    const int radius = std::max(8, std::min(w, h) / 20);
    QImage out(w, h, QImage::Format_Grayscale8);
    for (int y = 0; y < h; ++y) {
        const uchar* in = grey.constScanLine(y);
        uchar* row = out.scanLine(y);
        const int y0 = std::max(0, y - radius);
        const int y1 = std::min(h, y + radius + 1);
        for (int x = 0; x < w; ++x) {
            const int x0 = std::max(0, x - radius);
            const int x1 = std::min(w, x + radius + 1);
            const double n = static_cast<double>(x1 - x0) * (y1 - y0);
            const auto area = [&](const std::vector<double>& t) {
                return t[static_cast<size_t>(y1) * (w + 1) + x1] - t[static_cast<size_t>(y0) * (w + 1) + x1] -
                       t[static_cast<size_t>(y1) * (w + 1) + x0] + t[static_cast<size_t>(y0) * (w + 1) + x0];
            };
            const double mean = area(sum) / n;
            const double deviation = std::sqrt(std::max(0.0, area(squares) / n - mean * mean));
            const double threshold = mean * (1.0 + 0.2 * (deviation / 128.0 - 1.0));
            const double v = inverted ? 255 - in[x] : in[x];
            row[x] = v < threshold && deviation > 12 ? 0 : 255;
        }
    }
    return out;
}

QRect inkArea(const QImage& binary, int margin) {
    const int w = binary.width();
    const int h = binary.height();
    std::vector<int> columns(w, 0);
    std::vector<int> rows(h, 0);
    for (int y = 0; y < h; ++y) {
        const uchar* row = binary.constScanLine(y);
        for (int x = 0; x < w; ++x)
            if (row[x] == 0) {
                ++columns[x];
                ++rows[y];
            }
    }
    const auto span = [](const std::vector<int>& counts) {
        const int peak = *std::max_element(counts.begin(), counts.end());
        int first = 0;
        int last = static_cast<int>(counts.size()) - 1;
        while (first < last && counts[first] < peak / 10)
            ++first;
        while (last > first && counts[last] < peak / 10)
            --last;
        return std::make_pair(first, last);
    };
    if (w == 0 || h == 0)
        return {};
    const auto [left, right] = span(columns);
    const auto [top, bottom] = span(rows);
    return QRect(QPoint(left, top), QPoint(right, bottom)).adjusted(-margin, -margin, margin, margin) &
           binary.rect();
}

namespace {

// Connected components (4-neighbour) of the pixels marked in a mask: their bounding boxes and sizes.
struct Blob {
    QRect box;
    int pixels = 0;
};

std::vector<Blob> blobs(const std::vector<uchar>& mask, int w, int h) {
    std::vector<Blob> found;
    std::vector<uchar> seen(mask.size(), 0);
    std::vector<int> stack;
    for (int start = 0; start < w * h; ++start) {
        if (!mask[start] || seen[start])
            continue;
        Blob blob;
        int left = w, right = 0, top = h, bottom = 0;
        stack.push_back(start);
        seen[start] = 1;
        while (!stack.empty()) {
            const int at = stack.back();
            stack.pop_back();
            const int x = at % w;
            const int y = at / w;
            ++blob.pixels;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            const int next[4] = {x > 0 ? at - 1 : -1, x + 1 < w ? at + 1 : -1, y > 0 ? at - w : -1,
                                 y + 1 < h ? at + w : -1};
            for (int n : next)
                if (n >= 0 && mask[n] && !seen[n]) {
                    seen[n] = 1;
                    stack.push_back(n);
                }
        }
        blob.box = QRect(QPoint(left, top), QPoint(right, bottom));
        found.push_back(blob);
    }
    return found;
}

} // namespace

QRect paleArea(const QImage& picture) {
    const int w = 200;
    const QImage small =
        picture.scaledToWidth(w, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
    const int h = small.height();
    std::vector<uchar> mask(static_cast<size_t>(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(small.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QColor c = QColor::fromRgb(row[x]);
            mask[static_cast<size_t>(y) * w + x] = c.value() > 170 && c.hsvSaturation() < 80;
        }
    }
    Blob best;
    for (const Blob& blob : blobs(mask, w, h))
        if (blob.pixels > best.pixels)
            best = blob;
    if (best.pixels * 10 < w * h)
        return picture.rect();
    const double scale = static_cast<double>(picture.width()) / w;
    const QRect box(
        static_cast<int>((best.box.left() - 2) * scale), static_cast<int>((best.box.top() - 2) * scale),
        static_cast<int>((best.box.width() + 4) * scale), static_cast<int>((best.box.height() + 4) * scale));
    return box & picture.rect();
}

namespace {

// Rows of letter-like marks of about one height, side by side and close together: each row's box and
// how many marks it holds.
struct Row {
    QRect box;
    int marks = 0;
};

// Marks run together: not taken; taken as two letters (a plate's bold "AA" above its number); or taken as
// as many as their width holds (a card's bold digits, about 0.6 of their height wide each).
enum class Joined { No, Pairs, ByWidth };
std::vector<Row> rowsOfMarks(const QImage& binary, Joined joined) {
    const int w = binary.width();
    const int h = binary.height();
    std::vector<uchar> mask(static_cast<size_t>(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        const uchar* row = binary.constScanLine(y);
        for (int x = 0; x < w; ++x)
            mask[static_cast<size_t>(y) * w + x] = row[x] == 0;
    }
    // Letter-like blobs: taller than wide (or about square), a fair share of their box inked.
    std::vector<Blob> marks;
    std::vector<int> weight;
    for (const Blob& blob : blobs(mask, w, h)) {
        const QRect& b = blob.box;
        const double fill = static_cast<double>(blob.pixels) / (b.width() * b.height());
        if (b.height() < 12 || b.height() > h / 3 || b.width() < b.height() / 8 || fill <= 0.15 ||
            fill >= 0.9)
            continue;
        if (b.width() <= b.height() * 1.6) {
            marks.push_back(blob);
            weight.push_back(1);
        } else if (joined != Joined::No && fill >= 0.3 &&
                   b.width() <= b.height() * (joined == Joined::Pairs ? 3.2 : 4.5)) {
            marks.push_back(blob);
            weight.push_back(
                joined == Joined::Pairs
                    ? 2
                    : std::max(2, static_cast<int>(std::lround(b.width() / (0.6 * b.height())))));
        }
    }
    // Rows: letters of about one height, side by side on one line, close together.
    const int n = static_cast<int>(marks.size());
    std::vector<int> parent(n);
    for (int i = 0; i < n; ++i)
        parent[i] = i;
    const auto root = [&](int i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j) {
            const QRect& a = marks[i].box;
            const QRect& b = marks[j].box;
            const int height = std::max(a.height(), b.height());
            if (std::abs(a.height() - b.height()) * 4 > height ||
                std::abs(a.center().y() - b.center().y()) * 3 > height)
                continue;
            const int gap = std::max(a.left(), b.left()) - std::min(a.right(), b.right());
            if (gap < height * 1.6)
                parent[root(i)] = root(j);
        }
    std::vector<int> size(n, 0);
    std::vector<QRect> box(n);
    for (int i = 0; i < n; ++i) {
        size[root(i)] += weight[i];
        box[root(i)] = box[root(i)].united(marks[i].box);
    }
    std::vector<Row> rows;
    for (int i = 0; i < n; ++i)
        if (parent[i] == i)
            rows.push_back({box[i], size[i]});
    return rows;
}

} // namespace

QList<QRect> letterRows(const QImage& binary, int most) {
    const std::vector<Row> all = rowsOfMarks(binary, Joined::Pairs);
    const int n = static_cast<int>(all.size());
    std::vector<int> size(n);
    std::vector<QRect> box(n);
    for (int i = 0; i < n; ++i) {
        size[i] = all[i].marks;
        box[i] = all[i].box;
    }
    // Rows of three or more letters, the tallest first: a plate's letters are the largest in its picture.
    std::vector<int> rows;
    for (int i = 0; i < n; ++i)
        if (size[i] >= 3)
            rows.push_back(i);
    std::sort(rows.begin(), rows.end(), [&](int a, int b) { return box[a].height() > box[b].height(); });
    QList<QRect> found;
    for (const int row : rows) {
        if (found.size() >= most)
            break;
        QRect area = box[row];
        // A two-row plate: a row of the same height just above or below, over the same width.
        for (int i = 0; i < n; ++i) {
            if (i == row)
                continue;
            const QRect& other = box[i];
            if (std::abs(other.height() - area.height()) * 4 > area.height() || other.right() < area.left() ||
                other.left() > area.right())
                continue;
            const int gap = std::max(other.top(), area.top()) - std::min(other.bottom(), area.bottom());
            if (gap > 0 && gap < area.height())
                area = area.united(other);
        }
        // Sideways further: a letter the row missed (run into the plate's edge, or past a wide space)
        // is still in the picture read.
        const int pad = box[row].height() / 2;
        const int side = box[row].height() * 4;
        found.append(area.adjusted(-side, -pad, side, pad) & binary.rect());
    }
    return found;
}

QRect numberRow(const QImage& binary) {
    QRect best;
    for (const Row& row : rowsOfMarks(binary, Joined::ByWidth))
        if (row.marks >= 10 && row.marks <= 16 && row.box.width() >= 5 * row.box.height() &&
            row.box.height() > best.height())
            best = row.box;
    return best;
}

Letters lettersOnly(const QImage& binary, const QRect& area) {
    const QImage crop = binary.copy(area);
    const int w = crop.width();
    const int h = crop.height();
    std::vector<uchar> mask(static_cast<size_t>(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        const uchar* row = crop.constScanLine(y);
        for (int x = 0; x < w; ++x)
            mask[static_cast<size_t>(y) * w + x] = row[x] == 0;
    }
    const std::vector<Blob> all = blobs(mask, w, h);
    std::vector<int> heights;
    for (const Blob& blob : all)
        if (blob.box.height() >= 8 && blob.box.width() <= blob.box.height() * 1.8 && blob.box.left() > 0 &&
            blob.box.top() > 0 && blob.box.right() < w - 1 && blob.box.bottom() < h - 1)
            heights.push_back(blob.box.height());
    Letters found;
    found.image = QImage(w, h, QImage::Format_Grayscale8);
    found.image.fill(255);
    found.tight = area;
    if (heights.empty())
        return found;
    std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
    const int common = heights[heights.size() / 2];
    found.height = common;
    // A letter, or bold letters run together (a few side by side, well inked): a border's piece of
    // the same height is a thin line, mostly empty.
    const auto letterLike = [&](const Blob& blob) {
        const QRect& b = blob.box;
        if (b.height() < common * 0.6 || b.height() > common * 1.4)
            return false;
        if (b.width() <= b.height() * 1.8)
            return true;
        return b.width() <= b.height() * 4.5 && blob.pixels >= 0.3 * b.width() * b.height();
    };
    QRect letters;
    for (const Blob& blob : all)
        if (letterLike(blob)) {
            letters = letters.united(blob.box);
            found.marks.append(blob.box.translated(area.topLeft()));
        }
    // Every inked pixel inside a kept letter's box stays (a letter's separate parts too).
    for (const Blob& blob : all) {
        if (!letters.contains(blob.box) || blob.box.height() > common * 1.4 ||
            (blob.box.width() > common * 1.8 && !letterLike(blob)))
            continue;
        for (int y = blob.box.top(); y <= blob.box.bottom(); ++y) {
            const uchar* in = crop.constScanLine(y);
            uchar* out = found.image.scanLine(y);
            for (int x = blob.box.left(); x <= blob.box.right(); ++x)
                if (in[x] == 0)
                    out[x] = 0;
        }
    }
    const int pad = std::max(3, common / 4);
    found.tight = letters.translated(area.topLeft()).adjusted(-pad, -pad, pad, pad) & binary.rect();
    return found;
}

int fewestLetters(const Letters& letters, const QRect& area) {
    int fewest = 0;
    for (const QRect& mark : letters.marks)
        if (area.contains(mark.center()))
            fewest += mark.width() > mark.height() * 1.8 ? 2 : 1;
    return fewest;
}

} // namespace Prepare

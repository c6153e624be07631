#include "recognition/TesseractReader.h"

#include "recognition/Prepare.h"
#include "recognition/Validation.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <algorithm>

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

namespace {

// Larger pictures only cost time: a card filling the frame has its number some 40 pixels high at this size.
constexpr int kCardSide = 1200;
constexpr int kPlateSide = 1000;
// The space belongs in each set: without it the engine runs words together and gives no confidence.
const QString kDigits = QStringLiteral("0123456789- ");
const QString kPlateLetters = QStringLiteral("ABCDEFGHJKLMNPQRSTUVWXYZ0123456789 ");
// A name's letters, as the registration department prints them.
const QString kNameLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ '@/.-");

QRect padded(const QRect& box, const QImage& image) {
    const int pad = std::max(4, box.height() / 3);
    return box.adjusted(-pad, -pad, pad, pad) & image.rect();
}

// The picture scaled by factor (not at all when it is about 1).
QImage scaledBy(const QImage& image, double factor) {
    if (std::abs(factor - 1.0) < 0.05)
        return image;
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

TesseractReader::TesseractReader(QString dataDir, std::function<QDate()> today)
    : dataDir_(std::move(dataDir)), today_(std::move(today)) {
    if (!today_)
        today_ = [] { return QDate::currentDate(); };
}

TesseractReader::~TesseractReader() {
    for (const auto& api : {api_.get(), second_.get()})
        if (api)
            api->End();
}

QString TesseractReader::findDataDir() {
    QStringList places;
    const QString prefix = qEnvironmentVariable("TESSDATA_PREFIX");
    if (!prefix.isEmpty())
        places << prefix << prefix + QStringLiteral("/tessdata");
    places << QStringLiteral("/usr/share/tesseract-ocr/5/tessdata")
           << QStringLiteral("/usr/share/tesseract-ocr/4.00/tessdata")
           << QStringLiteral("/usr/share/tessdata") << QStringLiteral("/usr/local/share/tessdata");
    for (const QString& place : places)
        if (QFileInfo::exists(place + QStringLiteral("/eng.traineddata")))
            return QDir(place).absolutePath();
    return {};
}

namespace {

std::unique_ptr<tesseract::TessBaseAPI> engine(const QString& dataDir, const char* language) {
    // The image library's own complaints (a box clipped at the picture's edge) are no one's to read.
    setMsgSeverity(L_SEVERITY_NONE);
    auto api = std::make_unique<tesseract::TessBaseAPI>();
    // No dictionary: names and plates are not words, and a dictionary only bends them toward some.
    std::vector<std::string> names{"load_system_dawg", "load_freq_dawg", "debug_file"};
    std::vector<std::string> values{"0", "0", "/dev/null"};
    const QByteArray dir = QFile::encodeName(dataDir);
    if (dataDir.isEmpty() ||
        !QFileInfo::exists(dataDir + u'/' + QLatin1String(language) + QStringLiteral(".traineddata")) ||
        api->Init(dir.constData(), language, tesseract::OEM_LSTM_ONLY, nullptr, 0, &names, &values, false) !=
            0)
        return {};
    return api;
}

} // namespace

bool TesseractReader::load() {
    if (api_)
        return true;
    if (failed_)
        return false;
    if (dataDir_.isEmpty())
        dataDir_ = findDataDir();
    api_ = engine(dataDir_, "eng");
    failed_ = !api_;
    return !failed_;
}

tesseract::TessBaseAPI* TesseractReader::second() {
    if (!second_ && !secondFailed_) {
        second_ = engine(dataDir_, "msa");
        secondFailed_ = !second_;
    }
    return second_.get();
}

bool TesseractReader::ready() {
    std::lock_guard lock(mutex_);
    return load();
}

QList<ReadLine> TesseractReader::run(tesseract::TessBaseAPI* engine, const QImage& binary, int segmentation,
                                     const QString& characters) {
    QList<ReadLine> lines;
    if (!engine || binary.isNull() || binary.width() < 8 || binary.height() < 8)
        return lines;
    tesseract::TessBaseAPI& api = *engine;
    api.SetPageSegMode(static_cast<tesseract::PageSegMode>(segmentation));
    api.SetVariable("tessedit_char_whitelist", characters.toLatin1().constData());
    api.SetImage(binary.constBits(), binary.width(), binary.height(), 1,
                 static_cast<int>(binary.bytesPerLine()));
    api.SetSourceResolution(300);
    if (api.Recognize(nullptr) != 0) {
        api.Clear();
        return lines;
    }
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (it) {
        bool lineStarts = true;
        do {
            if (it->Empty(tesseract::RIL_WORD))
                continue;
            lineStarts = lineStarts || it->IsAtBeginningOf(tesseract::RIL_TEXTLINE);
            std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_WORD));
            const QString word = text ? QString::fromUtf8(text.get()).trimmed() : QString();
            if (word.isEmpty())
                continue;
            if (lines.isEmpty() || lineStarts)
                lines.append(ReadLine{});
            lineStarts = false;
            int left = 0, top = 0, right = 0, bottom = 0;
            it->BoundingBox(tesseract::RIL_WORD, &left, &top, &right, &bottom);
            lines.last().words.append(ReadWord{word, it->Confidence(tesseract::RIL_WORD),
                                               QRect(QPoint(left, top), QPoint(right - 1, bottom - 1))});
        } while (it->Next(tesseract::RIL_WORD));
    }
    api.Clear();
    return lines;
}

CardReading TesseractReader::readCard(const QImage& picture) {
    std::lock_guard lock(mutex_);
    CardReading reading;
    if (picture.isNull() || !load())
        return reading;
    // The card alone: the background's shapes and words only cost time and mislead the layout.
    const QImage grey = Prepare::grey(picture.copy(Prepare::paleArea(picture)), kCardSide);
    const QImage upright = Prepare::straightened(grey, Prepare::skew(grey));
    const QImage binary = Prepare::binarised(upright);
    // Most of the page's pass goes to what is never used (the heading, the photograph, the right-hand
    // column, the background): where the number's row is found, only the number and the column under
    // it are read, the whole page again only when that finds no number.
    QList<ReadLine> lines;
    const QRect band = Prepare::numberRow(binary);
    if (!band.isEmpty()) {
        const int pad = band.height();
        const QRect column =
            QRect(band.left() - pad, band.top() - pad, band.width() * 7 / 4 + 2 * pad, binary.height()) &
            binary.rect();
        lines = run(binary.copy(column), tesseract::PSM_AUTO, {});
        for (ReadLine& line : lines)
            for (ReadWord& word : line.words)
                word.box.translate(column.topLeft());
    }
    if (ReadText::identityLine(lines) < 0)
        lines = run(binary, tesseract::PSM_AUTO, {});
    // The number's row was found but no number read in it (a 0 read as @ among letters, thin strokes
    // lost to the threshold): the row alone, in digits only, stands in for its line when it reads as one.
    if (ReadText::identityLine(lines) < 0 && !band.isEmpty()) {
        const QImage row = scaledBy(upright.copy(padded(band, upright)),
                                    std::clamp(48.0 / std::max(1, band.height()), 0.5, 3.0));
        for (tesseract::TessBaseAPI* api : {api_.get(), second()}) {
            QList<ReadLine> read = run(api, row, tesseract::PSM_SINGLE_LINE, kDigits);
            if (read.size() != 1 || ReadText::identityLine(read) != 0)
                continue;
            for (ReadWord& word : read.first().words)
                word.box = band;
            const auto below = std::find_if(lines.begin(), lines.end(), [&](const ReadLine& line) {
                return line.box().top() > band.top();
            });
            lines.insert(below, read.first());
            break;
        }
    }
    lastLines_ = lines;
    const int numberLine = ReadText::identityLine(lines);
    if (numberLine < 0)
        return reading;
    QList<QRect> nameLines;
    reading = ReadText::cardParts(lines, numberLine, &nameLines);

    // The name again, each of its lines alone in a name's letters and enlarged: the whole page's pass
    // reads a slash, or an I at a word's end, with little confidence. Two confident reads that differ:
    // neither is written.
    QList<ReadLine> again;
    for (const QRect& line : nameLines) {
        const double enlarge = std::clamp(40.0 / std::max(1, line.height()), 0.5, 3.0);
        const QList<ReadLine> read = run(scaledBy(upright.copy(padded(line, upright)), enlarge),
                                         tesseract::PSM_SINGLE_LINE, kNameLetters);
        if (read.size() != 1)
            break;
        again.append(read.first());
    }
    const QString name = again.size() == nameLines.size() ? ReadText::name(again) : QString();
    if (!name.isEmpty() && !reading.name.isEmpty() && name != reading.name)
        reading.name.clear();
    else if (!name.isEmpty())
        reading.name = name;

    // The number again, alone, in digits only, from the grey picture enlarged to two letter sizes the
    // engine reads well (the binarised picture's strokes are what the page's pass already misread),
    // by both engines: the Malay data reads these digits surer. The number the confident reads give
    // is written when none gives another, or when at least two give it and those giving another are at
    // most half as many.
    const QRect box = padded(lines[numberLine].box(), binary);
    const int height = std::max(1, lines[numberLine].box().height());
    QMap<QString, int> votes;
    const auto consider = [&](const ReadLine& line) {
        const QString number = Validation::identityNumber(ReadText::identityText(line), today_());
        if (!number.isEmpty() && ReadText::identityConfidence(line) >= ReadText::kConfident)
            ++votes[number];
    };
    consider(lines[numberLine]);
    const QImage crop = upright.copy(box);
    for (tesseract::TessBaseAPI* api : {api_.get(), second()})
        for (const double letters : {48.0, 36.0})
            for (const ReadLine& line : run(api, scaledBy(crop, std::clamp(letters / height, 0.5, 3.0)),
                                            tesseract::PSM_SINGLE_LINE, kDigits))
                consider(line);
    int total = 0;
    QString best;
    for (auto vote = votes.cbegin(); vote != votes.cend(); ++vote) {
        total += vote.value();
        if (best.isEmpty() || vote.value() > votes.value(best))
            best = vote.key();
    }
    const int support = votes.value(best);
    if (support > 0 && (total == support || (support >= 2 && (total - support) * 2 <= support)))
        reading.icNumber = best;
    return reading;
}

PlateReading TesseractReader::readPlate(const QImage& picture) {
    std::lock_guard lock(mutex_);
    PlateReading reading;
    if (picture.isNull() || !load())
        return reading;
    const QImage grey = Prepare::grey(picture, kPlateSide);
    const QImage upright = Prepare::straightened(grey, Prepare::skew(grey));
    // Most plates are white on black, a taxi's black on white: rows of letters are looked for both
    // ways, and the tallest few read (grey and binarised, enlarged) until one is a plate read with
    // confidence. Two different plates read with confidence: neither is written.
    struct Candidate {
        QRect area;
        bool inverted;
        Prepare::Letters letters;
    };
    QList<Candidate> candidates;
    QImage binaries[2];
    for (const bool inverted : {true, false}) {
        binaries[inverted] = Prepare::binarised(upright, inverted);
        for (const QRect& area : Prepare::letterRows(binaries[inverted], 3)) {
            Prepare::Letters letters = Prepare::lettersOnly(binaries[inverted], area);
            // Marks far smaller than the row's letters (a patterned background): no plate, and enlarged
            // to a letter's size they would only cost the engine seconds.
            if (letters.height * 5 >= area.height())
                candidates.append({area, inverted, std::move(letters)});
        }
    }
    // The largest letters first: the plate is what the officer photographed.
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate& a, const Candidate& b) { return a.letters.height > b.letters.height; });
    // Three rows at most: a plate not among the largest three is too small in the picture to read.
    if (candidates.size() > 3)
        candidates.resize(3);
    lastLines_.clear();
    for (const Candidate& candidate : candidates) {
        // The first is read every way; the others (most often a background's print) only when the
        // first read sees a plate's shape in them, at any confidence.
        const bool every = &candidate == &candidates.first();
        bool shaped = false;
        const Prepare::Letters& letters = candidate.letters;
        QImage greyCrop = upright.copy(letters.tight);
        if (candidate.inverted)
            greyCrop.invertPixels();
        QStringList plates;
        // The digits each read saw, and how sure it was of them: a read that saw other digits casts
        // doubt, and a sure one forbids.
        struct Seen {
            QString digits;
            float confidence = 100;
        };
        QList<Seen> seen;
        bool lost = false;
        const auto doubts = [&](const QString& number, bool sure) {
            return std::count_if(seen.begin(), seen.end(), [&](const Seen& read) {
                return read.digits.size() == number.size() && read.digits != number &&
                       (read.confidence >= ReadText::kConfident) == sure;
            });
        };
        const auto numberOf = [](const QString& plate) {
            return QString(plate).remove(QRegularExpression(QStringLiteral("\\D")));
        };
        // Letters 40 pixels high, as the engine reads them best; read nothing confidently, or read in
        // doubt, at that size: a little larger (a J, a suffix letter read with doubt at one size is
        // often sure at another), then by the second opinion.
        const std::pair<tesseract::TessBaseAPI*, double> passes[] = {
            {api_.get(), 40.0}, {api_.get(), 48.0}, {second(), 40.0}};
        for (const auto& [api, size] : passes) {
            if (!api || (&api != &passes[0].first && !every && !shaped))
                continue;
            const double enlarge =
                std::clamp(size / std::max(1, letters.height), 0.5,
                           std::clamp(2000.0 / std::max(1, candidate.area.width()), 0.5, 4.0));
            for (const auto& [crop, origin] : {std::pair{letters.image, candidate.area.topLeft()},
                                               std::pair{greyCrop, letters.tight.topLeft()}}) {
                const QImage larger = scaledBy(crop, enlarge);
                const QList<ReadLine> lines = run(api, larger, tesseract::PSM_SINGLE_BLOCK, kPlateLetters);
                lastLines_ += lines;
                shaped = shaped || !ReadText::plate(lines, nullptr, 0.0f).isEmpty();
                QRect read;
                const QString plate = ReadText::plate(lines, &read);
                if (!plate.isEmpty()) {
                    plates.append(plate);
                    // Fewer signs than the letters' marks where they were read: the engine lost one (a
                    // narrow J beside a P) and the plate it gives is another's.
                    const double scale = double(larger.width()) / std::max(1, crop.width());
                    const QRect where(origin + read.topLeft() / scale, read.size() / scale);
                    lost = lost ||
                           int(QString(plate).remove(u' ').size()) < Prepare::fewestLetters(letters, where);
                }
                Seen saw;
                for (const ReadLine& line : lines)
                    for (const ReadWord& word : line.words)
                        for (const QChar c : word.text)
                            if (c.isDigit()) {
                                saw.digits += c;
                                saw.confidence = std::min(saw.confidence, word.confidence);
                            }
                seen.append(saw);
            }
            if (!plates.isEmpty() && doubts(numberOf(plates.first()), false) == 0)
                break;
        }
        if (plates.isEmpty())
            continue;
        // Written when every confident read gives this plate, no read saw other digits with
        // confidence, and those that saw others in doubt are outnumbered by confident reads of it.
        const qsizetype unsure = doubts(numberOf(plates.first()), false);
        const bool agree = std::all_of(plates.begin(), plates.end(),
                                       [&](const QString& plate) { return plate == plates.first(); });
        if (agree && !lost && doubts(numberOf(plates.first()), true) == 0 &&
            (unsure == 0 || (plates.size() >= 2 && plates.size() > unsure)))
            reading.plate = plates.first();
        break;
    }
    return reading;
}

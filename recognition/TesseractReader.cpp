#include "recognition/TesseractReader.h"

#include "recognition/Prepare.h"
#include "recognition/Validation.h"

#include <QDir>
#include <QFileInfo>

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

namespace {

// Larger pictures only cost time: a card filling the frame has its number some 40 pixels high at this size.
constexpr int kCardSide = 1200;
constexpr int kPlateSide = 1000;
const QString kDigits = QStringLiteral("0123456789- ");
// The space belongs in each set: without it the engine runs words together and gives no confidence.
const QString kPlateLetters = QStringLiteral("ABCDEFGHJKLMNPQRSTUVWXYZ0123456789 ");

QRect padded(const QRect& box, const QImage& image) {
    const int pad = std::max(4, box.height() / 3);
    return box.adjusted(-pad, -pad, pad, pad) & image.rect();
}

} // namespace

TesseractReader::TesseractReader(QString dataDir, std::function<QDate()> today)
    : dataDir_(std::move(dataDir)), today_(std::move(today)) {
    if (!today_)
        today_ = [] { return QDate::currentDate(); };
}

TesseractReader::~TesseractReader() {
    if (api_)
        api_->End();
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

bool TesseractReader::load() {
    if (api_)
        return true;
    if (failed_)
        return false;
    if (dataDir_.isEmpty())
        dataDir_ = findDataDir();
    auto api = std::make_unique<tesseract::TessBaseAPI>();
    // No dictionary: names and plates are not words, and a dictionary only bends them toward some.
    std::vector<std::string> names{"load_system_dawg", "load_freq_dawg", "debug_file"};
    std::vector<std::string> values{"0", "0", "/dev/null"};
    const QByteArray dir = QFile::encodeName(dataDir_);
    if (dataDir_.isEmpty() || api->Init(dir.constData(), "eng", tesseract::OEM_LSTM_ONLY, nullptr, 0, &names,
                                        &values, false) != 0) {
        failed_ = true;
        return false;
    }
    api_ = std::move(api);
    return true;
}

bool TesseractReader::ready() {
    std::lock_guard lock(mutex_);
    return load();
}

QList<ReadLine> TesseractReader::run(const QImage& binary, int segmentation, const QString& characters) {
    QList<ReadLine> lines;
    if (binary.isNull() || binary.width() < 8 || binary.height() < 8)
        return lines;
    api_->SetPageSegMode(static_cast<tesseract::PageSegMode>(segmentation));
    api_->SetVariable("tessedit_char_whitelist", characters.toLatin1().constData());
    api_->SetImage(binary.constBits(), binary.width(), binary.height(), 1,
                   static_cast<int>(binary.bytesPerLine()));
    api_->SetSourceResolution(300);
    if (api_->Recognize(nullptr) != 0) {
        api_->Clear();
        return lines;
    }
    std::unique_ptr<tesseract::ResultIterator> it(api_->GetIterator());
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
    api_->Clear();
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
    const QList<ReadLine> lines = run(binary, tesseract::PSM_AUTO, {});
    lastLines_ = lines;
    const int numberLine = ReadText::identityLine(lines);
    if (numberLine < 0)
        return reading;
    reading = ReadText::cardParts(lines, numberLine);

    // The number again, alone and in digits only: both reads must agree and be confident.
    const QString first = ReadText::identityText(lines[numberLine]);
    const QList<ReadLine> again =
        run(binary.copy(padded(lines[numberLine].box(), binary)), tesseract::PSM_SINGLE_LINE, kDigits);
    QString second;
    float confidence = 0;
    if (!again.isEmpty()) {
        second = ReadText::identityText(again.first());
        confidence = again.first().leastConfidence();
    }
    const QString firstNumber = Validation::identityNumber(first, today_());
    const QString secondNumber = Validation::identityNumber(second, today_());
    const float firstConfidence = lines[numberLine].leastConfidence();
    // The digits-only read decides; the first may only confirm it or, where the second found nothing
    // of a number's shape, stand alone when it is itself confident.
    if (!secondNumber.isEmpty() && confidence >= ReadText::kConfident &&
        (firstNumber.isEmpty() || firstNumber == secondNumber))
        reading.icNumber = secondNumber;
    else if (second.isEmpty() && !firstNumber.isEmpty() && firstConfidence >= ReadText::kConfident)
        reading.icNumber = firstNumber;
    return reading;
}

PlateReading TesseractReader::readPlate(const QImage& picture) {
    std::lock_guard lock(mutex_);
    PlateReading reading;
    if (picture.isNull() || !load())
        return reading;
    const QImage grey = Prepare::grey(picture, kPlateSide);
    const QImage upright = Prepare::straightened(grey, Prepare::skew(grey));
    // Most plates are white on black, a taxi's black on white: the letters are looked for both ways,
    // and the way with more of them read.
    QImage best;
    int most = 0;
    for (const bool inverted : {true, false}) {
        const QImage binary = Prepare::binarised(upright, inverted);
        int letters = 0;
        const QRect area = Prepare::letterRows(binary, &letters);
        if (!area.isEmpty() && letters > most) {
            most = letters;
            best = binary.copy(area);
        }
    }
    if (best.isNull())
        return reading;
    lastLines_ = run(best, tesseract::PSM_SINGLE_BLOCK, kPlateLetters);
    reading.plate = ReadText::plate(lastLines_);
    return reading;
}

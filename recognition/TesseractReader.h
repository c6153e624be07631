#pragma once

#include "recognition/ReadText.h"
#include "recognition/TextReader.h"

#include <QDate>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>

namespace tesseract {
class TessBaseAPI;
}

// The reader over Tesseract 5 (its LSTM engine with the English data: cards and plates are printed in
// capital Latin letters and digits; dictionaries off, they would only pull names toward words).
// The picture is made grey, straightened, binarised and cropped before each pass; the number and the
// plate are read again with their own character sets. The engines are loaded on first use and kept.
class TesseractReader : public TextReader {
public:
    // The folder holding eng.traineddata; empty: TESSDATA_PREFIX, then Debian's and the usual places.
    explicit TesseractReader(QString dataDir = {}, std::function<QDate()> today = {});
    ~TesseractReader() override;

    // Where the engine's data was found (empty when it was not).
    static QString findDataDir();
    // Whether the engine could be loaded (it is, on first use, if not yet).
    bool ready();

    CardReading readCard(const QImage& picture) override;
    PlateReading readPlate(const QImage& picture) override;

    // The lines the last card reading's first pass found, for the accuracy harness's report.
    QList<ReadLine> lastLines() const { return lastLines_; }

private:
    QList<ReadLine> run(const QImage& binary, int segmentation, const QString& characters) {
        return run(api_.get(), binary, segmentation, characters);
    }
    // Nothing when the engine is missing (the second opinion's data not installed).
    QList<ReadLine> run(tesseract::TessBaseAPI* engine, const QImage& binary, int segmentation,
                        const QString& characters);
    bool load();
    tesseract::TessBaseAPI* second();

    QString dataDir_;
    std::function<QDate()> today_;
    std::mutex mutex_;
    std::unique_ptr<tesseract::TessBaseAPI> api_;
    // The Malay data, a plate's second opinion: trained on other text, it reads the J of several
    // faces that the English data misses or doubts. Loaded on the first plate that needs it.
    std::unique_ptr<tesseract::TessBaseAPI> second_;
    bool failed_ = false;
    bool secondFailed_ = false;
    QList<ReadLine> lastLines_;
};

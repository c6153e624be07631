// Picked picture files: whatever the bytes, a decoded picture is no larger than the kept size, a JPEG is
// decoded only when it runs to its end, and a refusal always says why.
#include "platform/PhotoLibrary.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    // The image readers' complaints about damaged data are expected here by the million.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PickedPhoto photo;
    photo.encoded = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
    PickedPhoto::Failure failure = PickedPhoto::Failure::None;
    const QImage image = photo.decode(&failure);
    if (image.isNull() != (failure != PickedPhoto::Failure::None))
        std::abort();
    if (!image.isNull() && qint64(image.width()) * image.height() > PickedPhoto::keptPixels)
        std::abort();
    const bool jpeg = size >= 2 && data[0] == 0xff && data[1] == 0xd8;
    if (jpeg && !image.isNull() && !PickedPhoto::jpegIsComplete(photo.encoded))
        std::abort();
    return 0;
}

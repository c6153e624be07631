// measure_recognition [COUNT] [FIRST_SEED]
//
// Reads COUNT drawn identity cards and COUNT drawn plates (phone photographs: turned up to 8 degrees,
// blurred, noisy, JPEG, on a busy background) and prints how many parts were read exactly, how many
// were written wrong (an empty part is not wrong), the time from the JPEG bytes to the fields, and the
// memory the reading added. Not a Google Benchmark: it measures accuracy over many pictures.
#include "recognition/TesseractReader.h"
#include "recognition/drawn/DrawnPictures.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

long residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// The processor time of the whole process: on a shared machine the wall clock also counts the others.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double percent(int n, int of) {
    return of ? 100.0 * n / of : 0.0;
}

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100;
    const quint32 first = argc > 2 ? static_cast<quint32>(std::atoi(argv[2])) : 1000;
    const bool verbose = qEnvironmentVariableIsSet("VERBOSE");
    TesseractReader reader;
    const long before = residentKb();
    if (!reader.ready()) {
        std::fprintf(stderr, "measure_recognition: no Tesseract data found\n");
        return 1;
    }
    long peak = residentKb();
    int icExact = 0, icWrong = 0, nameExact = 0, nameWrong = 0, addressExact = 0, postcodeExact = 0;
    std::vector<double> cardMs, plateMs, cardCpu, plateCpu;
    for (int i = 0; i < count; ++i) {
        const DrawnPictures::Card card = DrawnPictures::card(first + i);
        const QByteArray bytes = DrawnPictures::jpeg(card.picture, 90);
        QElapsedTimer timer;
        timer.start();
        const double cpu = cpuMs();
        QImage picture;
        picture.loadFromData(bytes, "JPEG");
        const CardReading read = reader.readCard(picture);
        cardMs.push_back(timer.nsecsElapsed() / 1e6);
        cardCpu.push_back(cpuMs() - cpu);
        peak = std::max(peak, residentKb());
        icExact += read.icNumber == card.person.icNumber;
        icWrong += !read.icNumber.isEmpty() && read.icNumber != card.person.icNumber;
        nameExact += read.name == card.person.name;
        nameWrong += !read.name.isEmpty() && read.name != card.person.name;
        addressExact += read.address1 == card.person.address1 && read.address2 == card.person.address2;
        postcodeExact += read.postcode == card.person.postcode;
        if (verbose && (read.icNumber != card.person.icNumber || read.name != card.person.name ||
                        read.address1 != card.person.address1))
            std::printf("card %u: ic [%s] want %s, name [%s] want [%s], addr [%s|%s|%s]\n", first + i,
                        qPrintable(read.icNumber), qPrintable(card.person.icNumber), qPrintable(read.name),
                        qPrintable(card.person.name), qPrintable(read.address1), qPrintable(read.address2),
                        qPrintable(read.postcode));
        if (verbose && read.name != card.person.name) {
            card.picture.save(QStringLiteral("/tmp/r32/card-%1.jpg").arg(first + i));
            for (const ReadLine& line : reader.lastLines()) {
                QString words;
                for (const ReadWord& w : line.words)
                    words += QStringLiteral("%1(%2)@%3,%4 ")
                                 .arg(w.text)
                                 .arg(int(w.confidence))
                                 .arg(w.box.x())
                                 .arg(w.box.y());
                std::printf("   %s\n", qPrintable(words));
            }
        }
    }
    int plateExact = 0, plateWrong = 0;
    for (int i = 0; i < count; ++i) {
        const DrawnPictures::Plate plate = DrawnPictures::plate(first + i);
        const QByteArray bytes = DrawnPictures::jpeg(plate.picture, 90);
        QElapsedTimer timer;
        timer.start();
        const double cpu = cpuMs();
        QImage picture;
        picture.loadFromData(bytes, "JPEG");
        const PlateReading read = reader.readPlate(picture);
        plateMs.push_back(timer.nsecsElapsed() / 1e6);
        plateCpu.push_back(cpuMs() - cpu);
        peak = std::max(peak, residentKb());
        plateExact += read.plate == plate.plate;
        plateWrong += !read.plate.isEmpty() && read.plate != plate.plate;
        if (verbose && read.plate != plate.plate) {
            std::printf("plate %u: [%s] want [%s]\n", first + i, qPrintable(read.plate),
                        qPrintable(plate.plate));
            for (const ReadLine& line : reader.lastLines()) {
                QString words;
                for (const ReadWord& w : line.words)
                    words += QStringLiteral("%1(%2)@%3,%4 ")
                                 .arg(w.text)
                                 .arg(int(w.confidence))
                                 .arg(w.box.x())
                                 .arg(w.box.y());
                std::printf("   %s\n", qPrintable(words));
            }
        }
    }
    std::printf(
        "cards %d: IC exact %.1f %% wrong %.1f %%, name exact %.1f %% wrong %.1f %%, address exact %.1f %%, "
        "postcode exact %.1f %%\n",
        count, percent(icExact, count), percent(icWrong, count), percent(nameExact, count),
        percent(nameWrong, count), percent(addressExact, count), percent(postcodeExact, count));
    std::printf("plates %d: exact %.1f %% wrong %.1f %%\n", count, percent(plateExact, count),
                percent(plateWrong, count));
    std::printf(
        "time from JPEG to fields: card median %.0f ms max %.0f ms, plate median %.0f ms max %.0f ms\n",
        median(cardMs), cardMs.empty() ? 0 : *std::max_element(cardMs.begin(), cardMs.end()), median(plateMs),
        plateMs.empty() ? 0 : *std::max_element(plateMs.begin(), plateMs.end()));
    std::printf("processor time: card median %.0f ms max %.0f ms, plate median %.0f ms max %.0f ms\n",
                median(cardCpu), cardCpu.empty() ? 0 : *std::max_element(cardCpu.begin(), cardCpu.end()),
                median(plateCpu), plateCpu.empty() ? 0 : *std::max_element(plateCpu.begin(), plateCpu.end()));
    std::printf("memory: %ld MB before the engine loaded, peak +%ld MB while reading\n", before / 1024,
                (peak - before) / 1024);
    return 0;
}

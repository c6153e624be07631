// measure_recognition [COUNT] [FIRST_SEED] [cards|plates]
//
// Reads COUNT drawn identity cards and COUNT drawn plates (phone photographs: turned up to 8 degrees,
// blurred, noisy, JPEG, on a busy background) and prints how many parts were read exactly, how many
// were written wrong (an empty part is not wrong), the time from the JPEG bytes to the fields, and the
// memory the reading added. Not a Google Benchmark: it measures accuracy over many pictures.
// VERBOSE=1 names each miss with the lines the engine read; MISSES=DIR also keeps its picture there;
// SLOW=MS names each picture whose reading took longer than MS of processor time.
#include "recognition/EngineThreads.h"
#include "recognition/TesseractReader.h"
#include "recognition/drawn/DrawnPictures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstring>
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

double most(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

// The wall clock and processor time of each reading of one kind.
struct Times {
    std::vector<double> wall;
    std::vector<double> cpu;
};

void printLines(const QList<ReadLine>& lines) {
    for (const ReadLine& line : lines) {
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

} // namespace

int main(int argc, char** argv) {
    EngineThreads::settle(argv);
    QGuiApplication application(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100;
    const quint32 first = argc > 2 ? static_cast<quint32>(std::atoi(argv[2])) : 1000;
    const bool cards = argc <= 3 || std::strcmp(argv[3], "plates") != 0;
    const bool plates = argc <= 3 || std::strcmp(argv[3], "cards") != 0;
    const bool verbose = qEnvironmentVariableIsSet("VERBOSE");
    const QString misses = qEnvironmentVariable("MISSES");
    if (!misses.isEmpty())
        QDir().mkpath(misses);
    TesseractReader reader;
    const long before = residentKb();
    if (!reader.ready()) {
        std::fprintf(stderr, "measure_recognition: no Tesseract data found\n");
        return 1;
    }
    long peak = residentKb();
    // From the phone's JPEG bytes to the fields.
    const auto timed = [&](const QImage& drawn, Times& times, auto read) {
        const QByteArray bytes = DrawnPictures::jpeg(drawn, 90);
        QElapsedTimer timer;
        timer.start();
        const double cpu = cpuMs();
        QImage picture;
        picture.loadFromData(bytes, "JPEG");
        const auto result = read(picture);
        times.wall.push_back(timer.nsecsElapsed() / 1e6);
        times.cpu.push_back(cpuMs() - cpu);
        peak = std::max(peak, residentKb());
        return result;
    };
    const auto missed = [&](const QString& what, quint32 seed, const QImage& picture) {
        if (!verbose)
            return;
        std::printf("%s\n", qPrintable(what));
        printLines(reader.lastLines());
        if (!misses.isEmpty())
            picture.save(QStringLiteral("%1/%2.png").arg(misses).arg(seed));
    };
    const double slowMs = qEnvironmentVariableIntValue("SLOW");
    const auto slow = [&](const char* what, quint32 seed, const Times& times) {
        if (slowMs > 0 && times.cpu.back() > slowMs)
            std::printf("slow %s %u: %.0f ms, processor %.0f ms\n", what, seed, times.wall.back(),
                        times.cpu.back());
    };
    int icExact = 0, icWrong = 0, nameExact = 0, nameWrong = 0, addressExact = 0, postcodeExact = 0;
    int plateExact = 0, plateWrong = 0;
    Times cardTimes, plateTimes;
    for (quint32 seed = first; seed < first + quint32(count); ++seed) {
        if (cards) {
            const DrawnPictures::Card card = DrawnPictures::card(seed);
            const DrawnPictures::Person& want = card.person;
            const CardReading read =
                timed(card.picture, cardTimes, [&](const QImage& p) { return reader.readCard(p); });
            slow("card", seed, cardTimes);
            icExact += read.icNumber == want.icNumber;
            icWrong += !read.icNumber.isEmpty() && read.icNumber != want.icNumber;
            nameExact += read.name == want.name;
            nameWrong += !read.name.isEmpty() && read.name != want.name;
            addressExact += read.address1 == want.address1 && read.address2 == want.address2;
            postcodeExact += read.postcode == want.postcode;
            if (read.icNumber != want.icNumber || read.name != want.name || read.address1 != want.address1)
                missed(QStringLiteral("card %1: ic [%2] want %3, name [%4] want [%5], addr [%6|%7|%8]")
                           .arg(seed)
                           .arg(read.icNumber, want.icNumber, read.name, want.name, read.address1,
                                read.address2, read.postcode),
                       seed, card.picture);
        }
        if (plates) {
            const DrawnPictures::Plate plate = DrawnPictures::plate(seed);
            const PlateReading read =
                timed(plate.picture, plateTimes, [&](const QImage& p) { return reader.readPlate(p); });
            slow("plate", seed, plateTimes);
            plateExact += read.plate == plate.plate;
            plateWrong += !read.plate.isEmpty() && read.plate != plate.plate;
            if (read.plate != plate.plate)
                missed(QStringLiteral("plate %1: [%2] want [%3]").arg(seed).arg(read.plate, plate.plate),
                       seed, plate.picture);
        }
    }
    if (cards) {
        std::printf(
            "cards %d from seed %u: IC exact %.1f %% wrong %.1f %%, name exact %.1f %% wrong %.1f %%, "
            "address exact %.1f %%, postcode exact %.1f %%\n",
            count, first, percent(icExact, count), percent(icWrong, count), percent(nameExact, count),
            percent(nameWrong, count), percent(addressExact, count), percent(postcodeExact, count));
        std::printf("card time from JPEG to fields: median %.0f ms max %.0f ms; processor median %.0f ms max "
                    "%.0f ms\n",
                    median(cardTimes.wall), most(cardTimes.wall), median(cardTimes.cpu), most(cardTimes.cpu));
    }
    if (plates) {
        std::printf("plates %d from seed %u: exact %.1f %% wrong %.1f %%\n", count, first,
                    percent(plateExact, count), percent(plateWrong, count));
        std::printf("plate time from JPEG to fields: median %.0f ms max %.0f ms; processor median %.0f ms "
                    "max %.0f ms\n",
                    median(plateTimes.wall), most(plateTimes.wall), median(plateTimes.cpu),
                    most(plateTimes.cpu));
    }
    std::printf("memory: %ld MB before the engine loaded, peak +%ld MB while reading\n", before / 1024,
                (peak - before) / 1024);
    return 0;
}

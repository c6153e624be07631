// The issuing half of the crash test: a phone that starts up as the application does and then issues
// compounds without end (store with a photograph, print, advance the number), saying on stdout what it
// has finished, until the test kills it. Every line is flushed before the next step begins, so a line the
// test has read is a promise the files must keep.
//
//   crashtest-issuer DOCUMENTS RESOURCES ROUND
//
// Lines: "STORED <number>" once a compound is stored, printed and the number advanced; "UPLOADED <number>"
// once its upload mark is written; "FAILED <why>" (and exit 1) when the phone could not do what it must.

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "platform/fake/FakePlatform.h"
#include "printing/NoticePrinter.h"
#include "printing/PrinterProtocol.h"
#include "printing/RecordingAccessory.h"
#include "printing/WSSessionController.h"

#include <QBuffer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QMap>
#include <QPainter>

#include <cstdlib>
#include <unistd.h>

namespace {

void say(const QString& line) {
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            _exit(3); // the test is gone: stop issuing
        done += n;
    }
}

[[noreturn]] void fail(const QString& why) {
    say(QStringLiteral("FAILED ") + why);
    std::exit(1);
}

// A small scene photograph, as the camera screen stores it: a thumbnail and the picture, JPEG in Base64.
PhotoEntry photo(const QString& caption) {
    auto jpeg = [&](QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(0x2e, 0x6b, 0x3a));
        QPainter painter(&image);
        painter.setPen(Qt::white);
        painter.drawText(image.rect(), Qt::AlignCenter, caption);
        painter.end();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG", 70);
        return QString::fromLatin1(bytes.toBase64());
    };
    return {jpeg({32, 24}), jpeg({160, 120})};
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString usage = QStringLiteral("usage: crashtest-issuer DOCUMENTS RESOURCES ROUND\n"
                                         "Starts up on DOCUMENTS (a registered phone's Documents folder, "
                                         "never real data) and issues compounds\n"
                                         "until killed, saying \"STORED <number>\" and \"UPLOADED <number>\" "
                                         "as each is done. For the crash test.");
    if (argc != 4)
        fail(usage);
    const QString documents = QString::fromLocal8Bit(argv[1]);
    const QString resources = QString::fromLocal8Bit(argv[2]);
    const QString round = QString::fromLocal8Bit(argv[3]);

    FakePlatform fakes(documents, resources);
    AppDelegate core(fakes.platform());
    core.startUpData();
    core.startUpStores();
    // Any alert at start-up is the phone telling the officer it lost or could not keep something.
    if (!fakes.alerts.shown.isEmpty())
        fail(QStringLiteral("alert at start-up: ") + fakes.alerts.last().message);
    if (!core.deviceIdentity().isRegistered())
        fail(QStringLiteral("the phone is not registered"));
    core.setUserGlobalID({{QStringLiteral("peng_nama"), QStringLiteral("ROSLAN BIN AHMAD")},
                          {QStringLiteral("kod_pekerja"), QStringLiteral("PK1001")}});

    auto printer = std::make_shared<RecordingAccessory>();
    WSSessionController session(&fakes.log);
    session.setupControllerForAccessory(printer, PrinterProtocol::compiled());
    if (!session.openSession())
        fail(QStringLiteral("no printer session"));
    const NoticePrinter notices(
        fakes.files.resourcePath(QStringLiteral("printheader"), QStringLiteral("bmp")),
        NoticePrinter::defaultBaseUrl(), &fakes.log);
    QMap<int, bool> finished;
    QEventLoop waiting;
    QObject::connect(&session, &WSSessionController::noticeFinished, [&](int notice, bool written) {
        finished.insert(notice, written);
        waiting.quit();
    });

    for (int i = 0; i < 100000; ++i) {
        if (!core.readyToIssue())
            fail(QStringLiteral("numbering not trusted"));
        core.saveDictionaryInit();
        const Record record = core.saveDictionary();
        const QString number = record->value(Key::kompaunRunningNumber);
        // Which run and which turn issued it, so that one number held by two compounds shows.
        for (const auto& [key, value] :
             {std::pair{Key::JenisKompaun, QStringLiteral("AM")},
              {Key::kompaunButiranKesalahan, QStringLiteral("MELETAK KENDERAAN DI TEMPAT LARANGAN")},
              {Key::kompaunKadar, QStringLiteral("100.00")},
              {Key::kompaunKadarTawaran, QStringLiteral("50.00")},
              {Key::pilihanIndividuAtauSyarikat, QStringLiteral("Individu")},
              {Key::namaPesalah, QStringLiteral("PESALAH %1-%2").arg(round).arg(i)},
              {Key::noKadPengenalanPesalah,
               QStringLiteral("800101-01-%1").arg(i % 10000, 4, 10, QLatin1Char('0'))},
              {Key::lokasiTempatKejadian, QStringLiteral("JALAN BESAR TELUK MERBAU")},
              {Key::kenderaanNoKenderaan, QStringLiteral("WXY %1").arg(1000 + i % 9000)}})
            record->insert(QString(key), value);
        core.cleanUserChoiceGlobal();
        core.setImageArray(photo(number));

        if (!core.insertIntoBaruPBCompound(record))
            fail(QStringLiteral("not stored: ") + number);
        const int notice = notices.cetakSaman(&session, record, false);
        if (notice == 0)
            fail(QStringLiteral("no notice number for ") + number);
        while (!finished.contains(notice))
            waiting.exec();
        if (!finished.take(notice))
            fail(QStringLiteral("notice not printed: ") + number);
        if (!core.addOneRunningNumber())
            fail(QStringLiteral("number not advanced after ") + number);
        say(QStringLiteral("STORED ") + number);

        // Every other turn the waiting compounds go up to the council, so the next start purges them and
        // the store alone can no longer tell which numbers were given.
        if (i % 2 == 1) {
            for (auto next = core.saveStore().nextWaiting(0); next;
                 next = core.saveStore().nextWaiting(next->id)) {
                if (!core.saveStore().setUploadFlag(next->id, QStringLiteral("1")))
                    fail(QStringLiteral("upload mark not written"));
                say(QStringLiteral("UPLOADED ") + next->record.value(QString(Key::kompaunRunningNumber)));
            }
        }
    }
    fail(QStringLiteral("never killed"));
}

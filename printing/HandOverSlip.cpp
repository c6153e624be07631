#include "printing/HandOverSlip.h"

#include "core/ControlCharacters.h"
#include "printing/WSCommands.h"
#include "printing/WSEncoder.h"
#include "printing/WSSessionController.h"

namespace {

constexpr int kColumns = 92;
constexpr int kTypeWidth = 44;
constexpr int kCountWidth = 6;
constexpr int kAmountWidth = 20;

const QString kRule = QString(kColumns, QLatin1Char('-')) + QStringLiteral("\r\n");

// Stored texts print as one line of plain characters: a control byte in a name must not become a
// printer command nor break the columns, so each one keeps its place as a space.
QString plain(const QString& text) {
    return withoutControlCharacters(text, OtherControlCharacters::Space).trimmed();
}

QString centred(const QString& text) {
    return QString((kColumns - int(text.size())) / 2, QLatin1Char(' ')) + text + QStringLiteral("\r\n");
}

QString field(const QString& label, const QString& value) {
    return label.leftJustified(22, QLatin1Char(' ')) + QStringLiteral(":  ") + plain(value) +
           QStringLiteral("\r\n");
}

QString tableLine(const QString& label, const QString& count, const QString& kadar, const QString& tawaran) {
    return plain(label).left(kTypeWidth - 2).leftJustified(kTypeWidth, QLatin1Char(' ')) +
           count.rightJustified(kCountWidth, QLatin1Char(' ')) +
           kadar.rightJustified(kAmountWidth + 1, QLatin1Char(' ')) +
           tawaran.rightJustified(kAmountWidth + 1, QLatin1Char(' ')) + QStringLiteral("\r\n");
}

} // namespace

QList<QByteArray> HandOverSlip::blocks(const Content& c) {
    QList<QByteArray> out;
    auto block = [&out](const QString& text) {
        WSEncoder e;
        e.addString(text);
        out.append(e.printableData());
    };

    // From the left edge in normal-size characters, whatever the last print left set.
    out.append(WSCommands::standardMode());
    out.append(WSCommands::leftMargin(0));
    out.append(WSCommands::characterSize(0));

    QString head = kRule;
    head += centred(QStringLiteral("RINGKASAN SERAHAN TUGAS"));
    head += centred(QStringLiteral("MAJLIS PERBANDARAN TELUKMERBAU"));
    head += kRule;
    head += field(QStringLiteral("TARIKH"), c.day);
    head += field(QStringLiteral("NAMA PENGUATKUASA"), c.officerName);
    head += field(QStringLiteral("NO PEKERJA"), c.officerCode);
    head += field(QStringLiteral("KOD PERANTI"), c.deviceCode);
    head += field(QStringLiteral("DICETAK PADA"), c.printedAt);
    head += kRule;
    block(head);

    QString totals = tableLine(QStringLiteral("JENIS KOMPAUN"), QStringLiteral("BIL"),
                               QStringLiteral("KADAR (RM)"), QStringLiteral("TAWARAN (RM)"));
    for (const TypeLine& t : c.types)
        totals += tableLine(t.type.isEmpty() ? QStringLiteral("(TIADA JENIS)") : t.type,
                            QString::number(t.count), t.kadar, t.tawaran);
    totals += tableLine(QStringLiteral("JUMLAH"), QString::number(c.inForce), c.kadarTotal, c.tawaranTotal);
    totals += QStringLiteral("\r\n");
    totals += field(QStringLiteral("KOMPAUN DIKELUARKAN"), QString::number(c.issued));
    totals += field(QStringLiteral("DIBATALKAN"), QStringLiteral("%1 (TIDAK DIJUMLAHKAN)").arg(c.cancelled));
    totals += field(QStringLiteral("AMAUN TIDAK SAH"),
                    QStringLiteral("%1 (TIDAK DIJUMLAHKAN)").arg(c.unreadable.size()));
    for (const QString& line : c.unreadable)
        totals += QStringLiteral("  ") + plain(line).left(kColumns - 2) + QStringLiteral("\r\n");
    totals += field(QStringLiteral("BELUM DIMUAT NAIK"),
                    c.waiting > 0 && !c.oldestWaiting.isEmpty()
                        ? QStringLiteral("%1 (TERTUA %2)").arg(c.waiting).arg(c.oldestWaiting.toUpper())
                        : QString::number(c.waiting));
    totals += field(QStringLiteral("GAMBAR"), QString::number(c.photos));
    totals += kRule;
    block(totals);

    QString numbers = QStringLiteral("NO KOMPAUN (%1)\r\n").arg(c.numbers.size());
    for (const QString& n : c.numbers)
        numbers += plain(n).left(kColumns) + QStringLiteral("\r\n");
    numbers += kRule;
    block(numbers);

    QString close = QStringLiteral("\r\n\r\n");
    close += QStringLiteral("TANDATANGAN PENGUATKUASA :  ") + QString(30, QLatin1Char('-')) +
             QStringLiteral("\r\n\r\n\r\n");
    close += QStringLiteral("TANDATANGAN PENERIMA     :  ") + QString(30, QLatin1Char('-')) +
             QStringLiteral("\r\n\r\n\r\n\r\n");
    block(close);
    return out;
}

int HandOverSlip::print(WSSessionController* session, const Content& content) {
    if (!session)
        return 0;
    for (const QByteArray& b : blocks(content))
        session->writeData(b);
    return session->markNotice();
}

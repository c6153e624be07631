#include "sync/LicenceScan.h"

#include "core/ControlCharacters.h"
#include "sync/CouncilEndpoints.h"

LicenceScan::Kind LicenceScan::kindOf(const QString& account) {
    return account.startsWith(QLatin1String("05")) ? AssessmentTax : Licence;
}

QUrl LicenceScan::pageUrl(const CouncilEndpoints& endpoints, const QString& account) {
    return kindOf(account) == AssessmentTax ? endpoints.taxPage(account) : endpoints.licencePage(account);
}

std::optional<LicenceScan> LicenceScan::fromSymbols(const QStringList& symbols) {
    // A symbol of nothing but control characters reads as no symbol.
    if (symbols.isEmpty() || withoutControlCharacters(symbols.first()).trimmed().isEmpty())
        return std::nullopt;
    return fromData(symbols.first());
}

LicenceScan LicenceScan::fromData(const QString& scanned) {
    // A crafted sticker's control characters reach neither the record, the page's address nor the screen.
    const QString data = withoutControlCharacters(scanned);
    // Licences print their number between the first two stars ("ABC*151*X"); bills print the bare account.
    const QStringList pieces = data.split(QLatin1Char('*'));
    QString account = pieces.size() >= 2 ? pieces.at(1) : data;
    // A piece left blank (a sticker's control characters between the stars) counts as empty.
    if (account.trimmed().isEmpty())
        account = data;
    LicenceScan scan;
    scan.account = account;
    scan.kind = kindOf(account);
    if (scan.kind == Licence)
        scan.licenceForRecord = account.toUpper();
    return scan;
}

#include "sync/LicenceScan.h"

#include "sync/CouncilEndpoints.h"

LicenceScan::Kind LicenceScan::kindOf(const QString& account) {
    return account.startsWith(QLatin1String("05")) ? AssessmentTax : Licence;
}

QString LicenceScan::pagePath(Kind kind) {
    return kind == AssessmentTax ? QStringLiteral("/v2/wsc/mc/") : QStringLiteral("/v2/wsc/ml/");
}

QUrl LicenceScan::pageUrl(const CouncilEndpoints& endpoints, const QString& account) {
    return kindOf(account) == AssessmentTax ? endpoints.taxPage(account) : endpoints.licencePage(account);
}

std::optional<LicenceScan> LicenceScan::fromSymbols(const QStringList& symbols) {
    if (symbols.isEmpty())
        return std::nullopt;
    return fromData(symbols.first());
}

LicenceScan LicenceScan::fromData(const QString& data) {
    // Licences print their number between the first two stars ("ABC*151*X"); bills print the bare account.
    const QStringList pieces = data.split(QLatin1Char('*'));
    QString account = pieces.size() >= 2 ? pieces.at(1) : data;
    if (account.isEmpty())
        account = data;
    LicenceScan scan;
    scan.account = account;
    scan.kind = kindOf(account);
    if (scan.kind == Licence)
        scan.licenceForRecord = account.toUpper();
    return scan;
}

#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

// What a scanned licence or assessment-tax bill means: which account to look up, which of the council's two
// pages shows it, and what (if anything) goes into the compound being issued. Pure, so the lookup screen,
// its tests and the fuzzer share one rule.
class CouncilEndpoints;

struct LicenceScan {
    enum Kind { Licence, AssessmentTax };

    // The account looked up and shown as the page's title.
    QString account;
    Kind kind = Licence;
    // For a licence: the account in upper case, for the record's business-licence field. None for a tax
    // account, which leaves the record as it is.
    std::optional<QString> licenceForRecord;

    // An account beginning with "05" is an assessment-tax account; every other one is a licence.
    static Kind kindOf(const QString& account);
    // The council's page for an account, the account one percent-encoded path segment (so a scanned "/",
    // "?" or "#" cannot ask for another page); invalid when no address can be made for it.
    static QUrl pageUrl(const CouncilEndpoints& endpoints, const QString& account);

    // The first decoded symbol of a frame decides; none when the frame delivered no symbol, or one of
    // nothing but control characters and spaces.
    static std::optional<LicenceScan> fromSymbols(const QStringList& symbols);
    // Control characters of the scanned data are dropped first (line breaks become spaces).
    static LicenceScan fromData(const QString& scanned);
};

#pragma once

#include "core/Record.h"
#include "core/SQLiteManager.h"

// The lookups of the reference database that the screens pick from. Every value typed or chosen by
// the officer is bound as a whole text value.
class ReferenceData {
public:
    explicit ReferenceData(SQLiteManager& db) : db_(db) {}

    DbRows checkUser();
    DbRows getAkta();
    DbRows getKeslahan(const QString& typeCode);
    DbRows getKeslahanSearch(const QString& typeCode, const QString& text);
    DbRows getCategoryArray(const QString& actId);
    DbRows getCategoryArraySearch(const QString& actId, const QString& text);
    DbRows jenisKenderaan();
    DbRows jenisModel(const QString& vehicleTypeCode);
    DbRows jenisWarna();
    DbRows getPenguatkuasa();
    DbRows getNegeri();
    DbRows getNegeriSingle(const QString& stateCode);
    DbRows getPoskod(const QString& postcode);
    DbRows getKawasan();
    DbRows getLokasi(const QString& areaCode);
    // The fixed list of delivery methods, code "1" first.
    static PickList caraPenyerahan();

    // Registration: the device table exists. Its row 1 holds the device code.
    bool deviceTableExists();
    DbRows deviceRow();

    // Rows of a parameter list as [description, ordinal] pick items.
    static PickList paramItems(const DbRows& rows);

private:
    SQLiteManager& db_;
};

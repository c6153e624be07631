#pragma once

#include <QLatin1String>

#include <span>

// Every key of the compound record, named once: a key spelled wrong is then a compile error, not a
// silently new key that the notice, the store and the council never read.
namespace Key {
inline constexpr QLatin1String status_batal{"status_batal"};
inline constexpr QLatin1String JenisKompaun{"JenisKompaun"};
inline constexpr QLatin1String JenisKompaunID{"JenisKompaunID"};
inline constexpr QLatin1String akta{"akta"};
inline constexpr QLatin1String aktaID{"aktaID"};
inline constexpr QLatin1String kesalahan{"kesalahan"};
inline constexpr QLatin1String kesalahanID{"kesalahanID"};
inline constexpr QLatin1String pilihanIndividuAtauSyarikat{"pilihanIndividuAtauSyarikat"};
inline constexpr QLatin1String noDaftarSyarikat{"noDaftarSyarikat"};
inline constexpr QLatin1String lokasiLesenPerniagaan{"lokasiLesenPerniagaan"};
inline constexpr QLatin1String noKadPengenalanPesalah{"noKadPengenalanPesalah"};
inline constexpr QLatin1String namaPesalah{"namaPesalah"};
inline constexpr QLatin1String alamat1Pesalah{"alamat1Pesalah"};
inline constexpr QLatin1String alamat2Pesalah{"alamat2Pesalah"};
inline constexpr QLatin1String poskodPesalah{"poskodPesalah"};
inline constexpr QLatin1String alamat3Pesalah{"alamat3Pesalah"};
inline constexpr QLatin1String negeriPesalah{"negeriPesalah"};
inline constexpr QLatin1String negeriPesalahID{"negeriPesalahID"};
inline constexpr QLatin1String noKadPengenalanPenerima{"noKadPengenalanPenerima"};
inline constexpr QLatin1String namaPenerima{"namaPenerima"};
inline constexpr QLatin1String alamat1Penerima{"alamat1Penerima"};
inline constexpr QLatin1String alamat2Penerima{"alamat2Penerima"};
inline constexpr QLatin1String poskodPenerima{"poskodPenerima"};
inline constexpr QLatin1String alamat3Penerima{"alamat3Penerima"};
inline constexpr QLatin1String negeriPenerima{"negeriPenerima"};
inline constexpr QLatin1String negeriPenerimaID{"negeriPenerimaID"};
inline constexpr QLatin1String lat{"lat"};
// "long" is a C++ keyword.
inline constexpr QLatin1String long_{"long"};
inline constexpr QLatin1String kompaunLama{"kompaunLama"};
inline constexpr QLatin1String kompaunRunningNumber{"kompaunRunningNumber"};
inline constexpr QLatin1String kompaunTarikh{"kompaunTarikh"};
inline constexpr QLatin1String kompaunTamatTawaran{"kompaunTamatTawaran"};
inline constexpr QLatin1String kompaunButiranKesalahan{"kompaunButiranKesalahan"};
inline constexpr QLatin1String kompaunKadar{"kompaunKadar"};
inline constexpr QLatin1String kompaunKadarTawaran{"kompaunKadarTawaran"};
inline constexpr QLatin1String kompaunCaraPenyerahan{"kompaunCaraPenyerahan"};
inline constexpr QLatin1String kompaunCaraPenyerahanID{"kompaunCaraPenyerahanID"};
inline constexpr QLatin1String lokasiTempatKejadian{"lokasiTempatKejadian"};
inline constexpr QLatin1String lokasiNoPetak{"lokasiNoPetak"};
inline constexpr QLatin1String lokasiNamaSaksi{"lokasiNamaSaksi"};
inline constexpr QLatin1String lokasiICSaksi{"lokasiICSaksi"};
inline constexpr QLatin1String kenderaanNoKenderaan{"kenderaanNoKenderaan"};
inline constexpr QLatin1String kenderaanNoCukaiJalan{"kenderaanNoCukaiJalan"};
inline constexpr QLatin1String kenderaanJenisKenderaan{"kenderaanJenisKenderaan"};
inline constexpr QLatin1String kenderaanJenisKenderaanID{"kenderaanJenisKenderaanID"};
inline constexpr QLatin1String kenderaanJenisModel{"kenderaanJenisModel"};
inline constexpr QLatin1String kenderaanJenisModelID{"kenderaanJenisModelID"};
inline constexpr QLatin1String kenderaanJenisWarna{"kenderaanJenisWarna"};
inline constexpr QLatin1String kenderaanJenisWarnaID{"kenderaanJenisWarnaID"};
inline constexpr QLatin1String kenderaanNoChasis{"kenderaanNoChasis"};
inline constexpr QLatin1String namaPenguatKuasa{"namaPenguatKuasa"};
inline constexpr QLatin1String penguatKuasaID{"penguatKuasaID"};
inline constexpr QLatin1String lokasiKawasan{"lokasiKawasan"};
inline constexpr QLatin1String lokasiKawasanID{"lokasiKawasanID"};
inline constexpr QLatin1String lokasiJalan{"lokasiJalan"};
inline constexpr QLatin1String lokasiJalanID{"lokasiJalanID"};
inline constexpr QLatin1String kompaunMasa{"kompaunMasa"};
inline constexpr QLatin1String kodHasil{"kodHasil"};
inline constexpr QLatin1String isLaluLintas{"isLaluLintas"};
inline constexpr QLatin1String namaSaksi{"namaSaksi"};
} // namespace Key

// What each key is to the record: whether a fresh record holds it, what the re-use reset (the same offence
// for the next offender) does with it, where a pick list puts the code of the row shown in it, and whether
// the forms write it upper-cased. The hub, the forms and the pick-list relay read this table; nothing
// else says these things.
struct RecordKey {
    enum Reuse {
        // Left as it is: the offence, its amounts, the delivery method.
        Kept,
        // Emptied: the offender and recipient, the position, the place, the vehicle.
        Emptied,
        // Written again by the hub: the number, its dates, the time, the officer, the cancellation mark.
        Renewed
    };
    // When the relay writes the shown label of a pick list's row into the record, upper-cased.
    enum Label {
        // Whenever the list closes: a cancelled pick re-writes what the field shows.
        Always,
        // Only when a row was picked (the states).
        WhenPicked
    };

    QLatin1String key;
    // Written as "" by a fresh record (in this order); otherwise absent until a step writes it.
    bool fresh;
    Reuse reuse;
    bool upper = false;
    // For a key shown by a pick field: the key that holds the picked row's code.
    QLatin1String code{};
    Label label = Always;
};

namespace RecordKeys {
using enum RecordKey::Reuse;
using enum RecordKey::Label;
inline constexpr bool fresh = true;
inline constexpr bool later = false;
inline constexpr bool upper = true;
inline constexpr RecordKey table[] = {
    {Key::status_batal, fresh, Renewed},
    {Key::JenisKompaun, fresh, Kept},
    {Key::JenisKompaunID, fresh, Kept},
    {Key::akta, fresh, Kept},
    {Key::aktaID, fresh, Kept},
    {Key::kesalahan, fresh, Kept},
    {Key::kesalahanID, fresh, Kept},
    // Kept: the offender form's switch keeps showing it for the next offender.
    {Key::pilihanIndividuAtauSyarikat, fresh, Kept},
    // The company number is written as it is typed.
    {Key::noDaftarSyarikat, fresh, Emptied},
    {Key::lokasiLesenPerniagaan, fresh, Emptied, upper},
    {Key::noKadPengenalanPesalah, fresh, Emptied, upper},
    {Key::namaPesalah, fresh, Emptied, upper},
    {Key::alamat1Pesalah, fresh, Emptied, upper},
    {Key::alamat2Pesalah, fresh, Emptied, upper},
    {Key::poskodPesalah, fresh, Emptied, upper},
    {Key::alamat3Pesalah, fresh, Emptied, upper},
    {Key::negeriPesalah, fresh, Emptied, upper, Key::negeriPesalahID, WhenPicked},
    {Key::negeriPesalahID, fresh, Emptied},
    {Key::noKadPengenalanPenerima, fresh, Emptied, upper},
    {Key::namaPenerima, fresh, Emptied, upper},
    {Key::alamat1Penerima, fresh, Emptied, upper},
    {Key::alamat2Penerima, fresh, Emptied, upper},
    {Key::poskodPenerima, fresh, Emptied, upper},
    {Key::alamat3Penerima, fresh, Emptied, upper},
    {Key::negeriPenerima, fresh, Emptied, upper, Key::negeriPenerimaID, WhenPicked},
    {Key::negeriPenerimaID, fresh, Emptied},
    {Key::lat, fresh, Emptied},
    {Key::long_, fresh, Emptied},
    {Key::kompaunLama, fresh, Emptied, upper},
    {Key::kompaunRunningNumber, fresh, Renewed},
    {Key::kompaunTarikh, fresh, Renewed},
    {Key::kompaunTamatTawaran, fresh, Renewed},
    {Key::kompaunButiranKesalahan, fresh, Kept, upper},
    {Key::kompaunKadar, fresh, Kept},
    {Key::kompaunKadarTawaran, fresh, Kept},
    {Key::kompaunCaraPenyerahan, fresh, Kept, upper, Key::kompaunCaraPenyerahanID},
    {Key::kompaunCaraPenyerahanID, fresh, Kept},
    {Key::lokasiTempatKejadian, fresh, Emptied, upper},
    {Key::lokasiNoPetak, fresh, Emptied, upper},
    // The witness's identity number comes with the name's pick (the relay writes both).
    {Key::lokasiNamaSaksi, fresh, Emptied, upper, Key::namaSaksi},
    {Key::lokasiICSaksi, fresh, Emptied, upper},
    {Key::kenderaanNoKenderaan, fresh, Emptied},
    {Key::kenderaanNoCukaiJalan, fresh, Emptied},
    {Key::kenderaanJenisKenderaan, fresh, Emptied, upper, Key::kenderaanJenisKenderaanID},
    {Key::kenderaanJenisKenderaanID, fresh, Emptied},
    {Key::kenderaanJenisModel, fresh, Emptied, upper, Key::kenderaanJenisModelID},
    {Key::kenderaanJenisModelID, fresh, Emptied},
    {Key::kenderaanJenisWarna, fresh, Emptied, upper, Key::kenderaanJenisWarnaID},
    {Key::kenderaanJenisWarnaID, fresh, Emptied},
    {Key::kenderaanNoChasis, fresh, Emptied},
    // Written only with an officer signed in.
    {Key::namaPenguatKuasa, later, Renewed},
    {Key::penguatKuasaID, later, Renewed},
    // The area and street stay with their codes, as the location form keeps showing them.
    {Key::lokasiKawasan, later, Kept, upper, Key::lokasiKawasanID},
    {Key::lokasiKawasanID, later, Kept},
    // Street rows read "code-name": the relay keeps only the name.
    {Key::lokasiJalan, later, Kept, upper, Key::lokasiJalanID},
    {Key::lokasiJalanID, later, Kept},
    // The moment the next compound is made, as its date is.
    {Key::kompaunMasa, later, Renewed},
    {Key::kodHasil, later, Kept},
    {Key::isLaluLintas, later, Kept},
    // The picked witness's code, under the relay's type.
    {Key::namaSaksi, later, Kept},
};

// The row of that key, or null for a key the record does not know.
constexpr const RecordKey* find(QLatin1String key) {
    for (const RecordKey& row : table)
        if (row.key == key)
            return &row;
    return nullptr;
}
// The row whose picked code goes under that key, or null.
constexpr const RecordKey* pickedInto(QLatin1String code) {
    for (const RecordKey& row : table)
        if (!row.code.isEmpty() && row.code == code)
            return &row;
    return nullptr;
}
constexpr bool upperCased(QLatin1String key) {
    const RecordKey* row = find(key);
    return row && row->upper;
}
constexpr QLatin1String codeOf(QLatin1String key) {
    const RecordKey* row = find(key);
    return row ? row->code : QLatin1String();
}
} // namespace RecordKeys

#pragma once

#include <QLatin1String>

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

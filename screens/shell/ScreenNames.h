#pragma once

#include <QLatin1String>

// The screens a controller pushes or opens, by their QML file: the one place a screen's file is named.
namespace Screen {
inline constexpr QLatin1String sectionKesalahan{"SectionKesalahanView.qml"};
inline constexpr QLatin1String kategori{"KategoriView.qml"};
inline constexpr QLatin1String formSet{"FormSetView.qml"};
inline constexpr QLatin1String maklumatPersalah{"MaklumatPersalahView.qml"};
inline constexpr QLatin1String kompoun{"KompounView.qml"};
inline constexpr QLatin1String lokasi{"LokasiView.qml"};
inline constexpr QLatin1String kenderaan{"KenderaanTabView.qml"};
inline constexpr QLatin1String review{"ReviewView.qml"};
inline constexpr QLatin1String map{"MapView.qml"};
inline constexpr QLatin1String photoList{"PhotoListView.qml"};
inline constexpr QLatin1String image{"ImageView.qml"};
inline constexpr QLatin1String lesenDetail{"LesenDetailView.qml"};
} // namespace Screen

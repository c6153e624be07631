#include "core/RecordKeys.h"
#include "screens/forms/FormFieldModel.h"
#include "screens/map/MapTileModel.h"
#include "screens/shell/KeyValueListModel.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

namespace {

// Each list model the views draw, watched by Qt's model checker through the changes its screen makes:
// any broken promise of the model interface (counts, indexes, change signals) stops the program.
using Tester = QAbstractItemModelTester;
constexpr auto fatal = QAbstractItemModelTester::FailureReportingMode::Fatal;

TEST(ListModels, FormRowsKeepTheModelContractThroughRowsShownAndHidden) {
    FormFieldModel model;
    Tester tester(&model, fatal);
    model.setRows({
        {.key = Key::lokasiTempatKejadian, .label = QStringLiteral("Tempat Kejadian")},
        {.kind = FormRow::Pick,
         .key = Key::lokasiNamaSaksi,
         .label = QStringLiteral("Saksi Penguatkuasa"),
         .list = FormRow::Saksi},
        {.key = Key::lokasiICSaksi, .label = QStringLiteral("No. K/P Saksi"), .hint = FormRow::Digits},
    });
    model.setShown(Key::lokasiNamaSaksi, false);
    model.setShown(Key::lokasiICSaksi, false);
    model.setShown(Key::lokasiNamaSaksi, true);
    model.setRows({});
    EXPECT_EQ(model.rowCount(), 0);
    model.setRows({{.kind = FormRow::Heading,
                    .key = QLatin1String("kedudukan"),
                    .label = QStringLiteral("Kedudukan")}});
    EXPECT_EQ(model.data(model.index(0), FormFieldModel::KindRole).toInt(), FormRowType::Heading);
}

TEST(ListModels, PickRowsKeepTheModelContractThroughAFilter) {
    KeyValueListModel model;
    Tester tester(&model, fatal);
    model.setTitleFormat(KeyValueListModel::column(QStringLiteral("label")));
    model.setKeyFormat(KeyValueListModel::column(QStringLiteral("code")));
    const auto row = [](const char* label, const char* code) {
        return QVariantMap{{QStringLiteral("label"), QString::fromLatin1(label)},
                           {QStringLiteral("code"), QString::fromLatin1(code)}};
    };
    model.setRows({row("KERETA", "1"), row("MOTOSIKAL", "2"), row("LORI", "3")});
    model.setRows({row("MOTOSIKAL", "2")});
    model.setRows({});
    model.setRows({row("JOHOR", "1")});
    EXPECT_EQ(model.key(0), QStringLiteral("1"));
}

TEST(ListModels, MapTilesKeepTheModelContractWhenPannedAndResized) {
    MapTileModel model;
    Tester tester(&model, fatal);
    const auto grid = [](int columns, int rows, int x0) {
        QList<MapTileModel::Cell> cells;
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < columns; ++x)
                cells.append({QPointF(x * 256.0 - 40, y * 256.0 - 90),
                              QStringLiteral("image://tiles/15/%1/%2").arg(25624 + x0 + x).arg(16104 + y)});
        return cells;
    };
    model.setCells(grid(3, 4, 0));
    model.setCells(grid(3, 4, 1)); // panned: the same cells show other tiles
    model.setCells(grid(4, 5, 1)); // a larger window
    model.setCells({});
    EXPECT_EQ(model.rowCount(), 0);
}

} // namespace

#pragma once

#include "core/AppDelegate.h"
#include "core/Clock.h"
#include "core/RecordKeys.h"
#include "platform/fake/FakePlatform.h"
#include "screens/AppContext.h"
#include "screens/DropDownMenuViewController.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

// A clock the test sets.
class SetClock : public Clock {
public:
    QDateTime now() const override { return instant; }
    QDateTime instant =
        QDateTime(QDate(2024, 12, 20), QTime(1, 15), QTimeZone::utc()); // 09:15 in Kuala Lumpur
};

// The issuing forms over the shipped reference database: a signed-in officer, a fresh general
// compound, and the pick-list sheet the window would show, made as its view makes it.
class FormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        core.startUpData();
        ASSERT_FALSE(core.lookups().getNegeri().isEmpty()) << "shipped reference database missing";
        core.setUserGlobalID({{QStringLiteral("peng_nama"), QStringLiteral("AHMAD FAUZI BIN ISMAIL")},
                              {QStringLiteral("kod_pekerja"), QStringLiteral("PK1001")}});
        core.cleanUserChoiceGlobal();
        core.saveDictionaryInit();
        record()->insert(Key::isLaluLintas, QStringLiteral("TIDAK"));
        sheet.setContext(&context);
    }
    Record record() const { return core.getDictionary(); }
    QString rec(QLatin1String key) const { return record()->value(key); }
    // The row of the open list whose label is that text, or -1.
    int rowOf(const QString& label) {
        for (int i = 0; i < sheet.model()->count(); ++i)
            if (sheet.model()->title(i) == label)
                return i;
        return -1;
    }
    void pick(const QString& label) {
        ASSERT_TRUE(sheet.isOpen());
        const int row = rowOf(label);
        ASSERT_GE(row, 0) << label.toStdString() << " not in " << sheet.title().toStdString();
        sheet.didSelectRow(row);
        EXPECT_FALSE(sheet.isOpen());
    }
    template <typename Form> void show(Form& form) {
        form.setContext(&context);
        form.viewWillAppear();
    }

    QTemporaryDir dir;
    FakePlatform fakes{dir.path(), testsupport::resourceDir()};
    SetClock clock;
    AppDelegate core{fakes.platform(), &clock};
    AppContext context{[this] {
        AppContext::Parts parts;
        parts.app = &core;
        return parts;
    }()};
    DropDownMenuViewController sheet;
};

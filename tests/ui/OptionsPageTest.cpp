// The Options page driven as she uses it: the average mode, the number fields,
// the colour shapes, the category names, Save and About.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cerrno>
#include <cstdio>

#include "PageDrive.h"
#include "platform/DateTime.h"
#include "store/IniFile.h"
#include "ui/CellGrid.h"
#include "ui/ClickLabel.h"
#include "ui/ColorShape.h"
#include "ui/CycleListBox.h"
#include "ui/UiText.h"

namespace pimvesk {
namespace {

using test::ClickLine;
using test::ClickRadio;
using test::Retype;

QAbstractButton* Item(TForm1& form, int id) {
    return form.AverageItems->button(id);
}

TForm1& StartOnOptions(test::FormFixture& fixture) {
    TForm1& form = fixture.Start();
    test::ShowPage(form, 2);
    return form;
}

std::string Stored(const test::FormFixture& fixture, const char* section, const char* key) {
    TIniFile file(fixture.SettingsPath());
    return file.ReadText(section, key, "(none)");
}

// --- The number rule ----------------------------------------------------------

struct NumberCase {
    const char* name;
    QLineEdit* TForm1::*field;
    int32_t VeskState::*stored;
    const char* typed;  // empty: the field is emptied
    const char* shown;
    int32_t value;
    const char* error;  // the one error box on the way, or null
};

class NumberRule : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberRule, StoresTheAbsoluteValueAndKeepsTheTextAsTyped) {
    const NumberCase& c = GetParam();
    test::FormFixture fixture;
    test::WriteSettings(fixture, {"[date]", "count=2", "0=35949", "1=35977"});
    TForm1& form = StartOnOptions(fixture);
    ClickRadio(Item(form, 1));  // FixAveEdit takes keys only while the average is fixed
    test::ShowPage(form, 1);
    ClickLine(form.PastBox, 0);
    ASSERT_EQ(form.CurrentBox->count(), 29);
    test::ShowPage(form, 2);

    QLineEdit* field = form.*c.field;
    if (*c.typed == '\0') {
        test::Empty(field);
    } else {
        Retype(field, QString::fromUtf8(c.typed));
    }
    EXPECT_EQ(field->text(), c.shown);
    EXPECT_EQ(form.S.*c.stored, c.value);
    EXPECT_EQ(fixture.dialogs.errors,
              c.error ? QStringList{QString::fromUtf8(c.error)} : QStringList{});
    // RefreshCycle ran: the Details page shows the average and dropped its listing.
    EXPECT_EQ(form.AveEdit->text(), QString::number(form.S.AverageDays));
    EXPECT_EQ(form.CurrentBox->count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Options, NumberRule,
    ::testing::Values(
        // The first keystroke stores 1; the second is no number and keeps it.
        NumberCase{"OneA", &TForm1::FixAveEdit, &VeskState::AverageDays, "1a", "1a", 1,
                   "'1a' は整数ではありません."},
        NumberCase{"MinusFive", &TForm1::FixPeriodEdit, &VeskState::PeriodDays, "-5", "-5", 5,
                   "'-' は整数ではありません."},
        NumberCase{"MinusThirty", &TForm1::FixAveEdit, &VeskState::AverageDays, "-30", "-30", 30,
                   "'-' は整数ではありません."},
        NumberCase{"Emptied", &TForm1::FixOvuEdit, &VeskState::OvulationDay, "", "0", 0, nullptr},
        NumberCase{"Twenty", &TForm1::FixOvuEdit, &VeskState::OvulationDay, "20", "20", 20,
                   nullptr}),
    [](const ::testing::TestParamInfo<NumberCase>& info) { return info.param.name; });

TEST(OptionsNumbers, TheNewPeriodLengthMarksTheNextListing) {
    test::FormFixture fixture;
    test::WriteSettings(fixture, {"[date]", "count=2", "0=35949", "1=35977"});
    TForm1& form = StartOnOptions(fixture);
    Retype(form.FixPeriodEdit, "3");
    Retype(form.FixOvuEdit, "5");
    test::ShowPage(form, 1);
    ClickLine(form.PastBox, 1);
    const QStringList lines = test::Lines(form.CurrentBox);
    ASSERT_EQ(lines.size(), 29);
    EXPECT_TRUE(lines[2].endsWith(QString::fromUtf8("  ☆        ")));
    EXPECT_TRUE(lines[3].endsWith(QString::fromUtf8("    ×      ")));
    EXPECT_TRUE(lines[4].endsWith(QString::fromUtf8("      ！    ")));
    EXPECT_TRUE(lines[10].endsWith(QString::fromUtf8("            ")));
}

// --- The average mode ------------------------------------------------------------

TEST(OptionsAverageMode, SwitchingBothWaysTakesTheComputedOrTheFixedNumber) {
    test::FormFixture fixture;
    // Gaps of 27 days, an average of 30 stored with the computed mode.
    test::WriteSettings(fixture, {"[option]", "setaverage=0", "averageday=30", "[date]", "count=3",
                                  "0=35949", "1=35976", "2=36003"});
    TForm1& form = StartOnOptions(fixture);
    ASSERT_EQ(form.S.AverageDays, 30);

    ClickRadio(Item(form, 1));
    EXPECT_TRUE(form.S.FixedAverage);
    EXPECT_TRUE(form.FixAveEdit->isEnabled());
    EXPECT_FALSE(form.AveEdit->isEnabled());
    EXPECT_EQ(form.S.AverageDays, 28);  // what FixAveEdit shows
    EXPECT_EQ(form.AveEdit->text(), "28");

    Retype(form.FixAveEdit, "35");
    EXPECT_EQ(form.S.AverageDays, 35);
    EXPECT_EQ(form.FutureBox->item(1)->text(), "1998/08/31");

    ClickRadio(Item(form, 0));
    EXPECT_FALSE(form.S.FixedAverage);
    EXPECT_FALSE(form.FixAveEdit->isEnabled());
    EXPECT_TRUE(form.AveEdit->isEnabled());
    EXPECT_EQ(form.S.AverageDays, 27);
    EXPECT_EQ(form.AveEdit->text(), "27");
    EXPECT_EQ(form.FixAveEdit->text(), "35");
    EXPECT_EQ(form.FutureBox->item(1)->text(), "1998/08/23");

    ClickRadio(Item(form, 1));
    EXPECT_EQ(form.S.AverageDays, 35);
    EXPECT_EQ(form.AveEdit->text(), "35");
    EXPECT_TRUE(fixture.dialogs.errors.isEmpty());
}

TEST(OptionsAverageMode, AFixedNumberThatIsNoIntegerLeavesTheComputedAverage) {
    test::FormFixture fixture;
    test::WriteSettings(fixture, {"[date]", "count=3", "0=35949", "1=35976", "2=36003"});
    TForm1& form = StartOnOptions(fixture);
    ClickRadio(Item(form, 1));
    Retype(form.FixAveEdit, "3x");
    ClickRadio(Item(form, 0));
    ASSERT_EQ(form.S.AverageDays, 27);
    fixture.dialogs.errors.clear();

    ClickRadio(Item(form, 1));
    EXPECT_EQ(fixture.dialogs.errors, QStringList{"'3x' は整数ではありません."});
    EXPECT_TRUE(form.S.FixedAverage);
    EXPECT_TRUE(form.FixAveEdit->isEnabled());
    EXPECT_TRUE(form.AveEdit->isEnabled());
    EXPECT_EQ(form.S.AverageDays, 27);
}

// --- The colours ------------------------------------------------------------------

struct ShapeRow {
    const char* name;
    ColorShape* TForm1::*shape;  // null: category shape `category`
    int category;
    TColor VeskState::*field;
    const char* section;
    const char* key;
};

const ShapeRow kShapes[] = {
    {"BackShape", &TForm1::BackShape, -1, &VeskState::BackColor, "color", "back"},
    {"PeriodShape", &TForm1::PeriodShape, -1, &VeskState::PeriodColor, "color", "period"},
    {"DangerShape", &TForm1::DangerShape, -1, &VeskState::DangerColor, "color", "danger"},
    {"DateShape", &TForm1::DateShape, -1, &VeskState::DateColor, "color", "date"},
    {"SaturdayShape", &TForm1::SaturdayShape, -1, &VeskState::SaturdayColor, "color", "saturday"},
    {"HolidayShape", &TForm1::HolidayShape, -1, &VeskState::HolidayColor, "color", "holiday"},
    {"Shape1", nullptr, 0, nullptr, "memo", "cat1col"},
    {"Shape2", nullptr, 1, nullptr, "memo", "cat2col"},
    {"Shape3", nullptr, 2, nullptr, "memo", "cat3col"},
    {"Shape4", nullptr, 3, nullptr, "memo", "cat4col"},
    {"Shape5", nullptr, 4, nullptr, "memo", "cat5col"},
};

ColorShape* ShapeOf(TForm1& form, const ShapeRow& row) {
    return row.shape ? form.*row.shape : form.CategoryShapes[static_cast<size_t>(row.category)];
}

TColor& FieldOf(TForm1& form, const ShapeRow& row) {
    return row.field ? form.S.*row.field : form.S.CategoryColors[static_cast<size_t>(row.category)];
}

TEST(OptionsColours, EachShapeSetsItsOwnColourAndSaveStoresIt) {
    test::FormFixture fixture;
    TForm1& form = StartOnOptions(fixture);
    int n = 0;
    for (const ShapeRow& row : kShapes) {
        SCOPED_TRACE(row.name);
        const QColor before = ShapeOf(form, row)->Color();
        ASSERT_EQ(ToQColor(FieldOf(form, row)), before);
        const QColor chosen(10 + n, 100 + n, 200 + n);
        fixture.dialogs.colorPresets.clear();
        fixture.dialogs.colorAnswers = {chosen};
        QTest::mouseClick(ShapeOf(form, row), Qt::LeftButton);
        EXPECT_EQ(fixture.dialogs.colorPresets, QList<QColor>{before});
        EXPECT_EQ(FieldOf(form, row), FromQColor(chosen));
        EXPECT_EQ(ShapeOf(form, row)->Color(), chosen);
        ++n;
    }
    QTest::mouseClick(form.SaveOptionButton, Qt::LeftButton);
    n = 0;
    for (const ShapeRow& row : kShapes) {
        SCOPED_TRACE(row.name);
        const TColor chosen = FromQColor(QColor(10 + n, 100 + n, 200 + n));
        EXPECT_EQ(Stored(fixture, row.section, row.key), std::to_string(chosen));
        ++n;
    }
    EXPECT_TRUE(fixture.dialogs.errors.isEmpty());
}

class ShapeButton : public ::testing::TestWithParam<Qt::MouseButton> {};

TEST_P(ShapeButton, AnyMouseButtonOpensTheColourDialog) {
    test::FormFixture fixture;
    TForm1& form = StartOnOptions(fixture);
    fixture.dialogs.colorAnswers = {QColor(1, 2, 3)};
    QTest::mouseClick(form.CategoryShapes[2], GetParam(), {}, QPoint(3, 20));
    EXPECT_EQ(fixture.dialogs.colorPresets.size(), 1);
    EXPECT_EQ(form.S.CategoryColors[2], FromQColor(QColor(1, 2, 3)));
}

INSTANTIATE_TEST_SUITE_P(Options, ShapeButton,
                         ::testing::Values(Qt::LeftButton, Qt::RightButton, Qt::MiddleButton));

TEST(OptionsColours, CancellingKeepsTheColourAndStillRefreshesTheCalendar) {
    test::FormFixture fixture;
    TForm1& form = StartOnOptions(fixture);
    const TColor before = form.S.DangerColor;
    // Spoil what the calendar refresh rebuilds, to see that it ran.
    form.S.MonthCells = {};
    form.TitleLabel->clear();
    QTest::mouseClick(form.DangerShape, Qt::LeftButton);  // no answer: cancelled
    EXPECT_EQ(fixture.dialogs.colorPresets, QList<QColor>{ToQColor(before)});
    EXPECT_EQ(form.S.DangerColor, before);
    EXPECT_EQ(form.DangerShape->Color(), ToQColor(before));
    EXPECT_EQ(form.S.MonthCells, BuildMonthGrid(form.S.ViewDate));
    EXPECT_FALSE(form.TitleLabel->text().isEmpty());
}

TEST(OptionsColours, AConfirmedColourReachesTheCalendar) {
    test::FormFixture fixture;
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    DecodeDate(Today(), year, month, day);
    const int64_t first = WholeDay(EncodeDate(year, month, 1));
    // A period that starts on the 1st: the 1st to the 6th are period days.
    const std::string start = "0=" + std::to_string(first);
    test::WriteSettings(fixture, {"[date]", "count=1", start});
    TForm1& form = StartOnOptions(fixture);
    fixture.dialogs.colorAnswers = {QColor(255, 0, 0), QColor(0, 128, 0)};
    QTest::mouseClick(form.PeriodShape, Qt::LeftButton);
    QTest::mouseClick(form.DateShape, Qt::RightButton);

    test::ShowPage(form, 0);
    const QImage grid = form.CalendarGrid->grab().toImage();
    bool found = false;
    for (int row = 1; row <= 6 && !found; ++row) {
        for (int col = 0; col < 7 && !found; ++col) {
            if (CellDay(form.S.MonthCells, col, row) == 3) {
                found = true;
                const QRect cell = form.CalendarGrid->CellRect(col, row);
                EXPECT_EQ(grid.pixelColor(cell.right() - 1, cell.bottom() - 1), QColor(255, 0, 0));
            }
        }
    }
    EXPECT_TRUE(found);
    for (QLabel* label : {static_cast<QLabel*>(form.PrevLabel),
                          static_cast<QLabel*>(form.NextLabel), form.TitleLabel}) {
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    }
}

// --- The category names ------------------------------------------------------------

TEST(OptionsCategories, ARenameStaysInMemoryUntilSave) {
    test::FormFixture fixture;
    test::WriteSettings(fixture, {"[memo]", "cat2=予定"});
    TForm1& form = StartOnOptions(fixture);
    const std::string before = test::ReadBytes(fixture.SettingsPath());
    Retype(form.CategoryEdits[1], QString::fromUtf8("通院"));
    EXPECT_EQ(form.S.CategoryNames[1], test::J("通院"));
    EXPECT_EQ(test::ReadBytes(fixture.SettingsPath()), before);
    QTest::mouseClick(form.SaveOptionButton, Qt::LeftButton);
    EXPECT_EQ(Stored(fixture, "memo", "cat2"), test::J("通院"));
    EXPECT_EQ(Stored(fixture, "memo", "cat1"), test::J("メモ1"));
}

TEST(OptionsCategories, ACharacterCp932CannotHoldIsRefusedAndNothingIsReplaced) {
    test::FormFixture fixture;
    TForm1& form = StartOnOptions(fixture);
    QLineEdit* edit = form.CategoryEdits[0];
    edit->setFocus();
    edit->end(false);
    test::TypeText(edit, QString::fromUtf8("😀"));
    EXPECT_EQ(fixture.dialogs.errors,
              QStringList{
                  QString::fromUtf8("「😀」は保存できない文字です。別の文字に置き換えてください.")});
    EXPECT_EQ(edit->text(), QString::fromUtf8("メモ1"));
    EXPECT_EQ(form.S.CategoryNames[0], test::J("メモ1"));
    // Typing goes on from the name as it was.
    QTest::keyClicks(edit, QString::fromUtf8("A"));
    EXPECT_EQ(form.S.CategoryNames[0], test::J("メモ1A"));
    QTest::mouseClick(form.SaveOptionButton, Qt::LeftButton);
    EXPECT_EQ(Stored(fixture, "memo", "cat1"), test::J("メモ1A"));
}

// --- Save and About -------------------------------------------------------------------

TEST(OptionsSave, WritesTheSettingsAndTheMonthShown) {
    test::FormFixture fixture;
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    DecodeDate(Today(), year, month, day);
    const std::string section = std::to_string(WholeDay(Today()));
    const std::string monthFile = fixture.MonthFile(year, month);
    test::WriteBytes(monthFile, test::J("[" + section + "]\r\ncategory=2\r\nmemo=頭痛\r\n"));
    TForm1& form = StartOnOptions(fixture);
    ASSERT_EQ(form.S.Memos.size(), 1u);
    std::remove(monthFile.c_str());
    Retype(form.FixOvuEdit, "10");
    ASSERT_FALSE(test::Exists(fixture.SettingsPath()));

    QTest::mouseClick(form.SaveOptionButton, Qt::LeftButton);
    EXPECT_EQ(Stored(fixture, "option", "ovuave"), "10");
    EXPECT_EQ(Stored(fixture, "option", "period"), "6");
    ASSERT_TRUE(test::Exists(monthFile));
    TIniFile memos(monthFile);
    EXPECT_EQ(memos.ReadText(section, "memo", ""), test::J("頭痛"));
    EXPECT_EQ(memos.ReadText(section, "category", ""), "2");
    EXPECT_TRUE(fixture.dialogs.errors.isEmpty());
    EXPECT_TRUE(fixture.dialogs.messages.isEmpty());
}

TEST(OptionsSave, AFailedSaveIsReportedLeavesTheFileAndKeepsTheChange) {
    test::FaultyFileSystem faulty;  // outlives the form that writes through it
    test::FormFixture fixture;
    test::WriteSettings(fixture, {"[option]", "ovuave=14"});
    const std::string before = test::ReadBytes(fixture.SettingsPath());
    TForm1& form = StartOnOptions(fixture);
    form.S.Files = &faulty;
    form.S.IniFile = std::make_unique<TIniFile>(form.S.IniPath, faulty);
    Retype(form.FixOvuEdit, "10");
    faulty.FailFrom(test::FaultyFileSystem::kRename, 1, EACCES);

    QTest::mouseClick(form.SaveOptionButton, Qt::LeftButton);
    ASSERT_EQ(fixture.dialogs.errors.size(), 1);
    EXPECT_TRUE(fixture.dialogs.errors[0].contains(QString::fromStdString(fixture.SettingsPath())));
    EXPECT_TRUE(fixture.dialogs.errors[0].contains(QString::fromUtf8("に書き込めません")));
    EXPECT_EQ(test::ReadBytes(fixture.SettingsPath()), before);

    faulty.Heal();
    QTest::mouseClick(form.SaveOptionButton, Qt::LeftButton);
    EXPECT_EQ(fixture.dialogs.errors.size(), 1);
    EXPECT_EQ(Stored(fixture, "option", "ovuave"), "10");
}

TEST(OptionsAbout, ShowsTheNameAndTheVersion) {
    test::FormFixture fixture;
    TForm1& form = StartOnOptions(fixture);
    QTest::mouseClick(form.About, Qt::LeftButton);
    EXPECT_EQ(fixture.dialogs.messages,
              QStringList{QString::fromUtf8("ぴむべ～すく ばーじょん 1.0")});
    EXPECT_TRUE(fixture.dialogs.errors.isEmpty());
}

}  // namespace
}  // namespace pimvesk

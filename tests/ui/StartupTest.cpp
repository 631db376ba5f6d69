// Start-up as she meets it: what every page shows after the stored settings
// (or none) are loaded, and what the first close writes back.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>

#include "PageDrive.h"
#include "platform/DateTime.h"
#include "store/IniFile.h"
#include "ui/ColorShape.h"
#include "ui/CycleListBox.h"
#include "ui/UiText.h"

namespace pimvesk {
namespace {

bool Checked(TForm1& form, int id) {
    return form.AverageItems->button(id)->isChecked();
}

std::string Stored(const test::FormFixture& fixture, const char* section, const char* key) {
    TIniFile file(fixture.SettingsPath());
    return file.ReadText(section, key, "(none)");
}

TEST(Startup, FirstStartShowsTheDefaultsOnEveryPage) {
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    DecodeDate(Today(), year, month, day);

    EXPECT_EQ(form.PageControl1->currentWidget(), form.CalendarTab);
    EXPECT_EQ(form.TitleLabel->text(), QString("%1/%2").arg(year).arg(month));

    EXPECT_EQ(form.YearUD->text(), QString::number(year));
    EXPECT_EQ(form.MonthUD->text(), QString::number(month));
    EXPECT_EQ(form.DateUD->text(), QString::number(day));
    EXPECT_EQ(form.PastBox->count(), 0);
    EXPECT_EQ(form.FutureBox->count(), 0);
    EXPECT_EQ(form.CurrentBox->count(), 0);
    EXPECT_EQ(form.AveEdit->text(), "28");
    EXPECT_TRUE(form.AveEdit->isEnabled());

    EXPECT_TRUE(Checked(form, 0));
    EXPECT_FALSE(Checked(form, 1));
    EXPECT_FALSE(form.FixAveEdit->isEnabled());
    EXPECT_EQ(form.FixAveEdit->text(), "28");
    EXPECT_EQ(form.FixOvuEdit->text(), "14");
    EXPECT_EQ(form.FixPeriodEdit->text(), "6");
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(form.CategoryEdits[static_cast<size_t>(k)]->text(),
                  QString::fromUtf8("メモ%1").arg(k + 1));
    }
    const QColor defaults[] = {QColor(0xFF, 0xFF, 0xFF), QColor(123, 144, 162),
                               QColor(223, 159, 168),    QColor(0, 0, 0),
                               QColor(70, 38, 196),      QColor(196, 38, 70)};
    const ColorShape* shapes[] = {form.BackShape, form.PeriodShape,   form.DangerShape,
                                  form.DateShape, form.SaturdayShape, form.HolidayShape};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(shapes[i]->Color(), defaults[i]) << i;
    }
    const QColor categories[] = {QColor(0xFF, 0x80, 0x80), QColor(0xFF, 0xFF, 0x80),
                                 QColor(0x80, 0xFF, 0x80), QColor(0x80, 0xFF, 0xFF),
                                 QColor(0xFF, 0x80, 0xC0)};
    for (size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(form.CategoryShapes[k]->Color(), categories[k]) << k;
    }
    EXPECT_EQ(form.S.AverageDays, 28);
    EXPECT_EQ(form.S.OvulationDay, 14);
    EXPECT_EQ(form.S.PeriodDays, 6);
    EXPECT_FALSE(form.S.FixedAverage);
    EXPECT_TRUE(fixture.dialogs.errors.isEmpty());
}

TEST(Startup, TheFirstCloseWritesEveryKey) {
    test::FormFixture fixture;
    fixture.Start();
    ASSERT_TRUE(fixture.Close());
    struct Key {
        const char* section;
        const char* key;
        std::string value;
    };
    const Key keys[] = {
        {"option", "setaverage", "0"},   {"option", "averageday", "28"},
        {"option", "period", "6"},       {"option", "ovuave", "14"},
        {"date", "count", "0"},          {"color", "back", "16777215"},
        {"color", "period", "10653819"}, {"color", "danger", "11050975"},
        {"color", "date", "0"},          {"color", "saturday", "12854854"},
        {"color", "holiday", "4597444"}, {"memo", "cat1", test::J("メモ1")},
        {"memo", "cat1col", "8421631"},  {"memo", "cat2", test::J("メモ2")},
        {"memo", "cat2col", "8454143"},  {"memo", "cat3", test::J("メモ3")},
        {"memo", "cat3col", "8454016"},  {"memo", "cat4", test::J("メモ4")},
        {"memo", "cat4col", "16777088"}, {"memo", "cat5", test::J("メモ5")},
        {"memo", "cat5col", "12615935"},
    };
    for (const Key& key : keys) {
        EXPECT_EQ(Stored(fixture, key.section, key.key), key.value)
            << key.section << " " << key.key;
    }
}

TEST(Startup, AStoredFixedAverageIsShownAndUsed) {
    test::FormFixture fixture;
    test::WriteSettings(fixture, {"[option]", "setaverage=1", "averageday=30", "[date]", "count=2",
                                  "0=35949", "1=35976"});
    TForm1& form = fixture.Start();
    EXPECT_TRUE(Checked(form, 1));
    EXPECT_TRUE(form.FixAveEdit->isEnabled());
    EXPECT_EQ(form.FixAveEdit->text(), "30");
    EXPECT_FALSE(form.AveEdit->isEnabled());
    EXPECT_EQ(form.AveEdit->text(), "30");
    EXPECT_EQ(form.S.AverageDays, 30);
    EXPECT_TRUE(form.S.FixedAverage);
    ASSERT_EQ(form.FutureBox->count(), 20);
    EXPECT_EQ(form.FutureBox->item(0)->text(), "1998/06/30");
    EXPECT_EQ(form.FutureBox->item(1)->text(), "1998/07/30");
    EXPECT_EQ(form.FutureBox->item(2)->text(), "1998/08/29");
    EXPECT_TRUE(fixture.dialogs.errors.isEmpty());
    ASSERT_TRUE(fixture.Close());
    EXPECT_EQ(Stored(fixture, "option", "averageday"), "30");
    EXPECT_EQ(Stored(fixture, "option", "setaverage"), "1");
}

TEST(Startup, AStoredNegativeFixedAverageCountsAsItsAbsoluteValue) {
    test::FormFixture fixture;
    test::WriteSettings(fixture, {"[option]", "setaverage=1", "averageday=-30"});
    TForm1& form = fixture.Start();
    EXPECT_EQ(form.FixAveEdit->text(), "-30");
    EXPECT_EQ(form.AveEdit->text(), "30");
    EXPECT_EQ(form.S.AverageDays, 30);
}

TEST(Startup, AStoredComputedAverageIsNotRecomputed) {
    test::FormFixture fixture;
    // Gaps of 27 days.
    test::WriteSettings(fixture, {"[option]", "setaverage=0", "averageday=30", "[date]", "count=3",
                                  "0=35949", "1=35976", "2=36003"});
    TForm1& form = fixture.Start();
    EXPECT_TRUE(Checked(form, 0));
    EXPECT_EQ(form.S.AverageDays, 30);
    EXPECT_EQ(form.AveEdit->text(), "30");
    EXPECT_TRUE(form.AveEdit->isEnabled());
    EXPECT_FALSE(form.FixAveEdit->isEnabled());
    EXPECT_EQ(form.FixAveEdit->text(), "28");
    EXPECT_EQ(form.FutureBox->item(1)->text(), "1998/08/26");  // 30 days after 07-27
    ASSERT_TRUE(fixture.Close());
    EXPECT_EQ(Stored(fixture, "option", "averageday"), "30");
}

TEST(Startup, StoredNegativeCycleNumbersAreShownAsStoredAndUsedAsAbsolute) {
    test::FormFixture fixture;
    test::WriteSettings(
        fixture, {"[option]", "ovuave=-3", "period=-4", "[date]", "count=2", "0=35949", "1=35977"});
    TForm1& form = fixture.Start();
    EXPECT_EQ(form.FixOvuEdit->text(), "-3");
    EXPECT_EQ(form.FixPeriodEdit->text(), "-4");
    EXPECT_EQ(form.S.OvulationDay, 3);
    EXPECT_EQ(form.S.PeriodDays, 4);
    test::ShowPage(form, 1);
    test::ClickLine(form.PastBox, 0);
    const QStringList lines = test::Lines(form.CurrentBox);
    ASSERT_EQ(lines.size(), 29);
    EXPECT_TRUE(lines[2].endsWith(QString::fromUtf8("      ！    ")));
    EXPECT_TRUE(lines[3].endsWith(QString::fromUtf8("  ☆        ")));
    EXPECT_TRUE(lines[4].endsWith(QString::fromUtf8("    ×      ")));
}

TEST(Startup, StartsStoredInAnyKeyOrderAreListedAscending) {
    test::FormFixture fixture;
    test::WriteSettings(fixture, {"[date]", "2=35949", "count=3", "0=36005", "1=35977"});
    TForm1& form = fixture.Start();
    EXPECT_EQ(test::Lines(form.PastBox), (QStringList{"1998/06/03", "1998/07/01", "1998/07/29"}));
    EXPECT_EQ(form.FutureBox->item(0)->text(), "1998/07/29");
}

// A stored name comes back byte for byte, also where its bytes do not decode
// or stand for a character that CP932 holds twice.
TEST(Startup, StoredCategoryNamesSurviveAStartAndACloseByteForByte) {
    test::FormFixture fixture;
    const std::string undecodable = "A\x85\x40Z";   // 0x85 opens no character
    const std::string ibmRow = "\x87\x9A\xED\x40";  // the second spellings of ∵ and 纊
    const std::string longName(40000, 'n');
    test::WriteBytes(fixture.SettingsPath(), "[memo]\r\ncat1=" + undecodable + "\r\ncat2=" +
                                                 ibmRow + "\r\ncat3=" + longName + "\r\n");
    TForm1& form = fixture.Start();
    EXPECT_TRUE(fixture.dialogs.errors.isEmpty())
        << fixture.dialogs.errors.join("\n").toStdString();
    EXPECT_EQ(form.S.CategoryNames[0], undecodable);
    EXPECT_EQ(form.S.CategoryNames[1], ibmRow);
    EXPECT_TRUE(form.S.CategoryNames[2] == longName) << form.S.CategoryNames[2].size();
    ASSERT_TRUE(fixture.Close());
    EXPECT_EQ(Stored(fixture, "memo", "cat1"), undecodable);
    EXPECT_EQ(Stored(fixture, "memo", "cat2"), ibmRow);
    const std::string stored = Stored(fixture, "memo", "cat3");
    EXPECT_TRUE(stored == longName) << stored.size();
}

}  // namespace
}  // namespace pimvesk

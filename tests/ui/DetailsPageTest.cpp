// The Details page driven as she uses it: recording and deleting starts, the
// projected starts, the listing of one cycle and the typed average.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "PageDrive.h"
#include "ui/CycleListBox.h"
#include "ui/UiText.h"

namespace pimvesk {
namespace {

using test::ClickLine;
using test::Lines;
using test::Retype;
using test::SelectedLine;

// 1998-06-03, 1998-07-01, 1998-07-29: two cycles of 28 days.
constexpr const char* kJune3 = "0=35949";
constexpr const char* kJuly1 = "1=35977";
constexpr const char* kJuly29 = "2=36005";

QString Utf(const char* text) {
    return QString::fromUtf8(text);
}

// Starts written to the settings file, the average computed (28 unless given).
void WriteStarts(const test::FormFixture& fixture, std::initializer_list<const char*> starts,
                 const char* average = "averageday=28") {
    std::initializer_list<std::string_view> head = {"[option]", "setaverage=0", average, "[date]"};
    std::vector<std::string> lines(head.begin(), head.end());
    lines.push_back("count=" + std::to_string(starts.size()));
    lines.insert(lines.end(), starts.begin(), starts.end());
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    test::WriteBytes(fixture.SettingsPath(), text);
}

TForm1& StartOnDetails(test::FormFixture& fixture) {
    TForm1& form = fixture.Start();
    test::ShowPage(form, 1);
    return form;
}

void EnterDate(TForm1& form, int year, int month, int day) {
    Retype(form.YearUD, QString::number(year));
    Retype(form.MonthUD, QString::number(month));
    Retype(form.DateUD, QString::number(day));
}

void ClickAdd(TForm1& form) {
    QTest::mouseClick(form.AddButton, Qt::LeftButton);
}
void ClickDelete(TForm1& form) {
    QTest::mouseClick(form.DeleteButton, Qt::LeftButton);
}

// --- Adding ---------------------------------------------------------------

struct AddCase {
    int year;
    int month;
    int day;
    const char* added;
    int dayUsed;
};

class AddClamping : public ::testing::TestWithParam<AddCase> {};

TEST_P(AddClamping, AppendsAnExistingDayAndTheSpinFieldsShowIt) {
    const AddCase& c = GetParam();
    test::FormFixture fixture;
    TForm1& form = StartOnDetails(fixture);
    EnterDate(form, c.year, c.month, c.day);
    ClickAdd(form);
    EXPECT_EQ(Lines(form.PastBox), QStringList{c.added});
    EXPECT_EQ(form.DateUD->value(), c.dayUsed);
    EXPECT_EQ(form.DateUD->text(), QString::number(c.dayUsed));
    EXPECT_EQ(form.MonthUD->text(), QString::number(c.month));
    EXPECT_EQ(form.YearUD->text(), QString::number(c.year));
    EXPECT_EQ(SelectedLine(form.PastBox), -1);
    EXPECT_TRUE(fixture.dialogs.errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Details, AddClamping,
    ::testing::Values(AddCase{2000, 2, 31, "2000/02/29", 29},  // divisible by 400: leap
                      AddCase{1900, 2, 29, "1900/02/28", 28},  // by 100: not leap
                      AddCase{2004, 2, 30, "2004/02/29", 29},  // by 4: leap
                      AddCase{2100, 2, 29, "2100/02/28", 28},  // by 100: not leap
                      AddCase{2001, 4, 31, "2001/04/30", 30},  // a 30-day month
                      AddCase{2001, 11, 31, "2001/11/30", 30},
                      AddCase{2001, 1, 31, "2001/01/31", 31},  // a 31-day month keeps the day
                      AddCase{2001, 2, 28, "2001/02/28", 28}));

TEST(DetailsAdd, TheFirstStartProjectsTwentyStartsTwentyEightDaysApart) {
    test::FormFixture fixture;
    TForm1& form = StartOnDetails(fixture);
    EnterDate(form, 1998, 7, 1);
    ClickAdd(form);
    EXPECT_EQ(Lines(form.PastBox), QStringList{"1998/07/01"});
    EXPECT_EQ(form.S.AverageDays, 28);
    EXPECT_EQ(form.AveEdit->text(), "28");
    ASSERT_EQ(form.FutureBox->count(), 20);
    EXPECT_EQ(form.FutureBox->item(0)->text(), "1998/07/01");
    EXPECT_EQ(form.FutureBox->item(1)->text(), "1998/07/29");
    EXPECT_EQ(form.FutureBox->item(19)->text(), "1999/12/15");  // 19 × 28 days on
}

TEST(DetailsAdd, ADuplicateIsListedTwiceAndItsGapOfZeroLowersTheAverage) {
    test::FormFixture fixture;
    WriteStarts(fixture, {kJune3, kJuly1});
    TForm1& form = StartOnDetails(fixture);
    EnterDate(form, 1998, 7, 1);
    ClickAdd(form);
    EXPECT_EQ(Lines(form.PastBox), (QStringList{"1998/06/03", "1998/07/01", "1998/07/01"}));
    EXPECT_EQ(form.S.AverageDays, 14);  // gaps 28 and 0
    EXPECT_EQ(form.AveEdit->text(), "14");
    EXPECT_EQ(form.FutureBox->item(1)->text(), "1998/07/15");
}

TEST(DetailsAdd, AnEarlierStartIsListedInDateOrder) {
    test::FormFixture fixture;
    WriteStarts(fixture, {kJune3, kJuly1});
    TForm1& form = StartOnDetails(fixture);
    EnterDate(form, 1998, 5, 6);
    ClickAdd(form);
    EXPECT_EQ(Lines(form.PastBox), (QStringList{"1998/05/06", "1998/06/03", "1998/07/01"}));
    EXPECT_EQ(form.S.AverageDays, 28);
}

// --- Deleting -------------------------------------------------------------

TEST(DetailsDelete, LineZeroOfThreeKeepsLineZeroSelectedWithoutListingIt) {
    test::FormFixture fixture;
    WriteStarts(fixture, {kJune3, kJuly1, kJuly29});
    TForm1& form = StartOnDetails(fixture);
    ClickLine(form.PastBox, 0);
    ASSERT_EQ(form.CurrentBox->count(), 29);
    ClickDelete(form);
    EXPECT_EQ(Lines(form.PastBox), (QStringList{"1998/07/01", "1998/07/29"}));
    EXPECT_EQ(SelectedLine(form.PastBox), 0);
    // The re-selection is not hers: the deleted cycle is still listed.
    ASSERT_EQ(form.CurrentBox->count(), 29);
    EXPECT_TRUE(form.CurrentBox->item(0)->text().startsWith("1998/06/03"));
    EXPECT_EQ(form.AveEdit->text(), "28");
    EXPECT_EQ(form.FutureBox->item(0)->text(), "1998/07/29");

    ClickDelete(form);  // the new line 0
    EXPECT_EQ(Lines(form.PastBox), QStringList{"1998/07/29"});
    EXPECT_EQ(SelectedLine(form.PastBox), 0);
}

TEST(DetailsDelete, TheLastLineLeavesNoLineSelected) {
    test::FormFixture fixture;
    WriteStarts(fixture, {kJune3, kJuly1, kJuly29});
    TForm1& form = StartOnDetails(fixture);
    ClickLine(form.PastBox, 2);
    ClickDelete(form);
    EXPECT_EQ(Lines(form.PastBox), (QStringList{"1998/06/03", "1998/07/01"}));
    EXPECT_EQ(SelectedLine(form.PastBox), -1);
    EXPECT_EQ(form.FutureBox->item(0)->text(), "1998/07/01");

    ClickDelete(form);  // nothing selected: nothing happens
    EXPECT_EQ(form.PastBox->count(), 2);
}

TEST(DetailsDelete, TheOnlyStartEmptiesBothListsButKeepsTheListing) {
    test::FormFixture fixture;
    WriteStarts(fixture, {kJune3}, "averageday=30");
    TForm1& form = StartOnDetails(fixture);
    ClickLine(form.PastBox, 0);
    ASSERT_EQ(form.CurrentBox->count(), 31);  // the stored average, 30 days
    ClickDelete(form);
    EXPECT_EQ(form.PastBox->count(), 0);
    EXPECT_EQ(form.FutureBox->count(), 0);
    EXPECT_EQ(form.AveEdit->text(), "28");
    EXPECT_EQ(form.S.AverageDays, 28);
    EXPECT_EQ(form.CurrentBox->count(), 31);
}

// --- The listing of one cycle ----------------------------------------------

struct KindRun {
    int firstDay;  // of July 1998
    int lastDay;
    const char* mark;
    TDayKind kind;
};

// Ovulation day 14, 6 period days, a cycle of 28 from 1998-07-01.
constexpr KindRun kJulyCycle[] = {
    {1, 6, "  ☆        ", dkPeriod},   {7, 9, "            ", dkNormal},
    {10, 13, "    ×      ", dkDanger}, {14, 14, "      ！    ", dkOvulation},
    {15, 19, "    ×      ", dkDanger}, {20, 28, "            ", dkNormal},
    {29, 29, "  ☆        ", dkPeriod},
};

QStringList ExpectedJulyCycle() {
    QStringList lines;
    for (const KindRun& run : kJulyCycle) {
        for (int day = run.firstDay; day <= run.lastDay; ++day) {
            lines << QString("1998/07/%1").arg(day, 2, 10, QChar('0')) + Utf(run.mark);
        }
    }
    return lines;
}

TDayKind ExpectedJulyKind(int line) {
    for (const KindRun& run : kJulyCycle) {
        if (line + 1 >= run.firstDay && line + 1 <= run.lastDay) {
            return run.kind;
        }
    }
    return dkNormal;
}

TEST(DetailsListing, TheLastStartListsTwentyNineDaysWithTheirMarks) {
    test::FormFixture fixture;
    WriteStarts(fixture, {kJune3, kJuly1});
    TForm1& form = StartOnDetails(fixture);
    ClickLine(form.PastBox, 1);
    EXPECT_EQ(Lines(form.CurrentBox), ExpectedJulyCycle());
    // Line 0 of the projected starts is the same cycle.
    ClickLine(form.FutureBox, 0);
    EXPECT_EQ(Lines(form.CurrentBox), ExpectedJulyCycle());
    ClickLine(form.FutureBox, 1);
    ASSERT_EQ(form.CurrentBox->count(), 29);
    EXPECT_TRUE(form.CurrentBox->item(0)->text().startsWith("1998/07/29"));
    // A cycle between two recorded starts has its own length.
    ClickLine(form.PastBox, 0);
    ASSERT_EQ(form.CurrentBox->count(), 29);
    EXPECT_TRUE(form.CurrentBox->item(28)->text().startsWith("1998/07/01"));
}

// Each line's band is as wide as its text and has the colour of its kind; the
// rest of the line stays the list's own background, also for the selected line.
TEST(DetailsListing, EachLineIsABandOfItsKindsColourAsWideAsItsText) {
    test::FormFixture fixture;
    WriteStarts(fixture, {kJune3, kJuly1});
    std::string ini = test::ReadBytes(fixture.SettingsPath());
    // Ordinary days pale yellow, so that their band shows; dates pure blue.
    ini += "[color]\r\nback=12648447\r\ndate=16711680\r\n";
    test::WriteBytes(fixture.SettingsPath(), ini);
    TForm1& form = StartOnDetails(fixture);
    ClickLine(form.PastBox, 1);
    CycleListBox* box = form.CurrentBox;
    ClickLine(box, 13);  // the ovulation day, selected and focused
    ASSERT_EQ(SelectedLine(box), 13);
    ASSERT_EQ(box->count(), 29);

    const QColor base = box->palette().color(QPalette::Base);
    const QColor kindColour[] = {ToQColor(form.S.DangerColor), ToQColor(form.S.PeriodColor),
                                 ToQColor(form.S.DangerColor), QColor(0xFF, 0xFF, 0xC0)};
    const QColor dateColour(0, 0, 0xFF);
    const auto checkLines = [&](bool bandEndsInView) {
        for (int line = 0; line < box->count(); ++line) {
            SCOPED_TRACE(line);
            box->scrollToItem(box->item(line));
            const QImage image = box->viewport()->grab().toImage();
            const QRect rect = box->visualItemRect(box->item(line));
            const int width = box->fontMetrics().horizontalAdvance(box->item(line)->text());
            const int y = rect.center().y();
            const QColor kind = kindColour[ExpectedJulyKind(line)];
            if (bandEndsInView) {
                ASSERT_LT(rect.left() + width + 2, image.width());
                // The last pixels of the band lie in the mark's trailing blanks.
                EXPECT_EQ(image.pixelColor(rect.left() + width - 1, y), kind);
                EXPECT_EQ(image.pixelColor(rect.left() + width - 3, y), kind);
                EXPECT_EQ(image.pixelColor(rect.left() + width, y), base);
                EXPECT_EQ(image.pixelColor(rect.left() + width + 2, y), base);
            } else {
                ASSERT_GT(rect.left() + width, image.width());
                EXPECT_EQ(image.pixelColor(image.width() - 1, y), kind);
            }
            bool dateDrawn = false;
            for (int x = rect.left(); x < rect.left() + width && !dateDrawn; ++x) {
                for (int row = rect.top(); row <= rect.bottom() && !dateDrawn; ++row) {
                    dateDrawn = image.valid(x, row) && image.pixelColor(x, row) == dateColour;
                }
            }
            EXPECT_TRUE(dateDrawn);
        }
    };
    // At the designed width a line's trailing blanks run past the right edge.
    checkLines(false);
    // Widened, the end of each band shows.
    box->resize(box->width() + 60, box->height());
    checkLines(true);
}

// --- The typed average -------------------------------------------------------

TEST(DetailsAverage, AnEmptiedFieldBecomesZeroAndRepeatsTheLastStart) {
    test::FormFixture fixture;
    WriteStarts(fixture, {kJune3, kJuly1});
    TForm1& form = StartOnDetails(fixture);
    test::Empty(form.AveEdit);
    EXPECT_EQ(form.AveEdit->text(), "0");
    EXPECT_EQ(form.S.AverageDays, 0);
    ASSERT_EQ(form.FutureBox->count(), 20);
    for (int k = 0; k < 20; ++k) {
        EXPECT_EQ(form.FutureBox->item(k)->text(), "1998/07/01");
    }
    EXPECT_TRUE(fixture.dialogs.errors.isEmpty());
}

TEST(DetailsAverage, MinusSevenProjectsBackwardsAndListsNoCycle) {
    test::FormFixture fixture;
    WriteStarts(fixture, {kJune3, kJuly1});
    TForm1& form = StartOnDetails(fixture);
    Retype(form.AveEdit, "-7");
    // The lone minus sign on the way is no number.
    EXPECT_EQ(fixture.dialogs.errors, QStringList{"'-' は整数ではありません."});
    EXPECT_EQ(form.S.AverageDays, -7);
    ASSERT_EQ(form.FutureBox->count(), 20);
    EXPECT_EQ(form.FutureBox->item(0)->text(), "1998/07/01");
    EXPECT_EQ(form.FutureBox->item(1)->text(), "1998/06/24");
    EXPECT_EQ(form.FutureBox->item(2)->text(), "1998/06/17");
    ClickLine(form.PastBox, 0);
    ASSERT_EQ(form.CurrentBox->count(), 29);
    ClickLine(form.FutureBox, 2);
    EXPECT_EQ(form.CurrentBox->count(), 0);
    ClickLine(form.PastBox, 1);  // the last start: a cycle of -7 days
    EXPECT_EQ(form.CurrentBox->count(), 0);
}

TEST(DetailsAverage, TextThatIsNoIntegerIsReportedAndChangesNothing) {
    test::FormFixture fixture;
    WriteStarts(fixture, {kJune3, kJuly1});
    TForm1& form = StartOnDetails(fixture);
    Retype(form.AveEdit, "2");
    ASSERT_EQ(form.S.AverageDays, 2);
    ClickLine(form.PastBox, 0);
    ASSERT_EQ(form.CurrentBox->count(), 29);
    QTest::keyClicks(form.AveEdit, "x");
    EXPECT_EQ(fixture.dialogs.errors, QStringList{"'2x' は整数ではありません."});
    EXPECT_EQ(form.AveEdit->text(), "2x");
    EXPECT_EQ(form.S.AverageDays, 2);
    EXPECT_EQ(form.FutureBox->item(1)->text(), "1998/07/03");
    EXPECT_EQ(form.CurrentBox->count(), 29);
}

TEST(DetailsAverage, AHugeAverageListsAtMostTenThousandDays) {
    test::FormFixture fixture;
    WriteStarts(fixture, {kJune3, kJuly1});
    TForm1& form = StartOnDetails(fixture);
    Retype(form.AveEdit, "2000000000");
    ASSERT_EQ(form.S.AverageDays, 2000000000);
    ASSERT_EQ(form.FutureBox->count(), 20);
    ClickLine(form.PastBox, 1);  // would be two thousand million lines
    ASSERT_EQ(form.CurrentBox->count(), 10001);
    EXPECT_TRUE(form.CurrentBox->item(0)->text().startsWith("1998/07/01"));
    EXPECT_TRUE(fixture.dialogs.errors.isEmpty());
}

TEST(DetailsAverage, AChangeOfTheListRecomputesTheTypedAverage) {
    test::FormFixture fixture;
    WriteStarts(fixture, {kJune3, kJuly1});
    TForm1& form = StartOnDetails(fixture);
    Retype(form.AveEdit, "35");
    ASSERT_EQ(form.S.AverageDays, 35);
    EnterDate(form, 1998, 7, 31);
    ClickAdd(form);
    EXPECT_EQ(form.S.AverageDays, 29);  // gaps 28 and 30
    EXPECT_EQ(form.AveEdit->text(), "29");
}

TEST(DetailsAverage, WhileFixedAChangeOfTheFieldChangesNothing) {
    test::FormFixture fixture;
    WriteStarts(fixture, {kJune3, kJuly1}, "averageday=30");
    std::string ini = test::ReadBytes(fixture.SettingsPath());
    ini.replace(ini.find("setaverage=0"), 12, "setaverage=1");
    test::WriteBytes(fixture.SettingsPath(), ini);
    TForm1& form = StartOnDetails(fixture);
    ASSERT_FALSE(form.AveEdit->isEnabled());
    form.AveEdit->setText("40");
    EXPECT_EQ(form.S.AverageDays, 30);
    EXPECT_EQ(form.FutureBox->item(1)->text(), "1998/07/31");
    // Adding keeps the fixed average too.
    EnterDate(form, 1998, 7, 29);
    ClickAdd(form);
    EXPECT_EQ(form.S.AverageDays, 30);
    EXPECT_EQ(form.FutureBox->item(1)->text(), "1998/08/28");
}

// --- Whose selection ---------------------------------------------------------

TEST(DetailsSelection, OnlyHerSelectionListsACycle) {
    test::FormFixture fixture;
    WriteStarts(fixture, {kJune3, kJuly1, kJuly29});
    TForm1& form = StartOnDetails(fixture);
    for (const QListWidget* list :
         {form.PastBox, form.FutureBox, static_cast<QListWidget*>(form.CurrentBox)}) {
        EXPECT_EQ(SelectedLine(list), -1);
    }
    EXPECT_EQ(form.CurrentBox->count(), 0);

    // Focus alone makes a current line but selects nothing.
    QApplication::setActiveWindow(&form);
    form.PastBox->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(form.PastBox->hasFocus());
    EXPECT_EQ(SelectedLine(form.PastBox), -1);
    EXPECT_EQ(form.CurrentBox->count(), 0);

    // A line chosen with the keyboard is listed.
    QTest::keyClick(form.PastBox, Qt::Key_Down);
    const int chosen = SelectedLine(form.PastBox);
    ASSERT_GE(chosen, 0);
    ASSERT_GT(form.CurrentBox->count(), 0);
    EXPECT_TRUE(form.CurrentBox->item(0)->text().startsWith(form.PastBox->item(chosen)->text()));
}

TEST(DetailsSelection, RefillingTheListsFromCodeListsNothing) {
    test::FormFixture fixture;
    WriteStarts(fixture, {kJune3, kJuly1});
    std::string ini = test::ReadBytes(fixture.SettingsPath());
    ini.replace(ini.find("setaverage=0"), 12, "setaverage=1");
    test::WriteBytes(fixture.SettingsPath(), ini);
    TForm1& form = StartOnDetails(fixture);
    ClickLine(form.FutureBox, 1);
    ASSERT_TRUE(form.CurrentBox->item(0)->text().startsWith("1998/07/29"));
    EnterDate(form, 1998, 5, 6);
    ClickAdd(form);  // refills both lists; the average is fixed, so nothing else
    EXPECT_EQ(SelectedLine(form.PastBox), -1);
    EXPECT_EQ(SelectedLine(form.FutureBox), -1);
    ASSERT_EQ(form.CurrentBox->count(), 29);
    EXPECT_TRUE(form.CurrentBox->item(0)->text().startsWith("1998/07/29"));
}

}  // namespace
}  // namespace pimvesk

// The calendar page driven as she uses it: the month's layout and painting as
// rendered, the arrows and keys with the memo files saved and loaded, the day
// hint, and a month change whose files misbehave.
#include <gtest/gtest.h>

#include <cerrno>

#include "model/Cycle.h"
#include "platform/Error.h"
#include "store/Memos.h"
#include "support/CalendarDriver.h"
#include "support/FormFixture.h"
#include "ui/memo.h"

namespace pimvesk {
namespace {

using test::AllPixels;
using test::BackgroundSpot;
using test::ClickArrow;
using test::CountPixels;
using test::DayRect;
using test::GridImage;
using test::J;
using test::Serial;
using test::ShowMonth;

// A background that is neither the grid's white nor any other colour used, so
// that a cell painted in it is told apart from the grid's own fill.
constexpr TColor kBack = 0xE8F0D8;

std::string Section(int year, int month, int day, int category, const char* memo) {
    return "[" + std::to_string(Serial(year, month, day)) +
           "]\r\ncategory=" + std::to_string(category) + "\r\nmemo=" + J(memo) + "\r\n";
}

void WriteBackColor(const test::FormFixture& fixture, const std::string& more = "") {
    test::WriteBytes(fixture.SettingsPath(),
                     "[color]\r\nback=" + std::to_string(kBack) + "\r\n" + more);
}

QString Title(const TForm1& form) {
    return form.TitleLabel->text();
}

// --- The month's layout, as rendered -----------------------------------------

struct LayoutCase {
    int year;
    int month;
    const char* title;
    int firstElement;  // the element holding the 1st
    int days;
};

class MonthLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(MonthLayout, EveryCellHoldsItsDayAndBlankCellsShowOnlyTheBackground) {
    const LayoutCase& c = GetParam();
    test::FormFixture fixture;
    WriteBackColor(fixture);
    TForm1& form = fixture.Start();
    ShowMonth(form, c.year, c.month);
    EXPECT_EQ(Title(form), c.title);

    const QImage image = GridImage(form);
    for (int element = 0; element < 42; ++element) {
        const int col = element % 7;
        const int row = element / 7 + 1;
        const int day = element - c.firstElement + 1;
        const bool inMonth = day >= 1 && day <= c.days;
        SCOPED_TRACE(testing::Message() << "element " << element);
        EXPECT_EQ(CellDay(form.S.MonthCells, col, row), inMonth ? day : -1);
        const QRect cell = form.CalendarGrid->CellRect(col, row);
        if (inMonth) {
            const TColor number = col == 5   ? form.S.SaturdayColor
                                  : col == 6 ? form.S.HolidayColor
                                             : form.S.DateColor;
            EXPECT_GT(CountPixels(image, cell, number), 20);  // the day number is drawn
        } else {
            EXPECT_TRUE(AllPixels(image, cell, kBack));  // empty, no frame, no memo colour
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    EdgeMonths, MonthLayout,
    ::testing::Values(LayoutCase{1998, 8, "1998/8", 5, 31},    // the 1st a Saturday
                      LayoutCase{2010, 2, "2010/2", 0, 28},    // the 1st a Monday, 28 days
                      LayoutCase{2010, 8, "2010/8", 6, 31},    // the 1st a Sunday
                      LayoutCase{2024, 12, "2024/12", 6, 31},  // two-digit month
                      LayoutCase{2012, 2, "2012/2", 2, 29}));  // a leap February

TEST(MonthLayoutSpec, August1998AsTheDesignDescribesIt) {
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    ShowMonth(form, 1998, 8);
    const MonthCells& cells = form.S.MonthCells;
    for (int element = 0; element <= 4; ++element) {
        EXPECT_EQ(cells[static_cast<size_t>(element)], -1);
    }
    EXPECT_EQ(cells[5], 1);
    EXPECT_EQ(cells[35], 31);
    for (int element = 36; element <= 41; ++element) {
        EXPECT_EQ(cells[static_cast<size_t>(element)], -1);
    }
}

TEST(HeaderRow, WeekdayLettersInTheirColoursOnTheBackground) {
    test::FormFixture fixture;
    WriteBackColor(fixture);
    TForm1& form = fixture.Start();
    const QImage image = GridImage(form);
    for (int col = 0; col < 7; ++col) {
        SCOPED_TRACE(col);
        const QRect cell = form.CalendarGrid->CellRect(col, 0);
        const TColor letter = col == 5   ? form.S.SaturdayColor
                              : col == 6 ? form.S.HolidayColor
                                         : form.S.DateColor;
        EXPECT_GT(CountPixels(image, cell, letter), 20);
        EXPECT_TRUE(AllPixels(image, BackgroundSpot(cell), kBack));
    }
}

// --- Painting -----------------------------------------------------------------

QColor ExpectedBackground(const VeskState& s, TDayKind kind) {
    switch (kind) {
        case dkPeriod:
            return ToQColor(s.PeriodColor);
        case dkOvulation:
        case dkDanger:
            return ToQColor(s.DangerColor);
        case dkNormal:
            break;
    }
    return ToQColor(s.BackColor);
}

TEST(Painting, EachDaysBackgroundFollowsItsKind) {
    test::FormFixture fixture;
    // One start on Monday 2010-08-02, average 28, ovulation day 14, 6 period days.
    WriteBackColor(fixture, "[date]\r\ncount=1\r\n0=" + std::to_string(Serial(2010, 8, 2)) +
                                "\r\n[option]\r\naverageday=28\r\n");
    TForm1& form = fixture.Start();
    ShowMonth(form, 2010, 8);
    const QImage image = GridImage(form);
    int seen[4] = {};
    for (int day = 1; day <= 31; ++day) {
        SCOPED_TRACE(day);
        const TDayKind kind = KindOfDate(EncodeDate(2010, 8, day), form.S.Periods,
                                         form.S.AverageDays, form.S.Cycle());
        ++seen[kind];
        EXPECT_TRUE(AllPixels(image, BackgroundSpot(DayRect(form, day)),
                              FromQColor(ExpectedBackground(form.S, kind))));
    }
    EXPECT_EQ(seen[dkPeriod], 6 + 2);  // and the 30th and 31st, of the projected start
    EXPECT_EQ(seen[dkOvulation], 1);
    EXPECT_GT(seen[dkDanger], 0);
    EXPECT_GT(seen[dkNormal], 0);
    EXPECT_EQ(KindOfDate(EncodeDate(2010, 8, 1), form.S.Periods, 28, form.S.Cycle()), dkNormal);
}

TEST(Painting, ThePeriodStartIsInPeriodColourAndTheOvulationDayInDangerColour) {
    test::FormFixture fixture;
    WriteBackColor(fixture, "period=12345678\r\ndanger=3355443\r\n[date]\r\ncount=1\r\n0=" +
                                std::to_string(Serial(2010, 8, 2)) + "\r\n");
    TForm1& form = fixture.Start();
    ShowMonth(form, 2010, 8);
    const QImage image = GridImage(form);
    EXPECT_TRUE(AllPixels(image, BackgroundSpot(DayRect(form, 2)), 12345678));
    EXPECT_TRUE(AllPixels(image, BackgroundSpot(DayRect(form, 7)), 12345678));
    EXPECT_TRUE(AllPixels(image, BackgroundSpot(DayRect(form, 1)), kBack));
    int ovulation = 0;
    for (int day = 1; day <= 31; ++day) {
        if (KindOfDate(EncodeDate(2010, 8, day), form.S.Periods, 28, form.S.Cycle()) ==
            dkOvulation) {
            ovulation = day;
        }
    }
    ASSERT_GT(ovulation, 0);
    EXPECT_TRUE(AllPixels(image, BackgroundSpot(DayRect(form, ovulation)), 3355443));
}

TEST(Painting, ASaturdayMemoShowsItsNumberInTheCategoryColour) {
    test::FormFixture fixture;
    WriteBackColor(fixture);
    // 2010-08-14 and 2010-08-21 are Saturdays, 2010-08-15 a Sunday.
    test::WriteBytes(fixture.MonthFile(2010, 8),
                     Section(2010, 8, 14, 2, "通院") + Section(2010, 8, 15, 4, "体温"));
    TForm1& form = fixture.Start();
    ShowMonth(form, 2010, 8);
    ASSERT_EQ(form.S.Memos.size(), 2u);
    const QImage image = GridImage(form);
    const QRect memoDay = DayRect(form, 14);
    EXPECT_GT(CountPixels(image, memoDay, form.S.CategoryColors[2]), 20);
    EXPECT_EQ(CountPixels(image, memoDay, form.S.SaturdayColor), 0);
    EXPECT_TRUE(AllPixels(image, BackgroundSpot(memoDay), kBack));  // its kind: ordinary
    const QRect sunday = DayRect(form, 15);
    EXPECT_GT(CountPixels(image, sunday, form.S.CategoryColors[4]), 20);
    EXPECT_EQ(CountPixels(image, sunday, form.S.HolidayColor), 0);
    const QRect plainSaturday = DayRect(form, 21);
    EXPECT_GT(CountPixels(image, plainSaturday, form.S.SaturdayColor), 20);
    EXPECT_EQ(CountPixels(image, plainSaturday, form.S.CategoryColors[2]), 0);
}

TEST(Painting, AMemoOnAPeriodDayKeepsThePeriodBackground) {
    test::FormFixture fixture;
    WriteBackColor(fixture,
                   "[date]\r\ncount=1\r\n0=" + std::to_string(Serial(2010, 8, 2)) + "\r\n");
    test::WriteBytes(fixture.MonthFile(2010, 8), Section(2010, 8, 3, 1, "頭痛"));
    TForm1& form = fixture.Start();
    ShowMonth(form, 2010, 8);
    const QImage image = GridImage(form);
    EXPECT_GT(CountPixels(image, DayRect(form, 3), form.S.CategoryColors[1]), 20);
    EXPECT_TRUE(AllPixels(image, BackgroundSpot(DayRect(form, 3)), form.S.PeriodColor));
}

TEST(Painting, ACategoryAboveFourIsPaintedAsTheFirst) {
    test::FormFixture fixture;
    WriteBackColor(fixture);
    test::WriteBytes(fixture.MonthFile(2010, 8), Section(2010, 8, 10, 9, "手書き"));
    TForm1& form = fixture.Start();
    ShowMonth(form, 2010, 8);
    const QImage image = GridImage(form);
    EXPECT_GT(CountPixels(image, DayRect(form, 10), form.S.CategoryColors[0]), 20);
    EXPECT_EQ(CountPixels(image, DayRect(form, 10), form.S.DateColor), 0);
}

bool HasFrame(const QImage& image, const QRect& cell, TColor color) {
    return AllPixels(image, test::FrameRightEdge(cell), color) &&
           AllPixels(image, test::FrameBottomEdge(cell), color);
}

// The cells of the month shown that carry today's frame.
std::vector<int> FramedDays(TForm1& form) {
    const QImage image = GridImage(form);
    std::vector<int> framed;
    for (int day = 1; day <= 31; ++day) {
        const QRect cell = DayRect(form, day);
        if (!cell.isNull() && HasFrame(image, cell, form.S.DateColor)) {
            framed.push_back(day);
        }
    }
    return framed;
}

TEST(TodaysFrame, OnlyTodaysCellInTodaysMonth) {
    test::FormFixture fixture;
    WriteBackColor(fixture);
    TForm1& form = fixture.Start();
    EXPECT_EQ(FramedDays(form), std::vector<int>{form.S.TodayDay});

    ClickArrow(form.NextLabel);
    EXPECT_EQ(FramedDays(form), std::vector<int>{});
    ClickArrow(form.PrevLabel);
    ClickArrow(form.PrevLabel);
    EXPECT_EQ(FramedDays(form), std::vector<int>{});
    // The same month a year earlier holds the same day number, unframed.
    for (int k = 0; k < 11; ++k) {
        ClickArrow(form.PrevLabel);
    }
    EXPECT_EQ(form.S.ViewDate, EncodeDate(form.S.TodayYear - 1, form.S.TodayMonth, 1));
    EXPECT_EQ(FramedDays(form), std::vector<int>{});
    ShowMonth(form, form.S.TodayYear, form.S.TodayMonth);
    EXPECT_EQ(FramedDays(form), std::vector<int>{form.S.TodayDay});
}

TEST(TodaysFrame, IsDrawnInDateColour) {
    test::FormFixture fixture;
    WriteBackColor(fixture, "date=8388736\r\n");  // purple numbers and frame
    TForm1& form = fixture.Start();
    ASSERT_EQ(form.S.DateColor, 8388736);
    const QImage image = GridImage(form);
    EXPECT_TRUE(HasFrame(image, DayRect(form, form.S.TodayDay), 8388736));
}

TEST(Painting, LeavesTheHoveredDayAlone) {
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    ShowMonth(form, 2010, 8);
    test::HoverDay(form, 17);
    ASSERT_EQ(form.S.ViewDate, EncodeDate(2010, 8, 17));
    form.CalendarGrid->repaint();
    GridImage(form);
    EXPECT_EQ(form.S.ViewDate, EncodeDate(2010, 8, 17));
}

// --- Changing the month --------------------------------------------------------

struct Navigator {
    const char* name;
    void (*next)(TForm1&);
    void (*previous)(TForm1&);
};

const Navigator kNavigators[] = {
    {"Arrows", [](TForm1& f) { ClickArrow(f.NextLabel); },
     [](TForm1& f) { ClickArrow(f.PrevLabel); }},
    {"Keys", [](TForm1& f) { QTest::keyClick(f.CalendarGrid, Qt::Key_Right); },
     [](TForm1& f) { QTest::keyClick(f.CalendarGrid, Qt::Key_Left); }},
};

class MonthChange : public ::testing::TestWithParam<Navigator> {};

TEST_P(MonthChange, SavesTheMonthLeftAndLoadsTheNewOne) {
    const Navigator& go = GetParam();
    test::FormFixture fixture;
    test::WriteBytes(fixture.MonthFile(2010, 8), Section(2010, 8, 5, 1, "八月"));
    test::WriteBytes(fixture.MonthFile(2010, 9), Section(2010, 9, 9, 3, "九月"));
    TForm1& form = fixture.Start();
    ShowMonth(form, 2010, 8);
    ASSERT_EQ(form.S.Memos.size(), 1u);
    EXPECT_EQ(form.S.Memos[0].Text, J("八月"));

    // A memo whose write failed stays in memory, and reaches its file when the
    // month is left.
    fixture.UseFaultyFiles();
    fixture.faulty.FailAt(test::FaultyFileSystem::kRename, 1, ENOSPC);
    try {
        PutMemo(form.S, EncodeDate(2010, 8, 20), 2, J("未保存"));
        ADD_FAILURE() << "the write should have failed";
    } catch (const Error&) {
    }
    const std::string august = test::ReadBytes(fixture.MonthFile(2010, 8));
    EXPECT_EQ(august.find(J("未保存")), std::string::npos);

    go.next(form);
    EXPECT_EQ(Title(form), "2010/9");
    EXPECT_EQ(form.S.ViewDate, EncodeDate(2010, 9, 1));
    ASSERT_EQ(form.S.Memos.size(), 1u);
    EXPECT_EQ(form.S.Memos[0].Text, J("九月"));
    EXPECT_EQ(form.S.Memos[0].Category, 3);
    EXPECT_NE(test::ReadBytes(fixture.MonthFile(2010, 8)).find(J("未保存")), std::string::npos);

    go.previous(form);
    EXPECT_EQ(Title(form), "2010/8");
    ASSERT_EQ(form.S.Memos.size(), 2u);
    EXPECT_EQ(form.S.Memos[1].Text, J("未保存"));
    EXPECT_EQ(form.S.Memos[1].Category, 2);
    EXPECT_TRUE(fixture.dialogs.errors.isEmpty()) << fixture.dialogs.errors.join("|").toStdString();
}

TEST_P(MonthChange, FromDecemberToJanuaryAndBackWhateverTheDay) {
    const Navigator& go = GetParam();
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    ShowMonth(form, 2009, 12);
    test::HoverDay(form, 27);
    ASSERT_EQ(form.S.ViewDate, EncodeDate(2009, 12, 27));
    go.next(form);
    EXPECT_EQ(form.S.ViewDate, EncodeDate(2010, 1, 1));
    EXPECT_EQ(Title(form), "2010/1");
    test::HoverDay(form, 31);
    go.previous(form);
    EXPECT_EQ(form.S.ViewDate, EncodeDate(2009, 12, 1));
    EXPECT_EQ(Title(form), "2009/12");
}

TEST_P(MonthChange, AMonthWithoutMemosCreatesNoFile) {
    const Navigator& go = GetParam();
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    go.next(form);
    go.previous(form);
    go.previous(form);
    EXPECT_FALSE(test::Exists(fixture.dir.File("data")));
}

INSTANTIATE_TEST_SUITE_P(ByArrowsAndKeys, MonthChange, ::testing::ValuesIn(kNavigators),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MonthKeys, UpAndDownMoveTheCurrentCellOnly) {
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    ShowMonth(form, 2010, 8);
    const int row = form.CalendarGrid->CurrentRow();
    QTest::keyClick(form.CalendarGrid, Qt::Key_Down);
    EXPECT_EQ(form.CalendarGrid->CurrentRow(), row + 1);
    EXPECT_EQ(form.S.HotRow, row + 1);
    QTest::keyClick(form.CalendarGrid, Qt::Key_Down);
    QTest::keyClick(form.CalendarGrid, Qt::Key_Up);
    EXPECT_EQ(form.CalendarGrid->CurrentRow(), row + 1);
    EXPECT_EQ(form.S.ViewDate, EncodeDate(2010, 8, 1));
    EXPECT_EQ(Title(form), "2010/8");
    // Never onto the header row, never past the last week.
    for (int k = 0; k < 8; ++k) {
        QTest::keyClick(form.CalendarGrid, Qt::Key_Up);
    }
    EXPECT_EQ(form.CalendarGrid->CurrentRow(), 1);
    for (int k = 0; k < 8; ++k) {
        QTest::keyClick(form.CalendarGrid, Qt::Key_Down);
    }
    EXPECT_EQ(form.CalendarGrid->CurrentRow(), 6);
    EXPECT_EQ(Title(form), "2010/8");
}

TEST(MonthKeys, LeftAndRightAlsoMoveTheCurrentCell) {
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    const int col = form.CalendarGrid->CurrentCol();
    QTest::keyClick(form.CalendarGrid, Qt::Key_Right);
    EXPECT_EQ(form.CalendarGrid->CurrentCol(), col + 1);
    EXPECT_EQ(form.S.HotCol, col + 1);
}

TEST(MonthChangeFailure, ASaveThatFailsKeepsTheMonthShown) {
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    ShowMonth(form, 2010, 8);
    fixture.UseFaultyFiles();
    // A memo only in memory (its own write failed), then every write fails.
    fixture.faulty.FailFrom(test::FaultyFileSystem::kRename, 1, EIO);
    EXPECT_THROW(PutMemo(form.S, EncodeDate(2010, 8, 3), 0, "x"), Error);
    ClickArrow(form.NextLabel);
    EXPECT_EQ(fixture.dialogs.errors.size(), 1);
    EXPECT_EQ(form.S.ViewDate, EncodeDate(2010, 8, 1));
    EXPECT_EQ(Title(form), "2010/8");
    EXPECT_EQ(form.S.Memos.size(), 1u);
    EXPECT_FALSE(test::Exists(fixture.MonthFile(2010, 8)));
    fixture.faulty.Heal();
    ClickArrow(form.NextLabel);
    EXPECT_EQ(Title(form), "2010/9");
    EXPECT_TRUE(test::Exists(fixture.MonthFile(2010, 8)));
}

TEST(MonthChangeFailure, AnUnreadableNewMonthStillShowsThatMonth) {
    test::FormFixture fixture;
    test::WriteBytes(fixture.MonthFile(2011, 4), Section(2011, 4, 30, 1, "四月"));
    TForm1& form = fixture.Start();
    ShowMonth(form, 2011, 3);  // 31 days, to a month of 30
    fixture.UseFaultyFiles();
    fixture.faulty.FailFrom(test::FaultyFileSystem::kRead, 1, EIO);
    ClickArrow(form.NextLabel);
    ASSERT_EQ(fixture.dialogs.errors.size(), 1);
    EXPECT_TRUE(fixture.dialogs.errors[0].contains("を読み込めません"))
        << fixture.dialogs.errors[0].toStdString();
    EXPECT_EQ(form.S.ViewDate, EncodeDate(2011, 4, 1));
    EXPECT_EQ(Title(form), "2011/4");
    EXPECT_EQ(form.S.MonthCells, BuildMonthGrid(EncodeDate(2011, 4, 1)));
    EXPECT_TRUE(form.S.Memos.empty());
    int col = 0;
    int row = 0;
    EXPECT_FALSE(test::CellOfDay(form, 31, col, row));
    GridImage(form);  // paints without a day that April lacks

    // The file was not written over, and is read once it can be.
    fixture.faulty.Heal();
    ClickArrow(form.PrevLabel);
    ClickArrow(form.NextLabel);
    ASSERT_EQ(form.S.Memos.size(), 1u);
    EXPECT_EQ(form.S.Memos[0].Text, J("四月"));
}

TEST(MonthChangeFailure, ASectionThatIsNoDayIsReportedAndTheRestLoads) {
    test::FormFixture fixture;
    const std::string file = "[abc]\r\nmemo=x\r\n" + Section(2010, 9, 2, 1, "読める");
    test::WriteBytes(fixture.MonthFile(2010, 9), file);
    TForm1& form = fixture.Start();
    ShowMonth(form, 2010, 8);
    fixture.dialogs.errors.clear();  // passed through September on the way
    ClickArrow(form.NextLabel);
    ASSERT_EQ(fixture.dialogs.errors.size(), 1) << fixture.dialogs.errors.join("|").toStdString();
    EXPECT_TRUE(fixture.dialogs.errors[0].contains("'abc' は整数ではありません"));
    EXPECT_EQ(Title(form), "2010/9");
    ASSERT_EQ(form.S.Memos.size(), 1u);
    EXPECT_EQ(form.S.Memos[0].Text, J("読める"));
    EXPECT_EQ(test::ReadBytes(fixture.MonthFile(2010, 9)), file);
}

struct RangeCase {
    int year;
    int month;
    bool next;
};

class MonthRangeEnd : public ::testing::TestWithParam<RangeCase> {};

TEST_P(MonthRangeEnd, StepsPastTheDateRangeAreRefused) {
    const RangeCase& c = GetParam();
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    form.S.ViewDate = EncodeDate(c.year, c.month, 1);
    form.RefreshCalendar();
    const QString title = Title(form);
    ClickArrow(c.next ? form.NextLabel : form.PrevLabel);
    ASSERT_EQ(fixture.dialogs.errors.size(), 1);
    EXPECT_EQ(fixture.dialogs.errors[0], "日付に変換できない値が渡されました.");
    EXPECT_EQ(form.S.ViewDate, EncodeDate(c.year, c.month, 1));
    EXPECT_EQ(Title(form), title);
    EXPECT_EQ(form.S.MonthCells, BuildMonthGrid(form.S.ViewDate));
}

INSTANTIATE_TEST_SUITE_P(FirstAndLastMonth, MonthRangeEnd,
                         ::testing::Values(RangeCase{9999, 12, true}, RangeCase{1, 1, false}));

// --- The day hint ---------------------------------------------------------------

TEST(DayHint, DateOrDateAndMemoAndNothingOverHeaderOrBlankCells) {
    test::FormFixture fixture;
    test::WriteBytes(fixture.MonthFile(2010, 8),
                     Section(2010, 8, 5, 1, "婦人科 10:30") + Section(2010, 8, 6, 2, ""));
    TForm1& form = fixture.Start();
    ShowMonth(form, 2010, 8);

    test::HoverDay(form, 3);
    EXPECT_EQ(form.CalendarGrid->toolTip(), "2010/08/03");
    EXPECT_EQ(form.S.ViewDate, EncodeDate(2010, 8, 3));
    test::HoverDay(form, 5);
    EXPECT_EQ(form.CalendarGrid->toolTip(), QString::fromUtf8("2010/08/05\n婦人科 10:30"));
    EXPECT_EQ(form.S.ViewDate, EncodeDate(2010, 8, 5));
    test::HoverDay(form, 6);  // a memo with an empty text: no second line
    EXPECT_EQ(form.CalendarGrid->toolTip(), "2010/08/06");

    test::HoverCell(form, 3, 0);  // the header
    EXPECT_EQ(form.CalendarGrid->toolTip(), "");
    EXPECT_EQ(form.S.ViewDate, EncodeDate(2010, 8, 6));
    EXPECT_EQ(form.S.HotRow, 0);
    test::HoverDay(form, 31);
    test::HoverCell(form, 0, 1);  // blank: August 2010 begins on a Sunday
    EXPECT_EQ(form.CalendarGrid->toolTip(), "");
    EXPECT_EQ(form.S.ViewDate, EncodeDate(2010, 8, 31));
    test::HoverCell(form, 6, 6);  // blank after the 31st
    EXPECT_EQ(form.CalendarGrid->toolTip(), "");
}

TEST(DayHint, ShowsAMemoJustRegistered) {
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    ShowMonth(form, 2010, 8);
    PutMemo(form.S, EncodeDate(2010, 8, 12), 0, J("薬"));
    test::HoverDay(form, 12);
    EXPECT_EQ(form.CalendarGrid->toolTip(), QString::fromUtf8("2010/08/12\n薬"));
}

TEST(DoubleClick, OnTheHeaderOrABlankCellOpensNothing) {
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    ShowMonth(form, 2010, 8);
    for (const QPoint cell : {QPoint(2, 0), QPoint(0, 1), QPoint(5, 6)}) {
        const QPoint point = form.CalendarGrid->CellRect(cell.x(), cell.y()).center();
        test::MouseTo(form.CalendarGrid, point);
        QTest::mouseDClick(form.CalendarGrid, Qt::LeftButton, {}, point);
        EXPECT_FALSE(fixture.memo->isVisible());
        EXPECT_TRUE(form.isEnabled());
    }
    EXPECT_EQ(form.S.ViewDate, EncodeDate(2010, 8, 1));
}

}  // namespace
}  // namespace pimvesk

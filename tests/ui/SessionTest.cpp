// A whole first session as a new user lives it, then the next start: all she
// did is there again.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

#include "PageDrive.h"
#include "platform/DateTime.h"
#include "store/IniFile.h"
#include "store/Memos.h"
#include "ui/CellGrid.h"
#include "ui/ClickLabel.h"
#include "ui/ColorShape.h"
#include "ui/UiText.h"
#include "ui/memo.h"

namespace pimvesk {
namespace {

void AddStart(TForm1& form, int year, int month, int day) {
    test::Retype(form.YearUD, QString::number(year));
    test::Retype(form.MonthUD, QString::number(month));
    test::Retype(form.DateUD, QString::number(day));
    QTest::mouseClick(form.AddButton, Qt::LeftButton);
}

QPoint CentreOfDay(const TForm1& form, int day) {
    for (int row = 1; row <= 6; ++row) {
        for (int col = 0; col < 7; ++col) {
            if (CellDay(form.S.MonthCells, col, row) == day) {
                return form.CalendarGrid->CellRect(col, row).center();
            }
        }
    }
    ADD_FAILURE() << "day " << day << " is not in the month shown";
    return {};
}

TEST(Session, EverythingSheDidIsThereAtTheNextStart) {
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t today = 0;
    DecodeDate(Today(), year, month, today);
    const TDateTime memoDay = EncodeDate(year, month, 15);

    // Three starts on the Details page.
    test::ShowPage(form, 1);
    AddStart(form, 2024, 1, 8);
    AddStart(form, 2024, 2, 5);
    AddStart(form, 2024, 3, 4);
    ASSERT_EQ(form.S.AverageDays, 28);

    // A fixed average of 30 and a new period colour on the Options page.
    test::ShowPage(form, 2);
    test::ClickRadio(form.AverageItems->button(1));
    ASSERT_TRUE(form.S.FixedAverage);
    test::Retype(form.FixAveEdit, "30");
    ASSERT_EQ(form.S.AverageDays, 30);
    fixture.dialogs.colorAnswers = {QColor(200, 80, 90)};
    QTest::mouseClick(form.PeriodShape, Qt::LeftButton);

    // A memo for the 15th through the memo dialog.
    test::ShowPage(form, 0);
    const QPoint at = CentreOfDay(form, 15);
    QTest::mouseMove(form.CalendarGrid, at);
    QTest::mouseDClick(form.CalendarGrid, Qt::LeftButton, {}, at);
    TMemoForm& memo = *fixture.memo;
    ASSERT_TRUE(memo.isVisible());
    for (QChar c : QString::fromUtf8("婦人科 10:30")) {
        test::TypeText(memo.Memo1, QString(c));
    }
    QTest::keyClick(memo.CategoryBox, Qt::Key_Down);
    ASSERT_EQ(memo.CategoryBox->currentIndex(), 1);
    QTest::mouseClick(memo.OKButton, Qt::LeftButton);
    ASSERT_FALSE(memo.isVisible());

    // The next month, then close.
    QTest::mouseClick(form.NextLabel, Qt::LeftButton, {}, form.NextLabel->rect().center());
    ASSERT_NE(form.TitleLabel->text(), QString("%1/%2").arg(year).arg(month));
    ASSERT_TRUE(fixture.Close());
    ASSERT_TRUE(fixture.dialogs.errors.isEmpty())
        << fixture.dialogs.errors.join('\n').toStdString();

    // Start again.
    fixture.memo.reset();
    fixture.form.reset();
    TForm1& again = fixture.Start();
    EXPECT_TRUE(fixture.dialogs.errors.isEmpty());
    EXPECT_EQ(test::Lines(again.PastBox), (QStringList{"2024/01/08", "2024/02/05", "2024/03/04"}));
    EXPECT_TRUE(again.AverageItems->button(1)->isChecked());
    EXPECT_EQ(again.FixAveEdit->text(), "30");
    EXPECT_TRUE(again.FixAveEdit->isEnabled());
    EXPECT_EQ(again.AveEdit->text(), "30");
    EXPECT_FALSE(again.AveEdit->isEnabled());
    EXPECT_EQ(again.FutureBox->item(1)->text(), "2024/04/03");
    EXPECT_EQ(again.PeriodShape->Color(), QColor(200, 80, 90));
    EXPECT_EQ(again.S.PeriodColor, FromQColor(QColor(200, 80, 90)));

    EXPECT_EQ(again.TitleLabel->text(), QString("%1/%2").arg(year).arg(month));
    std::string text;
    EXPECT_EQ(FindMemo(again.S.Memos, memoDay, text), 1);
    EXPECT_EQ(text, test::J("婦人科 10:30"));
    // Her hint over the 15th shows the memo.
    QTest::mouseMove(again.CalendarGrid, CentreOfDay(again, 14));
    QTest::mouseMove(again.CalendarGrid, CentreOfDay(again, 15));
    EXPECT_TRUE(again.CalendarGrid->toolTip().contains(QString::fromUtf8("婦人科 10:30")))
        << again.CalendarGrid->toolTip().toStdString();
}

}  // namespace
}  // namespace pimvesk

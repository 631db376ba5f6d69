// The memo dialog driven as she uses it: opened by a double-click on a day,
// its text typed, pasted or refused, its category chosen, and its three buttons,
// with the month file checked after each.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <cerrno>
#include <functional>

#include "store/Memos.h"
#include "support/CalendarDriver.h"
#include "support/FormFixture.h"
#include "ui/ColorShape.h"
#include "ui/memo.h"

namespace pimvesk {
namespace {

using test::CountPixels;
using test::DayRect;
using test::J;
using test::Serial;
using Op = test::FaultyFileSystem::Op;

std::string Section(int year, int month, int day, int category, const char* memo) {
    return "[" + std::to_string(Serial(year, month, day)) +
           "]\r\ncategory=" + std::to_string(category) + "\r\nmemo=" + J(memo) + "\r\n";
}

void ChooseCategoryIn(TMemoForm& memo, int index) {
    while (memo.CategoryBox->currentIndex() < index) {
        QTest::keyClick(memo.CategoryBox, Qt::Key_Down);
    }
}

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// August 2010 on screen, the given memo file in place.
class MemoDialog : public ::testing::Test {
protected:
    TForm1& Start(const std::string& august = "") {
        if (!august.empty()) {
            test::WriteBytes(AugustFile(), august);
        }
        TForm1& form = fixture.Start();
        test::ShowMonth(form, 2010, 8);
        fixture.UseFaultyFiles();  // counts every file operation from here on
        return form;
    }
    std::string AugustFile() const { return fixture.MonthFile(2010, 8); }
    TMemoForm& Memo() { return *fixture.memo; }
    TForm1& Form() { return *fixture.form; }

    void Open(int day) {
        test::DoubleClickDay(Form(), day);
        QApplication::processEvents();
    }
    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Text as an input method commits it: how Japanese reaches the field.
    void Commit(const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(Memo().Memo1, &event);
    }
    void ClearText() {
        Memo().Memo1->selectAll();
        QTest::keyClick(Memo().Memo1, Qt::Key_Delete);
    }
    // The category as she picks it: the list's keys, one step at a time.
    void ChooseCategory(int index) {
        QComboBox* box = Memo().CategoryBox;
        while (box->currentIndex() < index) {
            QTest::keyClick(box, Qt::Key_Down);
        }
        while (box->currentIndex() > index) {
            QTest::keyClick(box, Qt::Key_Up);
        }
    }
    bool Shown() { return Memo().isVisible(); }

    test::FormFixture fixture;
};

TEST_F(MemoDialog, ADayWithoutMemoOpensEmptyOnTheFirstCategory) {
    TForm1& form = Start();
    Open(12);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(Memo().windowTitle(), U("1行メモ"));
    EXPECT_EQ(Memo().Label1->text(), "2010/08/12");
    EXPECT_EQ(Memo().Memo1->toPlainText(), "");
    EXPECT_EQ(Memo().CategoryBox->currentIndex(), 0);
    EXPECT_EQ(Memo().MemoShape->Color(), ToQColor(form.S.CategoryColors[0]));
    EXPECT_EQ(Memo().CategoryBox->itemText(0), U("メモ1"));
    EXPECT_EQ(Memo().CategoryBox->itemText(4), U("メモ5"));
    EXPECT_EQ(QApplication::focusWidget(), Memo().Memo1);
    EXPECT_FALSE(form.isEnabled());
    EXPECT_EQ(form.S.ViewDate, EncodeDate(2010, 8, 12));
}

TEST_F(MemoDialog, ADayWithAMemoOpensOnItsTextAndCategory) {
    Start(Section(2010, 8, 5, 3, "婦人科 10:30"));
    Open(5);
    EXPECT_EQ(Memo().Memo1->toPlainText(), U("婦人科 10:30"));
    EXPECT_EQ(Memo().CategoryBox->currentIndex(), 3);
    EXPECT_EQ(Memo().MemoShape->Color(), ToQColor(Form().S.CategoryColors[3]));
}

TEST_F(MemoDialog, RegisteringWritesTheMonthFileAndTheGridShowsTheColourOnceHidden) {
    TForm1& form = Start();
    Open(14);  // a Saturday
    Commit(U("通院"));
    ChooseCategory(2);
    Click(Memo().OKButton);
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(form.isEnabled());
    ASSERT_EQ(form.S.Memos.size(), 1u);
    EXPECT_EQ(form.S.Memos[0].Category, 2);
    EXPECT_EQ(test::ReadBytes(AugustFile()), Section(2010, 8, 14, 2, "通院"));
    EXPECT_TRUE(fixture.dialogs.errors.isEmpty());

    // What the screen shows, not a fresh rendering: the window's own pixels.
    QApplication::processEvents();
    const QImage screen = form.screen()->grabWindow(form.winId()).toImage();
    const QPoint origin = form.CalendarGrid->mapTo(&form, QPoint(0, 0));
    const QRect cell = DayRect(form, 14).translated(origin);
    EXPECT_GT(CountPixels(screen, cell, form.S.CategoryColors[2]), 20);
    EXPECT_EQ(CountPixels(screen, cell, form.S.SaturdayColor), 0);
}

TEST_F(MemoDialog, RegisteringAgainReplacesTextAndCategory) {
    TForm1& form = Start(Section(2010, 8, 5, 1, "旧"));
    Open(5);
    ChooseCategory(4);
    Click(Memo().OKButton);
    ASSERT_EQ(form.S.Memos.size(), 1u);
    EXPECT_EQ(form.S.Memos[0].Category, 4);
    EXPECT_EQ(form.S.Memos[0].Text, J("旧"));
    EXPECT_EQ(test::ReadBytes(AugustFile()), Section(2010, 8, 5, 4, "旧"));
    Open(5);
    ClearText();
    Commit(U("新"));
    Click(Memo().OKButton);
    EXPECT_EQ(test::ReadBytes(AugustFile()), Section(2010, 8, 5, 4, "新"));
}

TEST_F(MemoDialog, AnEmptyTextOnADayWithAMemoChangesNothing) {
    const std::string file = Section(2010, 8, 5, 1, "頭痛");
    TForm1& form = Start(file);
    Open(5);
    ClearText();
    ChooseCategory(3);
    Click(Memo().OKButton);
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(form.isEnabled());
    ASSERT_EQ(form.S.Memos.size(), 1u);
    EXPECT_EQ(form.S.Memos[0].Text, J("頭痛"));
    EXPECT_EQ(form.S.Memos[0].Category, 1);
    EXPECT_EQ(test::ReadBytes(AugustFile()), file);
    EXPECT_EQ(fixture.faulty.Replacements(), 0);
}

TEST_F(MemoDialog, AnEmptyTextOnADayWithoutMemoStoresNothing) {
    TForm1& form = Start();
    Open(9);
    Click(Memo().OKButton);
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(form.S.Memos.empty());
    EXPECT_FALSE(test::Exists(fixture.dir.File("data")));
}

TEST_F(MemoDialog, DeleteRemovesTheMemoFromListAndFile) {
    TForm1& form = Start(Section(2010, 8, 5, 1, "頭痛") + Section(2010, 8, 6, 2, "熱"));
    Open(5);
    Click(Memo().DeleteButton);
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(form.isEnabled());
    ASSERT_EQ(form.S.Memos.size(), 1u);
    EXPECT_EQ(test::ReadBytes(AugustFile()), Section(2010, 8, 6, 2, "熱"));
}

TEST_F(MemoDialog, DeleteOnADayWithoutMemoTouchesNoFile) {
    const std::string file = Section(2010, 8, 5, 1, "頭痛");
    TForm1& form = Start(file);
    fixture.faulty.ResetCounts();
    Open(20);
    Click(Memo().DeleteButton);
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(form.isEnabled());
    EXPECT_EQ(form.S.Memos.size(), 1u);
    EXPECT_EQ(test::ReadBytes(AugustFile()), file);
    EXPECT_EQ(fixture.faulty.Calls(test::FaultyFileSystem::kCreate), 0);
    EXPECT_EQ(fixture.faulty.Calls(test::FaultyFileSystem::kRename), 0);
    EXPECT_EQ(fixture.faulty.Calls(test::FaultyFileSystem::kStat), 0);
}

TEST_F(MemoDialog, CancelAndTheCloseButtonStoreNothing) {
    const std::string file = Section(2010, 8, 5, 1, "頭痛");
    TForm1& form = Start(file);
    for (bool byCloseButton : {false, true}) {
        Open(5);
        ClearText();
        Commit(U("別の文"));
        ChooseCategory(3);
        if (byCloseButton) {
            Memo().close();
        } else {
            Click(Memo().CancelButton);
        }
        EXPECT_FALSE(Shown());
        EXPECT_TRUE(form.isEnabled());
        EXPECT_EQ(form.S.Memos[0].Text, J("頭痛"));
        EXPECT_EQ(form.S.Memos[0].Category, 1);
        EXPECT_EQ(test::ReadBytes(AugustFile()), file);
    }
    // Nothing of that showing carries over to the next.
    Open(5);
    EXPECT_EQ(Memo().Memo1->toPlainText(), U("頭痛"));
    EXPECT_EQ(Memo().CategoryBox->currentIndex(), 1);
}

TEST_F(MemoDialog, ChoosingACategoryRecoloursTheSquareAtOnce) {
    TForm1& form = Start();
    Open(3);
    for (int index : {1, 2, 3, 4, 0}) {
        ChooseCategory(index);
        EXPECT_EQ(Memo().MemoShape->Color(),
                  ToQColor(form.S.CategoryColors[static_cast<size_t>(index)]));
    }
    EXPECT_FALSE(test::Exists(fixture.dir.File("data")));
}

TEST_F(MemoDialog, RenamedAndRecolouredCategoriesShowAtTheNextOpening) {
    TForm1& form = Start();
    form.S.CategoryNames[2] = J("体温");
    form.S.CategoryColors[2] = 0x123456;
    Open(3);
    EXPECT_EQ(Memo().CategoryBox->itemText(2), U("体温"));
    ChooseCategory(2);
    EXPECT_EQ(Memo().MemoShape->Color(), ToQColor(0x123456));
}

TEST_F(MemoDialog, AFailedWriteKeepsTheDialogOpenAndTheWindowDisabled) {
    TForm1& form = Start();
    Open(7);
    Commit(U("薬を飲む"));
    ChooseCategory(1);
    fixture.faulty.FailFrom(test::FaultyFileSystem::kRename, 1, ENOSPC);
    Click(Memo().OKButton);
    ASSERT_EQ(fixture.dialogs.errors.size(), 1);
    EXPECT_TRUE(fixture.dialogs.errors[0].contains("に書き込めません"))
        << fixture.dialogs.errors[0].toStdString();
    EXPECT_TRUE(Shown());
    EXPECT_FALSE(form.isEnabled());
    EXPECT_EQ(Memo().Memo1->toPlainText(), U("薬を飲む"));
    EXPECT_EQ(form.S.Memos.size(), 1u);  // kept in memory, saved with the month
    EXPECT_FALSE(test::Exists(AugustFile()));

    // Once the disk has room again, 登録 once more succeeds.
    fixture.faulty.Heal();
    Click(Memo().OKButton);
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(form.isEnabled());
    EXPECT_EQ(test::ReadBytes(AugustFile()), Section(2010, 8, 7, 1, "薬を飲む"));
}

TEST_F(MemoDialog, AFailedDeleteKeepsTheDialogOpenAndCancelStillCloses) {
    const std::string file = Section(2010, 8, 5, 1, "頭痛");
    TForm1& form = Start(file);
    Open(5);
    fixture.faulty.FailFrom(test::FaultyFileSystem::kRename, 1, EROFS);
    Click(Memo().DeleteButton);
    EXPECT_EQ(fixture.dialogs.errors.size(), 1);
    EXPECT_TRUE(Shown());
    EXPECT_FALSE(form.isEnabled());
    EXPECT_EQ(test::ReadBytes(AugustFile()), file);
    Click(Memo().CancelButton);
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(form.isEnabled());
}

TEST_F(MemoDialog, EnterPressesNothingAndStartsNoLine) {
    TForm1& form = Start();
    Open(3);
    Commit(U("一行"));
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(Memo().Memo1, key);
        QTest::keyClick(Memo().Memo1, key, Qt::ShiftModifier);
        QTest::keyClick(Memo().Memo1, key, Qt::ControlModifier);
    }
    EXPECT_EQ(Memo().Memo1->toPlainText(), U("一行"));
    EXPECT_TRUE(Shown());
    // Enter on the list or on a button with the focus presses no button either.
    for (QWidget* target : std::initializer_list<QWidget*>{Memo().CategoryBox, Memo().OKButton,
                                                           Memo().DeleteButton}) {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_TRUE(Shown());
    }
    EXPECT_TRUE(form.S.Memos.empty());
    EXPECT_FALSE(test::Exists(fixture.dir.File("data")));
}

TEST_F(MemoDialog, PastedLineBreaksBecomeSpaces) {
    TForm1& form = Start();
    Open(3);
    QApplication::clipboard()->setText(U("朝\n昼\r\n夜\r終"));
    QTest::keyClick(Memo().Memo1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Memo().Memo1->toPlainText(), U("朝 昼 夜 終"));
    Click(Memo().OKButton);
    ASSERT_EQ(form.S.Memos.size(), 1u);
    EXPECT_EQ(form.S.Memos[0].Text, J("朝 昼 夜 終"));
}

TEST_F(MemoDialog, ACharacterCp932CannotHoldIsRefusedAndNothingStored) {
    const std::string file = Section(2010, 8, 5, 1, "頭痛");
    TForm1& form = Start(file);
    Open(5);
    ClearText();
    Commit(U("嬉しい😀"));
    Click(Memo().OKButton);
    ASSERT_EQ(fixture.dialogs.errors.size(), 1);
    EXPECT_TRUE(fixture.dialogs.errors[0].contains(U("「😀」は保存できない文字です")))
        << fixture.dialogs.errors[0].toStdString();
    EXPECT_TRUE(Shown());
    EXPECT_FALSE(form.isEnabled());
    EXPECT_EQ(Memo().Memo1->toPlainText(), U("嬉しい😀"));
    EXPECT_EQ(form.S.Memos[0].Text, J("頭痛"));
    EXPECT_EQ(test::ReadBytes(AugustFile()), file);
    EXPECT_EQ(fixture.faulty.Replacements(), 0);

    // She replaces the character, and the memo is registered.
    QTest::keyClick(Memo().Memo1, Qt::Key_End);
    QTest::keyClick(Memo().Memo1, Qt::Key_Backspace);
    Commit(U("♪"));
    Click(Memo().OKButton);
    EXPECT_FALSE(Shown());
    EXPECT_EQ(form.S.Memos[0].Text, J("嬉しい♪"));
}

// A text left as it was keeps its stored bytes: a cut double-byte character
// that shows as U+FFFD, and ∵ spelt as NEC's 0x879A where CP932 also has 0x81E6.
TEST_F(MemoDialog, AnUntouchedTextKeepsItsBytesWhenOnlyTheCategoryChanges) {
    const std::string serial = std::to_string(Serial(2010, 8, 5));
    for (const std::string& text : {std::string("ab\x83"), std::string("\x87\x9A")}) {
        test::FormFixture fresh;
        test::WriteBytes(fresh.MonthFile(2010, 8),
                         "[" + serial + "]\r\ncategory=1\r\nmemo=" + text + "\r\n");
        TForm1& form = fresh.Start();
        test::ShowMonth(form, 2010, 8);
        test::DoubleClickDay(form, 5);
        QApplication::processEvents();
        ChooseCategoryIn(*fresh.memo, 3);
        QTest::mouseClick(fresh.memo->OKButton, Qt::LeftButton);
        EXPECT_TRUE(fresh.dialogs.errors.isEmpty()) << fresh.dialogs.errors.join('|').toStdString();
        EXPECT_FALSE(fresh.memo->isVisible());
        EXPECT_EQ(test::ReadBytes(fresh.MonthFile(2010, 8)),
                  "[" + serial + "]\r\ncategory=3\r\nmemo=" + text + "\r\n");
    }
}

TEST_F(MemoDialog, ACategoryAboveFourOpensAsTheFirstAndIsKeptUntilRegistered) {
    const std::string file = Section(2010, 8, 5, 7, "手書き");
    TForm1& form = Start(file);
    Open(5);
    EXPECT_EQ(Memo().CategoryBox->currentIndex(), 0);
    EXPECT_EQ(Memo().MemoShape->Color(), ToQColor(form.S.CategoryColors[0]));
    EXPECT_EQ(Memo().Memo1->toPlainText(), U("手書き"));
    Click(Memo().CancelButton);
    EXPECT_EQ(form.S.Memos[0].Category, 7);

    // Leaving the month and coming back keeps the stored number.
    test::ClickArrow(form.NextLabel);
    test::ClickArrow(form.PrevLabel);
    EXPECT_EQ(test::ReadBytes(AugustFile()), file);
    ASSERT_EQ(form.S.Memos.size(), 1u);
    EXPECT_EQ(form.S.Memos[0].Category, 7);

    Open(5);
    Click(Memo().OKButton);
    EXPECT_EQ(form.S.Memos[0].Category, 0);
    EXPECT_EQ(test::ReadBytes(AugustFile()), Section(2010, 8, 5, 0, "手書き"));
}

TEST_F(MemoDialog, TheWindowIsDisabledWhileShownAndEnabledAgain) {
    TForm1& form = Start();
    EXPECT_TRUE(form.isEnabled());
    Open(3);
    EXPECT_FALSE(form.isEnabled());
    // A disabled window takes no keys: the month stays.
    QTest::keyClick(form.CalendarGrid, Qt::Key_Right);
    EXPECT_EQ(form.TitleLabel->text(), "2010/8");
    EXPECT_EQ(form.S.ViewDate, EncodeDate(2010, 8, 3));
    EXPECT_TRUE(Memo().isEnabled());  // the dialog itself takes her input
    Click(Memo().CancelButton);
    EXPECT_TRUE(form.isEnabled());
}

TEST_F(MemoDialog, TheDoubleClickedDayIsTheOneRegistered) {
    TForm1& form = Start();
    Open(30);
    Commit(U("月末"));
    form.CalendarGrid->repaint();  // a repaint meanwhile moves nothing
    Click(Memo().OKButton);
    ASSERT_EQ(form.S.Memos.size(), 1u);
    EXPECT_EQ(form.S.Memos[0].Date, EncodeDate(2010, 8, 30));
}

}  // namespace
}  // namespace pimvesk

namespace pimvesk {
namespace {

TEST_F(MemoDialog, OnceHiddenTheCalendarTakesTheKeysAgain) {
    TForm1& form = Start();
    // Each way of hiding it: 登録, 削除, 取り消し and the title bar's close button.
    const std::function<void()> hides[] = {
        [&] { Click(Memo().OKButton); }, [&] { Click(Memo().DeleteButton); },
        [&] { Click(Memo().CancelButton); }, [&] { Memo().close(); }};
    int month = 8;
    for (const auto& hide : hides) {
        // Her double-click's presses put the focus on the grid.
        QTest::mouseClick(form.CalendarGrid, Qt::LeftButton, {}, DayRect(form, 3).center());
        ASSERT_EQ(QApplication::focusWidget(), form.CalendarGrid);
        Open(3);
        EXPECT_EQ(QApplication::activeWindow(), &Memo());
        hide();
        QApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), &form);
        // A key pressed now reaches the grid, not the tab bar: the next month.
        ASSERT_EQ(QApplication::focusWidget(), form.CalendarGrid);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        EXPECT_EQ(form.TitleLabel->text(), QString("2010/%1").arg(++month));
        EXPECT_EQ(form.PageControl1->currentWidget(), form.CalendarTab);
    }
}

}  // namespace
}  // namespace pimvesk

namespace pimvesk {
namespace {

TEST_F(MemoDialog, MinimisedAndRestoredItStaysOpenWithHerText) {
    TForm1& form = Start();
    Open(3);
    Commit(U("途中まで"));
    ChooseCategory(2);
    Memo().showMinimized();
    QApplication::processEvents();
    EXPECT_FALSE(form.isEnabled());  // still open: the month cannot move under it
    QTest::keyClick(form.CalendarGrid, Qt::Key_Right);
    EXPECT_EQ(form.TitleLabel->text(), "2010/8");
    Memo().showNormal();
    QApplication::processEvents();
    EXPECT_EQ(Memo().Memo1->toPlainText(), U("途中まで"));
    EXPECT_EQ(Memo().CategoryBox->currentIndex(), 2);
    EXPECT_EQ(Memo().Label1->text(), "2010/08/03");
    Click(Memo().OKButton);
    EXPECT_TRUE(form.isEnabled());
    EXPECT_EQ(test::ReadBytes(AugustFile()), Section(2010, 8, 3, 2, "途中まで"));
}

}  // namespace
}  // namespace pimvesk

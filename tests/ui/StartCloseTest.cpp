// Start-up that meets bad stored values, the close whose save fails, the end
// of the desktop session while boxes are open, and the one instance per data
// home, through the program's own run.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cerrno>
#include <csignal>

#include "app/Program.h"
#include "platform/Error.h"
#include "platform/InstanceLock.h"
#include "store/IniFile.h"
#include "store/Memos.h"
#include "store/Paths.h"
#include "support/CalendarDriver.h"
#include "support/FormFixture.h"
#include "support/StoredSettings.h"
#include "ui/ShutdownSignals.h"
#include "ui/memo.h"

namespace pimvesk {
namespace {

using test::ExpectEveryKey;
using test::Stored;

using test::J;
using Choice = Dialogs::SaveFailedChoice;
using Op = test::FaultyFileSystem::Op;

constexpr const char* kStored =
    "[option]\r\nsetaverage=0\r\naverageday=30\r\nperiod=5\r\novuave=15\r\n"
    "[date]\r\ncount=2\r\n0=40000\r\n1=40030\r\n"
    "[color]\r\nback=abc\r\nperiod=123\r\n"
    "[memo]\r\ncat1=通院\r\ncat1col=255\r\ncat2=体温\r\n";

// --- Start-up with values that cannot be read ---------------------------------

TEST(StartWithBadValues, ABadColourIsReportedOnceAndCategoriesAndStartsStillLoad) {
    test::FormFixture fixture;
    test::WriteBytes(fixture.SettingsPath(), J(kStored));
    TForm1& form = fixture.Start();
    ASSERT_EQ(fixture.dialogs.errors.size(), 1);
    EXPECT_TRUE(fixture.dialogs.errors[0].contains("'abc' は整数ではありません"))
        << fixture.dialogs.errors[0].toStdString();
    EXPECT_EQ(form.S.Periods, (std::vector<TDateTime>{40000, 40030}));
    EXPECT_EQ(form.S.CategoryNames[0], J("通院"));
    EXPECT_EQ(form.S.CategoryNames[1], J("体温"));
    EXPECT_EQ(form.S.CategoryColors[0], 255);
    EXPECT_EQ(form.S.PeriodColor, 123);     // the colour after the bad one
    EXPECT_EQ(form.S.BackColor, 0xFFFFFF);  // the bad one keeps its default
    EXPECT_EQ(form.S.AverageDays, 30);
    EXPECT_EQ(form.CategoryEdits[0]->text(), QString::fromUtf8("通院"));
    EXPECT_EQ(form.TitleLabel->text(),
              QString("%1/%2").arg(form.S.TodayYear).arg(form.S.TodayMonth));

    // The close writes her data back, not defaults in its place.
    ASSERT_TRUE(fixture.Close());
    const std::string path = fixture.SettingsPath();
    EXPECT_EQ(Stored(path, "date", "count"), "2");
    EXPECT_EQ(Stored(path, "date", "0"), "40000");
    EXPECT_EQ(Stored(path, "date", "1"), "40030");
    EXPECT_EQ(Stored(path, "memo", "cat1"), J("通院"));
    EXPECT_EQ(Stored(path, "memo", "cat1col"), "255");
    EXPECT_EQ(Stored(path, "color", "period"), "123");
    EXPECT_EQ(Stored(path, "option", "averageday"), "30");
    ExpectEveryKey(path, 2);
}

TEST(StartWithBadValues, EverythingSkippedIsListedInOneBox) {
    test::FormFixture fixture;
    test::WriteBytes(fixture.SettingsPath(),
                     "[color]\r\nback=abc\r\ndanger=1.5\r\n[memo]\r\ncat3col=red\r\n");
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    DecodeDate(Today(), year, month, day);
    test::WriteBytes(fixture.MonthFile(year, month),
                     "[1a]\r\nmemo=a\r\n[" + std::to_string(WholeDay(Today())) +
                         "]\r\ncategory=1\r\nmemo=" + J("今日") + "\r\n");
    TForm1& form = fixture.Start();
    ASSERT_EQ(fixture.dialogs.errors.size(), 1);
    const QString text = fixture.dialogs.errors[0];
    for (const char* part : {"'abc'", "'1.5'", "'red'", "[1a]"}) {
        EXPECT_TRUE(text.contains(part)) << part << " in " << text.toStdString();
    }
    EXPECT_EQ(text.count('\n'), 3);
    ASSERT_EQ(form.S.Memos.size(), 1u);  // the readable memo of the month
    EXPECT_EQ(form.S.Memos[0].Text, J("今日"));
}

TEST(StartWithBadValues, AnUnreadableSettingsFileIsNeverWrittenOver) {
    test::FormFixture fixture;
    const std::string utf16 = std::string("\xFF\xFE[\0o\0", 6);  // not ours to parse
    test::WriteBytes(fixture.SettingsPath(), utf16);
    fixture.dialogs.saveFailedAnswers = {Choice::kCloseWithoutSaving};
    fixture.Start();
    ASSERT_EQ(fixture.dialogs.errors.size(), 1);
    EXPECT_TRUE(fixture.dialogs.errors[0].contains("を読み込めません"));
    EXPECT_TRUE(fixture.Close());
    EXPECT_EQ(fixture.dialogs.saveFailed.size(), 1);
    EXPECT_EQ(test::ReadBytes(fixture.SettingsPath()), utf16);
}

// --- Closing when the save fails -------------------------------------------------

class CloseSaveFails : public ::testing::Test {
protected:
    TForm1& StartAndChange() {
        test::WriteBytes(fixture.SettingsPath(), J(kStored));
        TForm1& form = fixture.Start();
        fixture.dialogs.errors.clear();
        fixture.UseFaultyFiles();
        stored = test::ReadBytes(fixture.SettingsPath());
        form.S.PeriodDays = 4;  // her change, only in memory so far
        return form;
    }
    test::FormFixture fixture;
    std::string stored;
};

TEST_F(CloseSaveFails, TheBoxNamesTheFileAndKeepOpenKeepsTheWindowAndItsChanges) {
    TForm1& form = StartAndChange();
    fixture.faulty.FailFrom(Op::kRename, 1, ENOSPC);
    fixture.dialogs.saveFailedAnswers = {Choice::kKeepOpen};
    EXPECT_FALSE(fixture.Close());
    ASSERT_EQ(fixture.dialogs.saveFailed.size(), 1);
    const QString question = fixture.dialogs.saveFailed[0];
    EXPECT_TRUE(question.contains("設定を保存できませんでした"));
    EXPECT_TRUE(question.contains(QString::fromStdString(fixture.SettingsPath())));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.S.PeriodDays, 4);
    EXPECT_EQ(test::ReadBytes(fixture.SettingsPath()), stored);

    // Room on the disk again: the next close saves and closes.
    fixture.faulty.Heal();
    EXPECT_TRUE(fixture.Close());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(fixture.dialogs.saveFailed.size(), 1);
    EXPECT_EQ(Stored(fixture.SettingsPath(), "option", "period"), "4");
    EXPECT_EQ(Stored(fixture.SettingsPath(), "date", "1"), "40030");
}

TEST_F(CloseSaveFails, CloseWithoutSavingClosesAndLeavesTheFileAsItWas) {
    TForm1& form = StartAndChange();
    fixture.faulty.FailFrom(Op::kSync, 1, EIO);
    fixture.dialogs.saveFailedAnswers = {Choice::kCloseWithoutSaving};
    EXPECT_TRUE(fixture.Close());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(fixture.dialogs.saveFailed.size(), 1);
    EXPECT_EQ(test::ReadBytes(fixture.SettingsPath()), stored);
    EXPECT_EQ(test::ListDirectory(fixture.dir.Path()), "PIMVESK.ini");  // no temporary left
}

TEST_F(CloseSaveFails, RetrySucceedsOnceTheFaultIsGone) {
    TForm1& form = StartAndChange();
    fixture.faulty.FailAt(Op::kRename, 1, EIO);  // the first try only
    fixture.dialogs.saveFailedAnswers = {Choice::kRetry};
    EXPECT_TRUE(fixture.Close());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(fixture.dialogs.saveFailed.size(), 1);
    EXPECT_EQ(Stored(fixture.SettingsPath(), "option", "period"), "4");
}

TEST_F(CloseSaveFails, RetryWhileTheFaultLastsAsksAgain) {
    TForm1& form = StartAndChange();
    fixture.faulty.FailFrom(Op::kCreate, 1, EROFS);
    fixture.dialogs.saveFailedAnswers = {Choice::kRetry, Choice::kRetry, Choice::kKeepOpen};
    EXPECT_FALSE(fixture.Close());
    EXPECT_EQ(fixture.dialogs.saveFailed.size(), 3);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(test::ReadBytes(fixture.SettingsPath()), stored);
    fixture.dialogs.saveFailedAnswers = {Choice::kCloseWithoutSaving};
    EXPECT_TRUE(fixture.Close());
    EXPECT_EQ(test::ReadBytes(fixture.SettingsPath()), stored);
}

TEST_F(CloseSaveFails, AMonthThatCannotBeSavedIsAskedAboutToo) {
    TForm1& form = StartAndChange();
    // A memo whose own write failed lives only in memory.
    fixture.faulty.FailFrom(Op::kMkdir, 1, EACCES);
    EXPECT_THROW(PutMemo(form.S, form.S.Today, 1, J("薬")), Error);
    fixture.dialogs.saveFailedAnswers = {Choice::kKeepOpen};
    EXPECT_FALSE(fixture.Close());
    ASSERT_EQ(fixture.dialogs.saveFailed.size(), 1);
    EXPECT_TRUE(fixture.dialogs.saveFailed[0].contains("data/"));
    // The settings were saved all the same.
    EXPECT_EQ(Stored(fixture.SettingsPath(), "option", "period"), "4");
    fixture.faulty.Heal();
    EXPECT_TRUE(fixture.Close());
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    DecodeDate(form.S.Today, year, month, day);
    EXPECT_NE(test::ReadBytes(fixture.MonthFile(year, month)).find(J("薬")), std::string::npos);
}

TEST(Close, WithTheMemoDialogOpenCancelsItAndSaves) {
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    test::DoubleClickDay(form, 10);
    ASSERT_TRUE(fixture.memo->isVisible());
    form.S.PeriodDays = 3;
    EXPECT_TRUE(fixture.Close());
    EXPECT_FALSE(fixture.memo->isVisible());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(Stored(fixture.SettingsPath(), "option", "period"), "3");
}

// --- The end of the session -------------------------------------------------------

// The real modal boxes, shown and recorded.
class RealBoxes : public Dialogs {
public:
    explicit RealBoxes(Dialogs& fake) : fake_(fake) { SetDialogs(this); }
    ~RealBoxes() override { SetDialogs(&fake_); }
    void ShowError(QWidget* parent, const QString& text) override {
        errors << text;
        Dialogs::ShowError(parent, text);
    }
    SaveFailedChoice AskSaveFailed(QWidget* parent, const QString& text) override {
        questions << text;
        return Dialogs::AskSaveFailed(parent, text);
    }
    QStringList errors;
    QStringList questions;

private:
    Dialogs& fake_;
};

// Should the signal not end an open box, this one does, so that the test fails
// rather than hangs.
class BoxGuard {
public:
    BoxGuard() {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            fired = true;
            while (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            }
        });
        timer_.start(20000);
    }
    bool fired = false;

private:
    QTimer timer_;
};

void RaiseSoon(int signal) {
    QTimer::singleShot(50, [signal] { ::raise(signal); });
}

class SessionEnd : public ::testing::TestWithParam<int> {};

TEST_P(SessionEnd, ClosesTheWindowAndSavesTheSettings) {
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    new ShutdownSignals(&form);  // owned by the form
    form.S.PeriodDays = 3;
    ::raise(GetParam());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }));
    EXPECT_EQ(Stored(fixture.SettingsPath(), "option", "period"), "3");
    ExpectEveryKey(fixture.SettingsPath(), 0);
}

INSTANTIATE_TEST_SUITE_P(TermIntHup, SessionEnd, ::testing::Values(SIGTERM, SIGINT, SIGHUP));

TEST(SessionEndWithBoxes, AnErrorBoxOverTheMemoDialogDoesNotStopTheSave) {
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    new ShutdownSignals(&form);
    form.S.PeriodDays = 2;
    test::DoubleClickDay(form, 10);
    ASSERT_TRUE(fixture.memo->isVisible());
    QInputMethodEvent typed;
    typed.setCommitString(QString::fromUtf8("絵文字😀"));
    QApplication::sendEvent(fixture.memo->Memo1, &typed);

    RealBoxes real(fixture.dialogs);
    BoxGuard guard;
    RaiseSoon(SIGTERM);
    // 登録 refuses the text in a real, modal error box; the signal comes while it shows.
    QTest::mouseClick(fixture.memo->OKButton, Qt::LeftButton);
    EXPECT_EQ(real.errors.size(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }));
    EXPECT_FALSE(guard.fired);
    EXPECT_FALSE(fixture.memo->isVisible());
    EXPECT_EQ(Stored(fixture.SettingsPath(), "option", "period"), "2");
    EXPECT_TRUE(form.S.Memos.empty());
}

TEST(SessionEndWithBoxes, TheCloseQuestionEndsAndTheSaveIsTriedAgain) {
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    new ShutdownSignals(&form);
    fixture.UseFaultyFiles();
    fixture.faulty.FailAt(Op::kRename, 1, ENOSPC);  // the save at her close fails once
    form.S.PeriodDays = 2;

    RealBoxes real(fixture.dialogs);
    BoxGuard guard;
    RaiseSoon(SIGTERM);
    form.close();  // asks in a real box; the session ends while it shows
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }));
    EXPECT_FALSE(guard.fired);
    EXPECT_EQ(real.questions.size(), 1);
    EXPECT_EQ(Stored(fixture.SettingsPath(), "option", "period"), "2");
}

TEST(SessionEndWithBoxes, ASaveThatStillFailsIsReportedAndTheWindowCloses) {
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    new ShutdownSignals(&form);
    fixture.UseFaultyFiles();
    fixture.faulty.FailFrom(Op::kRename, 1, ENOSPC);
    ::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }));
    EXPECT_TRUE(fixture.dialogs.saveFailed.isEmpty());  // nobody is asked at the session's end
    ASSERT_EQ(fixture.dialogs.errors.size(), 1);
    EXPECT_TRUE(fixture.dialogs.errors[0].contains("に書き込めません"));
    EXPECT_FALSE(test::Exists(fixture.SettingsPath()));
}

TEST(AbruptExit, AnOpenWindowIsSavedOnTheWayOut) {
    test::FormFixture fixture;
    TForm1& form = fixture.Start();
    new ShutdownSignals(&form);
    form.S.PeriodDays = 2;
    PutMemo(form.S, form.S.Today, 1, J("薬"));
    // What Qt's exit(1) runs when the display goes away under the event loop.
    EXPECT_TRUE(ShutdownSignals::SaveBeforeAbruptExit());
    EXPECT_EQ(Stored(fixture.SettingsPath(), "option", "period"), "2");
    ExpectEveryKey(fixture.SettingsPath(), 0);
    EXPECT_TRUE(fixture.dialogs.errors.isEmpty());
    // Once only.
    EXPECT_FALSE(ShutdownSignals::SaveBeforeAbruptExit());
}

TEST(AbruptExit, AWindowAlreadyClosedOrUnwatchedIsLeftAlone) {
    {
        test::FormFixture fixture;
        TForm1& form = fixture.Start();
        new ShutdownSignals(&form);
        fixture.UseFaultyFiles();
        fixture.faulty.FailFrom(Op::kRename, 1, EIO);
        fixture.dialogs.saveFailedAnswers = {Choice::kCloseWithoutSaving};
        ASSERT_TRUE(fixture.Close());  // she chose to close without saving
        fixture.faulty.Heal();
        EXPECT_FALSE(ShutdownSignals::SaveBeforeAbruptExit());
        EXPECT_FALSE(test::Exists(fixture.SettingsPath()));
    }
    test::FormFixture fixture;
    fixture.Start();  // no ShutdownSignals: nothing to save at exit
    EXPECT_FALSE(ShutdownSignals::SaveBeforeAbruptExit());
    EXPECT_FALSE(test::Exists(fixture.SettingsPath()));
}

// --- The program's run: one instance per data home -------------------------------

// Closes the main window once the event loop runs.
void CloseWhenRunning() {
    QTimer::singleShot(0, [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* form = dynamic_cast<TForm1*>(widget); form != nullptr && form->isVisible()) {
                form->close();
            }
        }
    });
}

TEST(Program, ASecondStartOnTheSameHomeSaysSoAndLeavesTheFilesAlone) {
    test::TempDir dir;
    test::FakeDialogs dialogs;
    const std::string home = dir.Path() + "/pimvesk/";
    ASSERT_EQ(::mkdir(home.c_str(), 0700), 0);
    const InstanceLock first(home + ".lock");
    ASSERT_EQ(first.Result(), InstanceLock::State::kHeld);
    BoxGuard guard;
    EXPECT_EQ(RunPimVesk(home), 0);
    EXPECT_EQ(dialogs.messages, QStringList{QString::fromUtf8("PimVesk はすでに起動しています")});
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(test::ListDirectory(home), ".lock");
    EXPECT_FALSE(guard.fired);
}

TEST(Program, RunsOnAHomeItCreatesAndSavesAtTheClose) {
    test::TempDir dir;
    test::FakeDialogs dialogs;
    const std::string home = dir.Path() + "/share/pimvesk/";
    CloseWhenRunning();
    EXPECT_EQ(RunPimVesk(home), 0);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.errors.isEmpty());
    struct stat info {};
    ASSERT_EQ(::stat(home.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ExpectEveryKey(home + "PIMVESK.ini", 0);
}

TEST(Program, ALockFileLeftBehindStopsNothing) {
    test::TempDir dir;
    test::FakeDialogs dialogs;
    const std::string home = dir.Path() + "/pimvesk/";
    test::WriteBytes(home + ".lock", "");  // left by an instance that was killed
    CloseWhenRunning();
    EXPECT_EQ(RunPimVesk(home), 0);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(test::Exists(home + "PIMVESK.ini"));
    // And once it has ended, the lock is free again.
    const InstanceLock after(home + ".lock");
    EXPECT_EQ(after.Result(), InstanceLock::State::kHeld);
}

}  // namespace
}  // namespace pimvesk

#include "ui/veskForm.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include "platform/Error.h"
#include "platform/IntText.h"
#include "store/Memos.h"
#include "store/Paths.h"
#include "store/Settings.h"
#include "ui/ColorShape.h"
#include "ui/Dialogs.h"
#include "ui/Fonts.h"
#include "ui/Guard.h"
#include "ui/UiText.h"
#include "ui/memo.h"

namespace pimvesk {

TForm1::TForm1(const std::string& programPath, QWidget* parent)
    : QWidget(parent), programPath_(programPath) {
    setWindowTitle("Pim * Vesk");
    setFont(DesignFont(kPGothic, 15));
    // Designed in pixels: the layout keeps its sizes whatever the font scaling.
    setFixedSize(482, 356);
    move(221, 183);

    PageControl1 = new QTabWidget(this);
    PageControl1->setGeometry(0, 0, 482, 356);
    CalendarTab = new QWidget;
    MoreTab = new QWidget;
    OptionTab = new QWidget;
    PageControl1->addTab(CalendarTab, "カレンダー");
    PageControl1->addTab(MoreTab, "詳細");
    PageControl1->addTab(OptionTab, "設定");
    BuildCalendarTab();
    BuildMoreTab();
    BuildOptionTab();
    PageControl1->setCurrentWidget(CalendarTab);

    S.Today = S.EntryDate = S.ViewDate = 0;
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    // Start-up never stops half-way: each step that fails is noted and the rest
    // still run, so that the close that follows writes back her data.
    LoadReport& report = startupReport_;
    const auto step = [&report](auto&& body) {
        try {
            body();
        } catch (const Error& error) {
            report.Add(error.what());
        }
    };
    S.Version = "1.0";
    S.Today = Today();
    DecodeDate(S.Today, S.TodayYear, S.TodayMonth, S.TodayDay);
    S.EntryDate = S.Today;
    step([&] { ShowEntryDate(); });
    S.ViewDate = S.Today;
    S.IniPath = SettingsPathFor(programPath_);
    S.IniFile = std::make_unique<TIniFile>(S.IniPath, *S.Files);
    step([&] { LoadOptions(S, report); });
    S.Periods.clear();
    S.Memos.clear();
    step([&] { LoadMonthMemos(S, report); });
    step([&] { LoadPeriodStarts(S, report); });
    step([&] { FillPastBox(); });
    step([&] { AveEdit->setText(QString::number(S.AverageDays)); });
    step([&] { RefreshCycle(); });
    step([&] {
        if (S.FixedAverage) {
            FixAveEdit->setText(QString::number(S.AverageDays));
            AverageItems->button(1)->setChecked(true);
            FixAveEdit->setEnabled(true);
            AveEdit->setEnabled(false);
        }
    });
    step([&] {
        FixOvuEdit->setText(QString::number(S.OvulationDay));
        FixPeriodEdit->setText(QString::number(S.PeriodDays));
    });
    SetDefaultColors(S);
    SetDefaultCategories(S);
    step([&] { LoadColors(S, report); });
    step([&] { LoadCategories(S, report); });
    step([&] {
        for (size_t k = 0; k < 5; ++k) {
            CategoryEdits[k]->setText(FromCp932(S.CategoryNames[k]));
            CategoryShapes[k]->SetColor(ToQColor(S.CategoryColors[k]));
        }
        BackShape->SetColor(ToQColor(S.BackColor));
        PeriodShape->SetColor(ToQColor(S.PeriodColor));
        DangerShape->SetColor(ToQColor(S.DangerColor));
        DateShape->SetColor(ToQColor(S.DateColor));
        SaturdayShape->SetColor(ToQColor(S.SaturdayColor));
        HolidayShape->SetColor(ToQColor(S.HolidayColor));
    });
    step([&] {
        S.MonthCells = BuildMonthGrid(S.ViewDate);
        RefreshCalendar();
    });
}

bool TForm1::FormDestroy(QString* problems) {
    // Both files are tried: a settings file that cannot be written is no
    // reason to leave the month's memos unsaved.
    QStringList failures;
    for (void (*save)(VeskState&) : {&SaveSettings, &SaveMonthMemos}) {
        try {
            save(S);
        } catch (const Error& error) {
            failures << QString::fromUtf8(error.what());
        }
    }
    if (problems != nullptr) {
        *problems = failures.join('\n');
    }
    return failures.isEmpty();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (MemoForm != nullptr && MemoForm->isVisible()) {
        MemoForm->CancelButtonClick();
    }
    for (;;) {
        QString problems;
        if (FormDestroy(&problems)) {
            break;
        }
        if (shutdown_) {
            ShowErrorBox(this, problems);
            break;
        }
        const auto choice = CurrentDialogs().AskSaveFailed(
            this, "設定を保存できませんでした。\n" + problems +
                      "\n\nもう一度保存するか、保存せずに終了するか、終了せずにウィンドウを"
                      "開いたままにするかを選んでください。");
        if (choice == Dialogs::SaveFailedChoice::kCloseWithoutSaving) {
            break;
        }
        if (choice == Dialogs::SaveFailedChoice::kKeepOpen) {
            event->ignore();
            return;
        }
    }
    closing_ = true;
    event->accept();
}

void TForm1::CloseForShutdown() {
    shutdown_ = true;
    close();
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!startupReported_ && !startupReport_.Empty()) {
        startupReported_ = true;
        QTimer::singleShot(0, this, [this] { ShowStartupProblems(); });
    }
}

void TForm1::ShowStartupProblems() {
    ShowErrorBox(this, QString::fromUtf8(startupReport_.Text().c_str()));
}

}  // namespace pimvesk

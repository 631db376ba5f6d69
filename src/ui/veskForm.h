#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "store/LoadReport.h"
#include "store/VeskState.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace pimvesk {

class CellGrid;
class ClickLabel;
class ColorShape;
class CycleListBox;
class TMemoForm;

// The main window: the three pages, the state record and their handlers. The
// handlers are thin: they parse, call the core on `S`, and refresh.
class TForm1 : public QWidget {
public:
    // `programPath` is where the program file would lie; the settings file and
    // the memo directory are derived from it. Runs FormCreate.
    explicit TForm1(const std::string& programPath, QWidget* parent = nullptr);
    ~TForm1() override;

    void AttachMemoForm(TMemoForm* memoForm) { MemoForm = memoForm; }

    VeskState S;  // the state record

    // Start-up and close.
    void FormCreate();
    // Saves the settings and the month shown; false when a save failed, with
    // the messages in `problems`.
    bool FormDestroy(QString* problems = nullptr);
    // Closes as at the end of the session: saved as on any close, and closed
    // even when a save fails (that is reported, but nobody is asked).
    void CloseForShutdown();
    // What start-up could not load, shown in one error box once the window is up.
    const LoadReport& StartupReport() const { return startupReport_; }

    // Calendar page.
    void RefreshCalendar();
    void CalendarGridDrawCell(QPainter& painter, int col, int row, const QRect& rect);
    void PrevLabelClick();
    void NextLabelClick();
    void CalendarGridKeyDown(int key);
    void CalendarGridSelectCell(int col, int row);
    void CalendarGridMouseMove(int x, int y);
    void CalendarGridDblClick();

    // Details page.
    void ShowEntryDate();
    void FillPastBox();
    void FillFutureBox();
    void FillCurrentBox(TDateTime start, int32_t count);
    void RefreshCycle();
    void AddButtonClick();
    void DeleteButtonClick();
    void AveEditChange();
    void PastBoxClick();
    void FutureBoxClick();
    void CurrentBoxClick();
    void CurrentBoxDrawItem(QPainter& painter, int index, const QRect& rect, const QString& text);

    // Options page.
    void AverageGroupClick();
    void FixAveEditChange();
    void FixOvuEditChange();
    void FixPeriodEditChange();
    void CategoryEditChange(int category);  // Edit1Change .. Edit5Change
    void ColorShapeMouseDown(ColorShape* shape, TColor& field);
    void SaveOptionButtonClick();
    void AboutClick();

    // The frame.
    QTabWidget* PageControl1 = nullptr;
    QWidget* CalendarTab = nullptr;
    QWidget* MoreTab = nullptr;
    QWidget* OptionTab = nullptr;

    // Calendar page.
    QWidget* CalendarImage = nullptr;
    QLabel* TitleLabel = nullptr;
    ClickLabel* PrevLabel = nullptr;
    ClickLabel* NextLabel = nullptr;
    CellGrid* CalendarGrid = nullptr;

    // Details page. Each spin field is one spin box: its edit and its up-down.
    QSpinBox* YearUD = nullptr;
    QSpinBox* MonthUD = nullptr;
    QSpinBox* DateUD = nullptr;
    QLineEdit* AveEdit = nullptr;
    QPushButton* AddButton = nullptr;
    QListWidget* PastBox = nullptr;
    QPushButton* DeleteButton = nullptr;
    QListWidget* FutureBox = nullptr;
    CycleListBox* CurrentBox = nullptr;

    // Options page.
    QGroupBox* AverageGroup = nullptr;
    QButtonGroup* AverageItems = nullptr;  // item 0 "自動計算", item 1 "固定 : "
    QLineEdit* FixAveEdit = nullptr;
    QLineEdit* FixOvuEdit = nullptr;
    QLineEdit* FixPeriodEdit = nullptr;
    QPushButton* SaveOptionButton = nullptr;
    QPushButton* About = nullptr;
    QGroupBox* ColorGroup = nullptr;
    ColorShape* BackShape = nullptr;
    ColorShape* PeriodShape = nullptr;
    ColorShape* DangerShape = nullptr;
    ColorShape* DateShape = nullptr;
    ColorShape* SaturdayShape = nullptr;
    ColorShape* HolidayShape = nullptr;
    std::array<QLineEdit*, 5> CategoryEdits{};    // Edit1 .. Edit5
    std::array<ColorShape*, 5> CategoryShapes{};  // Shape1 .. Shape5

    TMemoForm* MemoForm = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildCalendarTab();
    void BuildMoreTab();
    void BuildOptionTab();
    void ShowStartupProblems();
    // Brings MonthCells and the page in line with ViewDate after a month
    // change whose load could not finish.
    void ChangeMonth(int step);

    std::string programPath_;
    LoadReport startupReport_;
    bool startupReported_ = false;
    bool closing_ = false;
    bool shutdown_ = false;
};

}  // namespace pimvesk

// The calendar page: the month grid, its painting, month changes and the day hint.
#include <QPainter>
#include <QVBoxLayout>

#include "platform/DateTime.h"
#include "store/Memos.h"
#include "ui/CellGrid.h"
#include "ui/ClickLabel.h"
#include "ui/Fonts.h"
#include "ui/Guard.h"
#include "ui/UiText.h"
#include "ui/memo.h"
#include "ui/veskForm.h"

namespace pimvesk {

namespace {

void SetTextColor(QLabel* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

// The date of a day of the month shown, if that day exists.
std::optional<TDateTime> DayOfViewMonth(const VeskState& s, int32_t day) {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t ignored = 0;
    DecodeDate(s.ViewDate, year, month, ignored);
    return TryEncodeDate(year, month, day);
}

}  // namespace

void TForm1::BuildCalendarTab() {
    auto* layout = new QVBoxLayout(CalendarTab);
    layout->setContentsMargins(0, 0, 0, 0);
    CalendarImage = new QWidget;
    CalendarImage->setAutoFillBackground(true);
    layout->addWidget(CalendarImage);

    TitleLabel = new QLabel(CalendarImage);
    TitleLabel->setGeometry(152, 40, 153, 23);
    TitleLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    TitleLabel->setFont(DesignFont(kPMincho, 23, true));

    PrevLabel = new ClickLabel("←", CalendarImage);
    PrevLabel->setGeometry(56, 40, 62, 15);
    PrevLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    PrevLabel->setFont(DesignFont(kPGothic, 20));
    PrevLabel->onClick = [this] { Guarded(this, [this] { PrevLabelClick(); }); };

    NextLabel = new ClickLabel("→", CalendarImage);
    NextLabel->setGeometry(336, 40, 63, 15);
    NextLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    NextLabel->setFont(DesignFont(kPGothic, 20, true));
    NextLabel->onClick = [this] { Guarded(this, [this] { NextLabelClick(); }); };

    CalendarGrid = new CellGrid(7, 7, 48, 30, CalendarImage);
    CalendarGrid->setGeometry(56, 64, 342, 216);
    CalendarGrid->setFont(DesignFont(kGothic, 27, true));
    CalendarGrid->onDrawCell = [this](QPainter& painter, int col, int row, const QRect& rect) {
        CalendarGridDrawCell(painter, col, row, rect);
    };
    CalendarGrid->onSelectCell = [this](int col, int row) { CalendarGridSelectCell(col, row); };
    CalendarGrid->onKeyDown = [this](int key) {
        Guarded(this, [this, key] { CalendarGridKeyDown(key); });
    };
    CalendarGrid->onMouseMove = [this](int x, int y) {
        Guarded(this, [this, x, y] { CalendarGridMouseMove(x, y); });
    };
    CalendarGrid->onDoubleClick = [this] { Guarded(this, [this] { CalendarGridDblClick(); }); };
}

void TForm1::RefreshCalendar() {
    S.MonthCells = BuildMonthGrid(S.ViewDate);
    const QColor dateColor = ToQColor(S.DateColor);
    SetTextColor(PrevLabel, dateColor);
    SetTextColor(NextLabel, dateColor);
    SetTextColor(TitleLabel, dateColor);
    QPalette palette = CalendarImage->palette();
    palette.setColor(QPalette::Window, ToQColor(S.BackColor));
    CalendarImage->setPalette(palette);
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    DecodeDate(S.ViewDate, year, month, day);
    TitleLabel->setText(QString("%1/%2").arg(year).arg(month));
    CalendarGrid->repaint();
}

void TForm1::CalendarGridDrawCell(QPainter& painter, int col, int row, const QRect& rect) {
    static const char* const kLetters[] = {" M", " T", " W", " T", " F", " S", " S"};
    painter.setFont(CalendarGrid->font());
    QColor textColor = col == 5   ? ToQColor(S.SaturdayColor)
                       : col == 6 ? ToQColor(S.HolidayColor)
                                  : ToQColor(S.DateColor);
    QColor background = ToQColor(S.BackColor);
    QString text;
    std::optional<TDateTime> date;
    if (row == 0) {
        text = kLetters[col];
    } else {
        const int32_t day = CellDay(S.MonthCells, col, row);
        if (day > 0) {
            date = DayOfViewMonth(S, day);
        }
        if (date) {
            text = QString::number(day);
            std::string memo;
            int32_t category = FindMemo(S.Memos, *date, memo);
            if (category > 4) {
                category = 0;  // a hand-edited file may hold any number; shown as the first
            }
            if (category >= 0) {
                textColor = ToQColor(S.CategoryColors[static_cast<size_t>(category)]);
            }
            background =
                ToQColor(KindColor(S, KindOfDate(*date, S.Periods, S.AverageDays, S.Cycle())));
        }
    }
    // Opaque text: the whole cell in the background, the text 1 px in from its corner.
    painter.fillRect(rect, background);
    painter.setPen(textColor);
    painter.drawText(rect.adjusted(1, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
    if (date && WholeDay(*date) == WholeDay(S.Today)) {
        painter.setPen(ToQColor(S.DateColor));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.left() + 2, rect.top() + 2, rect.width() - 5, rect.height() - 5);
    }
}

void TForm1::ChangeMonth(int step) {
    SaveMonthMemos(S);  // the month left goes to its file first
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    DecodeDate(S.ViewDate, year, month, day);
    int newYear = year;
    int newMonth = month + step;
    if (newMonth > 12) {
        newMonth = 1;
        ++newYear;
    } else if (newMonth < 1) {
        newMonth = 12;
        --newYear;
    }
    S.ViewDate = EncodeDate(newYear, newMonth, 1);
    LoadReport report;
    LoadMonthMemos(S, report);
    // The page follows ViewDate even when not every memo could be read.
    RefreshCalendar();
    if (!report.Empty()) {
        ShowErrorBox(this, QString::fromUtf8(report.Text().c_str()));
    }
}

void TForm1::NextLabelClick() {
    ChangeMonth(1);
}

void TForm1::PrevLabelClick() {
    ChangeMonth(-1);
}

void TForm1::CalendarGridKeyDown(int key) {
    if (key == Qt::Key_Left) {
        PrevLabelClick();
    } else if (key == Qt::Key_Right) {
        NextLabelClick();
    }
}

void TForm1::CalendarGridSelectCell(int col, int row) {
    S.HotCol = col;
    S.HotRow = row;
}

void TForm1::CalendarGridMouseMove(int x, int y) {
    int col = -1;
    int row = -1;
    if (!CalendarGrid->CellAt(QPoint(x, y), col, row)) {
        col = row = -1;
    }
    S.HotCol = col;
    S.HotRow = row;
    QString hint;
    if (row >= 1 && row <= 6) {
        const int32_t day = CellDay(S.MonthCells, col, row);
        const auto date = day >= 1 && day <= 31 ? DayOfViewMonth(S, day) : std::nullopt;
        if (date) {
            S.ViewDate = *date;
            hint = QString::fromStdString(DateToStr(S.ViewDate));
            std::string memo;
            FindMemo(S.Memos, S.ViewDate, memo);
            if (!memo.empty()) {
                hint += '\n' + FromCp932(memo);
            }
        }
    }
    CalendarGrid->SetHint(hint);
}

void TForm1::CalendarGridDblClick() {
    if (S.HotRow < 1 || S.HotRow > 6) {
        return;
    }
    const int32_t day = CellDay(S.MonthCells, S.HotCol, S.HotRow);
    const auto date = day >= 1 ? DayOfViewMonth(S, day) : std::nullopt;
    if (!date) {
        return;
    }
    S.ViewDate = *date;
    if (MemoForm != nullptr) {
        MemoForm->show();
    }
}

}  // namespace pimvesk

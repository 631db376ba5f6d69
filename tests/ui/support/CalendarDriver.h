#pragma once

#include <QImage>
#include <QLabel>
#include <QRect>
#include <QTest>
#include <string>

#include "platform/DateTime.h"
#include "ui/CellGrid.h"
#include "ui/ClickLabel.h"
#include "ui/UiText.h"
#include "ui/veskForm.h"

namespace pimvesk::test {

// The calendar page as she sees and drives it: the grid's pixels, the arrows,
// the mouse over a day.

inline QImage GridImage(TForm1& form) {
    return form.CalendarGrid->grab().toImage();
}

inline int CountPixels(const QImage& image, const QRect& rect, TColor color) {
    const QRgb wanted = ToQColor(color).rgb();
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            count += (image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF) ? 1 : 0;
        }
    }
    return count;
}

inline bool AllPixels(const QImage& image, const QRect& rect, TColor color) {
    return CountPixels(image, rect, color) == rect.width() * rect.height();
}

// Today's frame: a one-pixel outline 2 px inside the cell. Its right edge lies
// where no day number reaches.
inline QRect FrameRightEdge(const QRect& cell) {
    return QRect(cell.right() - 2, cell.top() + 2, 1, cell.height() - 4);
}
inline QRect FrameBottomEdge(const QRect& cell) {
    return QRect(cell.left() + 2, cell.bottom() - 2, cell.width() - 4, 1);
}

// A corner of the cell that no day number reaches: shows its background.
inline QRect BackgroundSpot(const QRect& cell) {
    return QRect(cell.right() - 8, cell.bottom() - 6, 4, 3);
}

inline void ClickArrow(ClickLabel* label) {
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
}

inline void MonthShown(const TForm1& form, int& year, int& month) {
    uint16_t y = 0;
    uint16_t m = 0;
    uint16_t d = 0;
    DecodeDate(form.S.ViewDate, y, m, d);
    year = y;
    month = m;
}

// Steps the calendar with the arrows until it shows the month.
inline void ShowMonth(TForm1& form, int year, int month) {
    for (;;) {
        int shownYear = 0;
        int shownMonth = 0;
        MonthShown(form, shownYear, shownMonth);
        const int step = (year - shownYear) * 12 + (month - shownMonth);
        if (step == 0) {
            return;
        }
        ClickArrow(step > 0 ? form.NextLabel : form.PrevLabel);
    }
}

// The grid cell (column, week row) holding a day of the month shown.
inline bool CellOfDay(const TForm1& form, int day, int& col, int& row) {
    for (int r = 1; r <= 6; ++r) {
        for (int c = 0; c < 7; ++c) {
            if (CellDay(form.S.MonthCells, c, r) == day) {
                col = c;
                row = r;
                return true;
            }
        }
    }
    return false;
}

inline QRect DayRect(const TForm1& form, int day) {
    int col = -1;
    int row = -1;
    if (!CellOfDay(form, day, col, row)) {
        return {};
    }
    return form.CalendarGrid->CellRect(col, row);
}

// Moves the mouse onto the point. A move to where the pointer already is
// (the same spot of an earlier test's window) delivers no event, so it comes
// in from one pixel away.
inline void MouseTo(QWidget* widget, const QPoint& point) {
    QTest::mouseMove(widget, point + QPoint(1, 1));
    QTest::mouseMove(widget, point);
}

inline void HoverCell(TForm1& form, int col, int row) {
    MouseTo(form.CalendarGrid, form.CalendarGrid->CellRect(col, row).center());
}

inline void HoverDay(TForm1& form, int day) {
    MouseTo(form.CalendarGrid, DayRect(form, day).center());
}

// Points at the day and double-clicks it, as she opens its memo.
inline void DoubleClickDay(TForm1& form, int day) {
    const QPoint point = DayRect(form, day).center();
    MouseTo(form.CalendarGrid, point);
    QTest::mouseDClick(form.CalendarGrid, Qt::LeftButton, {}, point);
}

inline int64_t Serial(int year, int month, int day) {
    return WholeDay(EncodeDate(year, month, day));
}

}  // namespace pimvesk::test

#include "model/MonthGrid.h"

namespace pimvesk {

MonthCells BuildMonthGrid(TDateTime viewDate) {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    DecodeDate(viewDate, year, month, day);
    TDateTime date = EncodeDate(year, month, 1);
    // Day of the week 1 (Sunday) .. 7 (Saturday) to a Monday-first column.
    static constexpr int kFirstColumn[] = {6, 0, 1, 2, 3, 4, 5};
    const int first = kFirstColumn[DayOfWeek(date) - 1];
    MonthCells cells;
    cells.fill(-1);
    for (int i = first, n = 1; i < 42; ++i, ++n, date += 1) {
        uint16_t y = 0;
        uint16_t m = 0;
        DecodeDate(date, y, m, day);
        if (m != month) {
            break;
        }
        cells[static_cast<size_t>(i)] = n;
    }
    return cells;
}

int32_t CellDay(const MonthCells& cells, int32_t col, int32_t row) {
    if (col < 0 || col > 6 || row < 1 || row > 6) {
        return -1;
    }
    return cells[static_cast<size_t>((row - 1) * 7 + col)];
}

}  // namespace pimvesk

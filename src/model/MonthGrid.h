#pragma once

#include <array>
#include <cstdint>

#include "platform/DateTime.h"

namespace pimvesk {

// Six week rows of seven columns, Monday first: the day of the month in each
// cell, or -1 outside the month. Week row r (1..6), column c is (r - 1) * 7 + c.
using MonthCells = std::array<int32_t, 42>;

// The month of `viewDate`.
MonthCells BuildMonthGrid(TDateTime viewDate);

// The cell's day, or -1 for a position outside the six week rows.
int32_t CellDay(const MonthCells& cells, int32_t col, int32_t row);

}  // namespace pimvesk

#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pimvesk {

// Days since 1899-12-30; the program only ever holds whole days.
using TDateTime = double;

// A proleptic Gregorian date wide enough for any serial a file can hold.
struct CivilDate {
    int64_t year;
    unsigned month;  // 1..12
    unsigned day;    // 1..31
};

int64_t SerialFromCivil(int64_t year, unsigned month, unsigned day);
CivilDate CivilFromSerial(int64_t serial);

// Whole-day number of a date: truncated toward zero; never overflows.
int64_t WholeDay(TDateTime date);
// Truncation toward zero to a signed 32-bit integer, wrapping as the stored
// format's integers do.
int32_t TruncToInt32(double value);
// 64-bit arithmetic cut to 32 bits, for the places that are taken as a 32-bit int.
int32_t WrapToInt32(int64_t value);

bool IsValidDate(int year, int month, int day);
bool IsLeapYear(int year);
// Years 1..9999 and real dates only.
std::optional<TDateTime> TryEncodeDate(int year, int month, int day);
TDateTime EncodeDate(int year, int month, int day);  // throws Error

// Year, month and day as 16-bit numbers. Meant for dates within years 1..9999.
void DecodeDate(TDateTime date, uint16_t& year, uint16_t& month, uint16_t& day);

// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime date);

// The short date text "yyyy/mm/dd"; formats any serial without failing.
std::string DateToStr(TDateTime date);

// Today's local date as a whole day.
TDateTime Today();

}  // namespace pimvesk

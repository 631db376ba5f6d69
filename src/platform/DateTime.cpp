#include "platform/DateTime.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

#include "platform/Error.h"

namespace pimvesk {

namespace {

// Serial 0 (1899-12-30) counted in days from 1970-01-01.
constexpr int64_t kEpochOffset = -25569;

// Floor division for the civil-date arithmetic below.
int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

// Days from 1970-01-01 by H. Hinnant's civil calendar algorithms.
int64_t SerialFromCivil(int64_t year, unsigned month, unsigned day) {
    const int64_t y = year - (month <= 2 ? 1 : 0);
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t mp = (month + 9) % 12;
    const int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 - kEpochOffset;
}

CivilDate CivilFromSerial(int64_t serial) {
    const int64_t z = serial + kEpochOffset + 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const auto day = static_cast<unsigned>(doy - (153 * mp + 2) / 5 + 1);
    const auto month = static_cast<unsigned>(mp < 10 ? mp + 3 : mp - 9);
    const int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day};
}

int64_t WholeDay(TDateTime date) {
    if (!std::isfinite(date)) {
        return 0;
    }
    constexpr double kLimit = 9.2e18;  // inside the range of int64
    if (date >= kLimit) {
        return static_cast<int64_t>(kLimit);
    }
    if (date <= -kLimit) {
        return -static_cast<int64_t>(kLimit);
    }
    return static_cast<int64_t>(std::trunc(date));
}

int32_t WrapToInt32(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

int32_t TruncToInt32(double value) {
    return WrapToInt32(WholeDay(value));
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool IsValidDate(int year, int month, int day) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) {
        return false;
    }
    const int last = kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
    return day <= last;
}

std::optional<TDateTime> TryEncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day)) {
        return std::nullopt;
    }
    return static_cast<TDateTime>(
        SerialFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)));
}

TDateTime EncodeDate(int year, int month, int day) {
    if (auto date = TryEncodeDate(year, month, day)) {
        return *date;
    }
    throw Error(BadDateMessage());
}

void DecodeDate(TDateTime date, uint16_t& year, uint16_t& month, uint16_t& day) {
    const CivilDate civil = CivilFromSerial(WholeDay(date));
    year = static_cast<uint16_t>(static_cast<uint64_t>(civil.year));
    month = static_cast<uint16_t>(civil.month);
    day = static_cast<uint16_t>(civil.day);
}

int DayOfWeek(TDateTime date) {
    const int64_t serial = WholeDay(date);
    return static_cast<int>(((serial - 1) % 7 + 7) % 7) + 1;
}

std::string DateToStr(TDateTime date) {
    const CivilDate civil = CivilFromSerial(WholeDay(date));
    char text[48];
    std::snprintf(text, sizeof text, "%04lld/%02u/%02u", static_cast<long long>(civil.year),
                  civil.month, civil.day);
    return text;
}

TDateTime Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace pimvesk

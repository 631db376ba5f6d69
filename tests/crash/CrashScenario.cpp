#include "CrashScenario.h"

#include <cerrno>

#include "platform/Error.h"
#include "store/Memos.h"
#include "store/Settings.h"

namespace pimvesk::crash {

namespace {

const TDateTime kJanuary = EncodeDate(2024, 1, 1);
const TDateTime kFebruary = EncodeDate(2024, 2, 1);
const TDateTime kValentine = EncodeDate(2024, 2, 14);

// "記録" and "通院" in CP932.
const std::string kRecord = "\x8B\x4C\x98\x5E";
const std::string kClinic = "\x92\xCA\x89\x40";

Content MakeContent(bool second) {
    Content c;
    c.ovulationDay = second ? 15 : 14;
    c.periodDays = second ? 5 : 6;
    c.fixedAverage = second;
    c.averageDays = second ? 30 : 28;
    // Hundreds of starts: the save is many kilobytes, written in one go.
    const int count = second ? 437 : 400;
    for (int i = 0; i < count; ++i) {
        c.periods.push_back(static_cast<TDateTime>(20000 + i * 28 + (second ? i % 3 : 0)));
    }
    c.backColor = second ? 0xEEEEEE : 0xFFFFFF;
    c.periodColor = second ? -5 : 0xA2907B;
    for (size_t k = 0; k < 5; ++k) {
        c.categoryNames[k] = (second ? " " + kClinic : kRecord) + std::to_string(k + 1);
        c.categoryColors[k] = static_cast<TColor>(second ? 0x102030 * (k + 1) : 0x8080FF - k);
    }
    for (int day = 0; day < 31; ++day) {
        const std::string text = second ? kClinic + " B " + std::string(day * 3, 'b')
                                        : kRecord + " A" + std::to_string(day);
        c.january.push_back({kJanuary + day, (day + (second ? 2 : 0)) % 5, text});
    }
    c.februaryMemo = second;
    return c;
}

// Loads as a start-up would, but every write is refused.
class NoWriteFileSystem : public FileSystem {
public:
    int CreateFile(const std::string&, mode_t, int& fd) override {
        fd = -1;
        return EROFS;
    }
    int MakeDirectory(const std::string&) override { return EROFS; }
};

void ThrowIfReported(const LoadReport& report) {
    if (!report.Empty()) {
        throw Error(report.Text());
    }
}

std::vector<std::tuple<TDateTime, int32_t, std::string>> Flatten(const MemoList& memos) {
    std::vector<std::tuple<TDateTime, int32_t, std::string>> flat;
    for (const TDayMemo& memo : memos) {
        flat.emplace_back(memo.Date, memo.Category, memo.Text);
    }
    return flat;
}

}  // namespace

const Content& ContentA() {
    static const Content content = MakeContent(false);
    return content;
}

const Content& ContentB() {
    static const Content content = MakeContent(true);
    return content;
}

std::string SettingsPath(const std::string& dir) {
    return dir + "/PIMVESK.ini";
}
std::string JanuaryPath(const std::string& dir) {
    return dir + "/data/2024_1.pim";
}
std::string FebruaryPath(const std::string& dir) {
    return dir + "/data/2024_2.pim";
}

void OpenSession(Session& session, const std::string& dir, FileSystem& fs) {
    for (VeskState* state : {&session.main, &session.february}) {
        OpenDefaultState(*state, SettingsPath(dir), fs);
    }
    session.main.ViewDate = kJanuary;
    session.february.ViewDate = kFebruary;
    LoadReport report;
    LoadSettings(session.main, report);
    LoadMonthMemos(session.main, report);
    LoadMonthMemos(session.february, report);
    ThrowIfReported(report);
}

void SaveRound(Session& session, const Content& content) {
    VeskState& main = session.main;
    main.OvulationDay = content.ovulationDay;
    main.PeriodDays = content.periodDays;
    main.FixedAverage = content.fixedAverage;
    main.AverageDays = content.averageDays;
    main.Periods = content.periods;
    main.BackColor = content.backColor;
    main.PeriodColor = content.periodColor;
    main.CategoryNames = content.categoryNames;
    main.CategoryColors = content.categoryColors;
    SaveSettings(main);

    main.Memos = content.january;
    SaveMonthMemos(main);

    // February is shown again, as after a month change, and one memo is
    // registered or deleted there.
    LoadReport report;
    LoadMonthMemos(session.february, report);
    ThrowIfReported(report);
    if (content.februaryMemo) {
        PutMemo(session.february, kValentine, 3, kClinic + " 14");
    } else {
        DeleteMemo(session.february, kValentine);
    }
}

void Prepare(const std::string& dir) {
    Session session;
    OpenSession(session, dir);
    for (int day = 1; day <= 29; ++day) {
        if (day != 14) {
            PutMemo(session.february, EncodeDate(2024, 2, day), day % 5, kRecord + " F");
        }
    }
    // The first saves lay the files out afresh; from the third on, A and B
    // each always give the same bytes.
    SaveRound(session, ContentA());
    SaveRound(session, ContentB());
    SaveRound(session, ContentA());
}

bool Parsed::SameSettings(const Parsed& other) const {
    return ovulationDay == other.ovulationDay && periodDays == other.periodDays &&
           fixedAverage == other.fixedAverage && averageDays == other.averageDays &&
           periods == other.periods && colors == other.colors &&
           categoryNames == other.categoryNames && categoryColors == other.categoryColors;
}

Parsed ParseDirectory(const std::string& dir) {
    NoWriteFileSystem fs;
    VeskState state;
    OpenDefaultState(state, SettingsPath(dir), fs);
    LoadReport report;
    LoadSettings(state, report);
    Parsed parsed;
    parsed.ovulationDay = state.OvulationDay;
    parsed.periodDays = state.PeriodDays;
    parsed.fixedAverage = state.FixedAverage;
    parsed.averageDays = state.AverageDays;
    SortDates(state.Periods);
    parsed.periods = state.Periods;
    parsed.colors = {state.BackColor, state.PeriodColor,  state.DangerColor,
                     state.DateColor, state.HolidayColor, state.SaturdayColor};
    parsed.categoryNames = state.CategoryNames;
    parsed.categoryColors = state.CategoryColors;
    state.ViewDate = kJanuary;
    LoadMonthMemos(state, report);
    parsed.january = Flatten(state.Memos);
    state.ViewDate = kFebruary;
    LoadMonthMemos(state, report);
    parsed.february = Flatten(state.Memos);
    parsed.reports = report.Messages();
    return parsed;
}

}  // namespace pimvesk::crash

// The window's own handlers timed in one process under the offscreen
// platform: a change of month against one full repaint of the month grid,
// and adding one start to a long record against refilling a plain list of
// the same length.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <memory>

#include "DataSet.h"
#include "platform/DateTime.h"
#include "store/Paths.h"
#include "ui/CellGrid.h"
#include "ui/ClickLabel.h"
#include "ui/Fonts.h"
#include "ui/memo.h"
#include "ui/veskForm.h"

namespace {

using namespace pimvesk;

// The window shown on a data home of `starts` starts, on page `page`.
struct ShownForm {
    ShownForm(int starts, int page) : home(bench::MakeScratchHome()) {
        bench::WriteDataSet(home, starts);
        form = std::make_unique<TForm1>(ProgramPathIn(home));
        memo = std::make_unique<TMemoForm>(form.get());
        form->AttachMemoForm(memo.get());
        form->PageControl1->setCurrentIndex(page);
        form->show();
        QApplication::processEvents();
    }
    ~ShownForm() {
        memo.reset();
        form.reset();
        bench::RemoveScratchHome(home);
    }

    std::string home;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TMemoForm> memo;
};

// To the next month and back: each change writes the month left (unchanged,
// so no file is touched), reads the new month's 30 memos and repaints.
void BM_ChangeMonth(benchmark::State& state) {
    ShownForm shown(300, 0);
    bool forward = true;
    for (auto _ : state) {
        (forward ? shown.form->NextLabel : shown.form->PrevLabel)->onClick();
        forward = !forward;
    }
}
BENCHMARK(BM_ChangeMonth)->Unit(benchmark::kMicrosecond);

void BM_RepaintGrid(benchmark::State& state) {
    ShownForm shown(300, 0);
    for (auto _ : state) {
        shown.form->CalendarGrid->repaint();
    }
}
BENCHMARK(BM_RepaintGrid)->Unit(benchmark::kMicrosecond);

// Her next start, 29 days after the last, clicked on the Details page; taken
// out again untimed so that every click finds the same record.
void BM_AddStart(benchmark::State& state) {
    const auto starts = static_cast<int>(state.range(0));
    ShownForm shown(starts, 1);
    TForm1& form = *shown.form;
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    DecodeDate(form.S.Periods.back() + 29, year, month, day);
    form.YearUD->setValue(year);
    form.MonthUD->setValue(month);
    form.DateUD->setValue(day);
    for (auto _ : state) {
        form.AddButton->click();
        state.PauseTiming();
        form.S.Periods.pop_back();
        form.FillPastBox();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddStart)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

// What any list of that many dates costs to refill, texts made beforehand and
// added at once: the floor under an add.
void BM_RefillPlainList(benchmark::State& state) {
    const auto lines = static_cast<int>(state.range(0));
    QListWidget list;
    list.setFont(DesignFont(kPGothic, 15));
    list.setGeometry(16, 80, 121, 185);
    list.show();
    QStringList dates;
    for (int i = 0; i < lines; ++i) {
        dates << QString::fromStdString(DateToStr(Today() - 29 * i));
    }
    for (auto _ : state) {
        list.clear();
        list.addItems(dates);
    }
}
BENCHMARK(BM_RefillPlainList)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("PimVesk");
    InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

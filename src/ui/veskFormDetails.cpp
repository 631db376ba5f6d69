// The Details page: recording and deleting period starts, the projected starts
// and the day-by-day listing of one cycle.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include "platform/DateTime.h"
#include "ui/CycleListBox.h"
#include "ui/Guard.h"
#include "ui/UiText.h"
#include "ui/veskForm.h"

namespace pimvesk {

namespace {

// A listing longer than this many days is cut: a cycle of two thousand million
// days, typed or stored, must not hang the window.
constexpr int32_t kMaxListedDays = 10000;

// Twelve bytes each, so the three symbols stand in three columns.
const char* MarkOf(TDayKind kind) {
    switch (kind) {
        case dkOvulation:
            return "      \x81\x49    ";  // ！
        case dkPeriod:
            return "  \x81\x99        ";  // ☆
        case dkDanger:
            return "    \x81\x7E      ";  // ×
        case dkNormal:
            break;
    }
    return "            ";
}

QLabel* CaptionLabel(const char* text, QRect place, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QSpinBox* SpinField(QRect place, int low, int high, bool wraps, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setGeometry(place);
    spin->setRange(low, high);
    spin->setWrapping(wraps);
    spin->setValue(low);
    // The designed field is narrow: the edit's own inner margin would hide the
    // fourth digit of the year behind the arrows.
    if (auto* edit = spin->findChild<QLineEdit*>()) {
        edit->setTextMargins(-2, 0, -2, 0);
    }
    return spin;
}

// The selected line, or -1: a list that only has a current row has no selection.
int SelectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

void ConnectSelection(QListWidget* list, QWidget* form, void (TForm1::*handler)()) {
    auto* owner = static_cast<TForm1*>(form);
    const auto run = [list, owner, handler] {
        if (SelectedRow(list) >= 0) {
            Guarded(owner, [owner, handler] { (owner->*handler)(); });
        }
    };
    // A selection made by her runs the handler; a click on the line already
    // selected lists it again. Lists filled from code block their signals.
    QObject::connect(list, &QListWidget::itemSelectionChanged, owner, run);
    QObject::connect(list, &QListWidget::itemClicked, owner, run);
}

}  // namespace

void TForm1::BuildMoreTab() {
    CaptionLabel("Y", {8, 20, 9, 15}, MoreTab);
    YearUD = SpinField({24, 16, 57, 23}, 1900, 3000, false, MoreTab);
    CaptionLabel("M", {88, 20, 11, 15}, MoreTab);
    MonthUD = SpinField({105, 16, 41, 23}, 1, 12, true, MoreTab);
    CaptionLabel("D", {152, 20, 10, 15}, MoreTab);
    DateUD = SpinField({168, 16, 41, 23}, 1, 31, true, MoreTab);

    AveEdit = new QLineEdit(MoreTab);
    AveEdit->setGeometry(224, 16, 25, 23);
    connect(AveEdit, &QLineEdit::textChanged, this,
            [this] { Guarded(this, [this] { AveEditChange(); }); });
    auto* aveLabel = new QLabel("Ave.", MoreTab);
    aveLabel->setGeometry(248, 20, 28, 15);

    AddButton = new QPushButton("この日を追加", MoreTab);
    AddButton->setGeometry(16, 48, 121, 25);
    connect(AddButton, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { AddButtonClick(); }); });

    PastBox = new QListWidget(MoreTab);
    PastBox->setGeometry(16, 80, 121, 185);
    SetLineHeight(PastBox, 15);
    ConnectSelection(PastBox, this, &TForm1::PastBoxClick);

    DeleteButton = new QPushButton("この日を削除", MoreTab);
    DeleteButton->setGeometry(16, 272, 121, 25);
    connect(DeleteButton, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { DeleteButtonClick(); }); });

    FutureBox = new QListWidget(MoreTab);
    FutureBox->setGeometry(152, 80, 121, 217);
    SetLineHeight(FutureBox, 15);
    ConnectSelection(FutureBox, this, &TForm1::FutureBoxClick);

    CurrentBox = new CycleListBox(15, MoreTab);
    CurrentBox->setGeometry(288, 8, 145, 289);
    CurrentBox->onDrawItem = [this](QPainter& painter, int index, const QRect& rect,
                                    const QString& text) {
        CurrentBoxDrawItem(painter, index, rect, text);
    };
    ConnectSelection(CurrentBox, this, &TForm1::CurrentBoxClick);

    for (QListWidget* list : {PastBox, FutureBox, static_cast<QListWidget*>(CurrentBox)}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    QWidget::setTabOrder(YearUD, AddButton);
    QWidget::setTabOrder(AddButton, MonthUD);
    QWidget::setTabOrder(MonthUD, DateUD);
    QWidget::setTabOrder(DateUD, PastBox);
    QWidget::setTabOrder(PastBox, DeleteButton);
    QWidget::setTabOrder(DeleteButton, CurrentBox);
    QWidget::setTabOrder(CurrentBox, FutureBox);
    QWidget::setTabOrder(FutureBox, AveEdit);
}

void TForm1::ShowEntryDate() {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    DecodeDate(S.EntryDate, year, month, day);
    YearUD->setValue(year);
    MonthUD->setValue(month);
    DateUD->setValue(day);
}

void TForm1::FillPastBox() {
    SortDates(S.Periods);
    const QSignalBlocker blocker(PastBox);
    PastBox->clear();
    QStringList lines;  // added at once: one insertion, not one per start
    lines.reserve(static_cast<qsizetype>(S.Periods.size()));
    for (TDateTime start : S.Periods) {
        lines << QString::fromStdString(DateToStr(start));
    }
    PastBox->addItems(lines);
}

void TForm1::FillFutureBox() {
    SortDates(S.Periods);
    const QSignalBlocker blocker(FutureBox);
    FutureBox->clear();
    if (S.Periods.empty()) {
        return;
    }
    QStringList lines;
    for (int32_t k = 0; k < 20; ++k) {
        lines << QString::fromStdString(
            DateToStr(ProjectedStart(S.Periods.back(), S.AverageDays, k)));
    }
    FutureBox->addItems(lines);
}

void TForm1::FillCurrentBox(TDateTime start, int32_t count) {
    const QSignalBlocker blocker(CurrentBox);
    CurrentBox->clear();
    S.CycleLength = count;
    const int32_t last = std::min(count, kMaxListedDays);
    QStringList lines;
    for (int32_t i = 0; i <= last; ++i) {
        const std::string line = DateToStr(start + i) + MarkOf(KindOfDay(i, count, S.Cycle()));
        lines << FromCp932(line);
    }
    CurrentBox->addItems(lines);
}

void TForm1::RefreshCycle() {
    AveEdit->setText(QString::number(S.AverageDays));
    if (S.Periods.empty()) {
        return;
    }
    FillFutureBox();
    const QSignalBlocker blocker(CurrentBox);
    CurrentBox->clear();
}

void TForm1::AddButtonClick() {
    const auto month = static_cast<int16_t>(MonthUD->value());
    const auto day = static_cast<int16_t>(DateUD->value());
    const auto year = static_cast<int16_t>(YearUD->value());
    if (month == 2 && day >= 29) {
        DateUD->setValue(IsLeapYear(year) ? 29 : 28);
    } else if ((month == 4 || month == 6 || month == 9 || month == 11) && day > 30) {
        DateUD->setValue(30);
    }
    if (const auto entered = TryEncodeDate(YearUD->value(), MonthUD->value(), DateUD->value())) {
        S.EntryDate = *entered;
    }
    S.Periods.push_back(S.EntryDate);
    FillPastBox();
    if (!S.FixedAverage) {
        S.AverageDays = CalcAverage(S.Periods);
        AveEdit->setText(QString::number(S.AverageDays));
    }
    FillFutureBox();
}

void TForm1::DeleteButtonClick() {
    const int k = SelectedRow(PastBox);
    if (k < 0 || k >= static_cast<int>(S.Periods.size())) {
        return;
    }
    S.Periods.erase(S.Periods.begin() + k);
    FillPastBox();
    if (k < PastBox->count()) {
        const QSignalBlocker blocker(PastBox);
        PastBox->setCurrentRow(k);  // the start that followed the deleted one
    }
    if (!S.FixedAverage) {
        S.AverageDays = CalcAverage(S.Periods);
        AveEdit->setText(QString::number(S.AverageDays));
    }
    FillFutureBox();
}

void TForm1::AveEditChange() {
    if (S.FixedAverage) {
        return;
    }
    if (AveEdit->text().isEmpty()) {
        AveEdit->setText("0");  // runs this handler again, nested
    }
    S.AverageDays = ParseInteger(AveEdit->text());
    RefreshCycle();
}

void TForm1::PastBoxClick() {
    const int k = SelectedRow(PastBox);
    if (k < 0 || k >= static_cast<int>(S.Periods.size())) {
        return;
    }
    const auto index = static_cast<size_t>(k);
    const int32_t length = index + 1 < S.Periods.size()
                               ? TruncToInt32(S.Periods[index + 1] - S.Periods[index])
                               : S.AverageDays;
    FillCurrentBox(S.Periods[index], length);
}

void TForm1::FutureBoxClick() {
    const int k = SelectedRow(FutureBox);
    if (k < 0 || S.Periods.empty()) {
        return;
    }
    FillCurrentBox(ProjectedStart(S.Periods.back(), S.AverageDays, k), S.AverageDays);
}

void TForm1::CurrentBoxClick() {
    CurrentBox->viewport()->repaint();
}

void TForm1::CurrentBoxDrawItem(QPainter& painter, int index, const QRect& rect,
                                const QString& text) {
    const TColor brush = KindColor(S, KindOfDay(index, S.CycleLength, S.Cycle()));
    // The band is exactly as wide as the text, mark included.
    painter.setFont(CurrentBox->font());
    const QRect band(rect.left(), rect.top(), painter.fontMetrics().horizontalAdvance(text),
                     rect.height());
    painter.fillRect(band, ToQColor(brush));
    painter.setPen(ToQColor(S.DateColor));
    painter.drawText(band, Qt::AlignLeft | Qt::AlignTop, text);
}

}  // namespace pimvesk

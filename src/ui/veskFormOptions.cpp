// The Options page: the average mode, the cycle numbers, the colours, the memo
// categories, saving and the version.
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <limits>

#include "platform/DateTime.h"
#include "store/Memos.h"
#include "store/Settings.h"
#include "ui/ColorShape.h"
#include "ui/Dialogs.h"
#include "ui/Guard.h"
#include "ui/UiText.h"
#include "ui/veskForm.h"

namespace pimvesk {

namespace {

// The number fields' rule: an emptied field first becomes "0" (its handler
// then runs once more, nested), and the absolute value is what counts; the
// field keeps the text as typed.
int32_t NumberRule(QLineEdit* field) {
    if (field->text().isEmpty()) {
        field->setText("0");
    }
    const int32_t value = ParseInteger(field->text());
    return WrapToInt32(value < 0 ? -int64_t{value} : int64_t{value});
}

QLabel* PlainLabel(const char* text, QPoint at, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->move(at);
    label->adjustSize();
    return label;
}

QLineEdit* NumberField(const char* text, QRect place, QWidget* parent) {
    auto* field = new QLineEdit(text, parent);
    field->setGeometry(place);
    return field;
}

}  // namespace

void TForm1::BuildOptionTab() {
    AverageGroup = new QGroupBox("平均周期", OptionTab);
    AverageGroup->setGeometry(16, 24, 161, 89);
    AverageItems = new QButtonGroup(this);
    auto* computed = new QRadioButton("自動計算", AverageGroup);
    computed->setGeometry(8, 22, 145, 24);
    auto* fixed = new QRadioButton("固定 : ", AverageGroup);
    fixed->setGeometry(8, 54, 72, 24);
    AverageItems->addButton(computed, 0);
    AverageItems->addButton(fixed, 1);
    computed->setChecked(true);
    // Runs for her click and for a selection made by start-up alike.
    connect(AverageItems, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) {
            Guarded(this, [this] { AverageGroupClick(); });
        }
    });

    FixAveEdit = NumberField("28", {96, 80, 49, 23}, OptionTab);
    FixAveEdit->setEnabled(false);
    connect(FixAveEdit, &QLineEdit::textChanged, this,
            [this] { Guarded(this, [this] { FixAveEditChange(); }); });
    PlainLabel("排卵日：", {208, 56}, OptionTab);
    FixOvuEdit = NumberField("14", {304, 48, 49, 23}, OptionTab);
    connect(FixOvuEdit, &QLineEdit::textChanged, this,
            [this] { Guarded(this, [this] { FixOvuEditChange(); }); });
    PlainLabel("生理日数：", {208, 96}, OptionTab);
    FixPeriodEdit = NumberField("6", {304, 88, 49, 23}, OptionTab);
    connect(FixPeriodEdit, &QLineEdit::textChanged, this,
            [this] { Guarded(this, [this] { FixPeriodEditChange(); }); });

    SaveOptionButton = new QPushButton("Save", OptionTab);
    SaveOptionButton->setGeometry(384, 48, 75, 25);
    connect(SaveOptionButton, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { SaveOptionButtonClick(); }); });
    About = new QPushButton("About", OptionTab);
    About->setGeometry(384, 88, 75, 25);
    connect(About, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { AboutClick(); }); });

    ColorGroup = new QGroupBox("色の設定", OptionTab);
    ColorGroup->setGeometry(16, 136, 273, 185);
    struct ColorRow {
        const char* caption;
        QPoint at;
        ColorShape** shape;
        TColor VeskState::*field;
    };
    const ColorRow rows[] = {
        {"背景色", {16, 24}, &BackShape, &VeskState::BackColor},
        {"Period", {16, 80}, &PeriodShape, &VeskState::PeriodColor},
        {"危険日", {16, 136}, &DangerShape, &VeskState::DangerColor},
        {"日付の色", {168, 24}, &DateShape, &VeskState::DateColor},
        {"土曜日", {168, 80}, &SaturdayShape, &VeskState::SaturdayColor},
        {"日曜日", {168, 136}, &HolidayShape, &VeskState::HolidayColor},
    };
    for (const ColorRow& row : rows) {
        PlainLabel(row.caption, row.at, ColorGroup);
        ColorShape* shape = *row.shape = new ColorShape(ColorGroup);
        shape->setGeometry(row.at.x(), row.at.y() + 16, 65, 25);
        TColor VeskState::*field = row.field;
        shape->onMouseDown = [this, shape, field] {
            Guarded(this, [this, shape, field] { ColorShapeMouseDown(shape, S.*field); });
        };
    }

    PlainLabel("メモの種類：", {312, 144}, OptionTab);
    for (int k = 0; k < 5; ++k) {
        const auto index = static_cast<size_t>(k);
        CategoryEdits[index] = new QLineEdit(QString("Edit%1").arg(k + 1), OptionTab);
        CategoryEdits[index]->setGeometry(312, 168 + 32 * k, 121, 23);
        // A stored name of any length is shown whole, never cut.
        CategoryEdits[index]->setMaxLength(std::numeric_limits<int>::max());
        connect(CategoryEdits[index], &QLineEdit::textChanged, this,
                [this, k] { Guarded(this, [this, k] { CategoryEditChange(k); }); });
        CategoryShapes[index] = new ColorShape(OptionTab);
        CategoryShapes[index]->setGeometry(k == 0 ? 440 : 441, 168 + 32 * k, 25, 25);
        CategoryShapes[index]->onMouseDown = [this, index] {
            Guarded(this, [this, index] {
                ColorShapeMouseDown(CategoryShapes[index], S.CategoryColors[index]);
            });
        };
    }
}

void TForm1::AverageGroupClick() {
    switch (AverageItems->checkedId()) {
        case 0:
            S.FixedAverage = false;
            FixAveEdit->setEnabled(false);
            AveEdit->setEnabled(true);
            S.AverageDays = CalcAverage(S.Periods);
            break;
        case 1:
            S.FixedAverage = true;
            FixAveEdit->setEnabled(true);
            S.AverageDays = NumberRule(FixAveEdit);
            AveEdit->setEnabled(false);
            break;
        default:
            break;
    }
    RefreshCycle();
}

void TForm1::FixAveEditChange() {
    S.AverageDays = NumberRule(FixAveEdit);
    RefreshCycle();
}

void TForm1::FixOvuEditChange() {
    S.OvulationDay = NumberRule(FixOvuEdit);
    RefreshCycle();
}

void TForm1::FixPeriodEditChange() {
    S.PeriodDays = NumberRule(FixPeriodEdit);
    RefreshCycle();
}

void TForm1::CategoryEditChange(int category) {
    QLineEdit* edit = CategoryEdits[static_cast<size_t>(category)];
    std::string& name = S.CategoryNames[static_cast<size_t>(category)];
    if (edit->text() == FromCp932(name)) {
        // The stored name shown as it is: its bytes stay, also those that do
        // not decode or that spell a character CP932 holds twice.
        return;
    }
    const QString line = OneLine(edit->text());
    const auto text = ToCp932(line);
    if (!text) {
        // Refused where it is typed: the name stays what it was.
        const QSignalBlocker blocker(edit);
        edit->setText(FromCp932(name));
        ShowErrorBox(this, NotInCp932Message(line));
        return;
    }
    if (line != edit->text()) {
        const QSignalBlocker blocker(edit);
        edit->setText(line);
    }
    name = *text;
}

void TForm1::ColorShapeMouseDown(ColorShape* shape, TColor& field) {
    QColor chosen;
    if (CurrentDialogs().PickColor(this, ToQColor(field), chosen)) {
        field = FromQColor(chosen);
    }
    shape->SetColor(ToQColor(field));
    RefreshCalendar();
}

void TForm1::SaveOptionButtonClick() {
    SaveSettings(S);
    SaveMonthMemos(S);
}

void TForm1::AboutClick() {
    CurrentDialogs().ShowMessage(this, "ぴむべ～すく ばーじょん " + FromCp932(S.Version));
}

}  // namespace pimvesk

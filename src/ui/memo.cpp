#include "ui/memo.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>

#include "store/Memos.h"
#include "ui/CellGrid.h"
#include "ui/ColorShape.h"
#include "ui/Dialogs.h"
#include "ui/Fonts.h"
#include "ui/Guard.h"
#include "ui/UiText.h"
#include "ui/veskForm.h"

namespace pimvesk {

void OneLineMemo::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();  // no new line, and no button is pressed either
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void OneLineMemo::insertFromMimeData(const QMimeData* source) {
    if (source->hasText()) {
        insertPlainText(OneLine(source->text()));
    }
}

TMemoForm::TMemoForm(TForm1* form) : QWidget(nullptr, Qt::Window), Form1(form) {
    setWindowTitle("1行メモ");
    setFont(DesignFont(kPGothic, 15));
    setGeometry(290, 275, 371, 248);

    Label1 = new QLabel(this);
    Label1->setGeometry(40, 8, 281, 25);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setFont(DesignFont(kPGothic, 23, true));

    Memo1 = new OneLineMemo(this);
    Memo1->setGeometry(40, 40, 281, 97);
    Memo1->setTabChangesFocus(true);

    CategoryBox = new QComboBox(this);
    CategoryBox->setGeometry(40, 152, 249, 23);
    for (const char* item : {"メモ１", "メモ２", "メモ３", "メモ４", "メモ５"}) {
        CategoryBox->addItem(item);
    }
    connect(CategoryBox, &QComboBox::activated, this,
            [this] { Guarded(this, [this] { CategoryBoxChange(); }); });

    MemoShape = new ColorShape(this);
    MemoShape->setGeometry(296, 152, 25, 25);

    OKButton = new QPushButton("登録", this);
    OKButton->setGeometry(40, 184, 75, 25);
    DeleteButton = new QPushButton("削除", this);
    DeleteButton->setGeometry(144, 184, 75, 25);
    CancelButton = new QPushButton("取り消し", this);
    CancelButton->setGeometry(248, 184, 75, 25);
    for (QPushButton* button : {OKButton, DeleteButton, CancelButton}) {
        button->setAutoDefault(false);
    }
    connect(OKButton, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { OKButtonClick(); }); });
    connect(DeleteButton, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { DeleteButtonClick(); }); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
    setTabOrder(Memo1, CategoryBox);
    setTabOrder(CategoryBox, OKButton);
    setTabOrder(OKButton, DeleteButton);
    setTabOrder(DeleteButton, CancelButton);
}

// Minimising and restoring the dialog (or moving it to another desktop) shows
// and hides it spontaneously: it is still open, so the main window stays
// disabled and her text stays.
void TMemoForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        Guarded(this, [this] { FormShow(); });
    }
}

void TMemoForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        FormHide();
    }
}

void TMemoForm::FormShow() {
    Form1->setEnabled(false);
    const VeskState& s = Form1->S;
    for (int i = 0; i < 5; ++i) {
        CategoryBox->setItemText(i, FromCp932(s.CategoryNames[static_cast<size_t>(i)]));
    }
    Label1->setText(QString::fromStdString(DateToStr(s.ViewDate)));
    std::string text;
    int32_t category = FindMemo(s.Memos, s.ViewDate, text);
    if (category < 0 || category > 4) {
        // No memo, or a number from a hand-edited file: shown as the first
        // category; the stored number stays until she registers the memo.
        category = 0;
    }
    Memo1->setPlainText(FromCp932(text));
    Memo1->moveCursor(QTextCursor::End);
    CategoryBox->setCurrentIndex(category);
    MemoShape->SetColor(ToQColor(s.CategoryColors[static_cast<size_t>(category)]));
    activateWindow();
    Memo1->setFocus();
}

void TMemoForm::FormHide() {
    Form1->setEnabled(true);
    // The keys go back to the calendar, which the dialog was opened from:
    // disabling the window moved its focus on to the tab bar, and nothing
    // would make the window active again.
    Form1->CalendarGrid->setFocus();
    Form1->activateWindow();
    Form1->CalendarGrid->update();  // the day shows its new memo colour at once
}

void TMemoForm::OKButtonClick() {
    const QString typed = Memo1->toPlainText();
    if (typed.isEmpty()) {
        hide();
        return;
    }
    const QString line = OneLine(typed);
    std::string stored;
    FindMemo(Form1->S.Memos, Form1->S.ViewDate, stored);
    // The stored text left as it was keeps its bytes, also those that do not
    // decode or that spell a character CP932 holds twice.
    const auto text =
        line == FromCp932(stored) ? std::optional<std::string>(stored) : ToCp932(line);
    if (!text) {
        ShowErrorBox(this, NotInCp932Message(line));
        return;
    }
    PutMemo(Form1->S, Form1->S.ViewDate, CategoryBox->currentIndex(), *text);
    hide();
}

void TMemoForm::DeleteButtonClick() {
    DeleteMemo(Form1->S, Form1->S.ViewDate);
    hide();
}

void TMemoForm::CancelButtonClick() {
    hide();
}

void TMemoForm::CategoryBoxChange() {
    const int index = CategoryBox->currentIndex();
    if (index >= 0 && index < 5) {
        MemoShape->SetColor(ToQColor(Form1->S.CategoryColors[static_cast<size_t>(index)]));
    }
}

}  // namespace pimvesk

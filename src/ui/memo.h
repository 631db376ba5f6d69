#pragma once

#include <QPlainTextEdit>
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace pimvesk {

class ColorShape;
class TForm1;

// The text field of the memo dialog: one line, so Enter does nothing and
// pasted line breaks become spaces.
class OneLineMemo : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
};

// "1行メモ": registers, changes or deletes the memo of the day in ViewDate.
// It keeps no state: it works on the main window's.
class TMemoForm : public QWidget {
public:
    explicit TMemoForm(TForm1* form);

    void FormShow();
    void FormHide();
    void OKButtonClick();
    void DeleteButtonClick();
    void CancelButtonClick();
    void CategoryBoxChange();

    QPushButton* OKButton = nullptr;
    QPushButton* DeleteButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QComboBox* CategoryBox = nullptr;
    OneLineMemo* Memo1 = nullptr;
    ColorShape* MemoShape = nullptr;
    QLabel* Label1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TForm1* Form1;
};

}  // namespace pimvesk

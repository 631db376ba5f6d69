#include "ui/Dialogs.h"

#include <QColorDialog>
#include <QMessageBox>
#include <QPushButton>

namespace pimvesk {

namespace {

Dialogs* installed = nullptr;

}  // namespace

void Dialogs::ShowError(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, "PimVesk", text, QMessageBox::Ok, parent);
    box.exec();
}

void Dialogs::ShowMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, "PimVesk", text, QMessageBox::Ok, parent);
    box.exec();
}

bool Dialogs::PickColor(QWidget* parent, const QColor& initial, QColor& chosen) {
    const QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid()) {
        return false;
    }
    chosen = color;
    return true;
}

Dialogs::SaveFailedChoice Dialogs::AskSaveFailed(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, "PimVesk", text, QMessageBox::NoButton, parent);
    QPushButton* retry = box.addButton("もう一度保存", QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton("保存せずに終了", QMessageBox::DestructiveRole);
    box.addButton("終了しない", QMessageBox::RejectRole);
    box.setDefaultButton(retry);
    box.exec();
    if (box.clickedButton() == retry) {
        return SaveFailedChoice::kRetry;
    }
    if (box.clickedButton() == discard) {
        return SaveFailedChoice::kCloseWithoutSaving;
    }
    return SaveFailedChoice::kKeepOpen;
}

Dialogs& CurrentDialogs() {
    static Dialogs real;
    return installed != nullptr ? *installed : real;
}

void SetDialogs(Dialogs* dialogs) {
    installed = dialogs;
}

}  // namespace pimvesk

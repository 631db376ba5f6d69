#pragma once

// What she does on the pages, as clicks and keystrokes on the real widgets.
#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <string>
#include <string_view>

#include "support/FormFixture.h"
#include "support/TestFiles.h"
#include "ui/veskForm.h"

namespace pimvesk::test {

// Clicks the tab of page `index` (0 calendar, 1 details, 2 options).
inline void ShowPage(TForm1& form, int index) {
    QTabBar* tabs = form.PageControl1->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

// Clicks line `row` of a list, scrolling it into view first as she would.
inline void ClickLine(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// Clicks a radio button on its indicator.
inline void ClickRadio(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// One key press carrying any text, a character outside the BMP included.
inline void TypeText(QWidget* field, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(field, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
    QApplication::sendEvent(field, &release);
}

// Selects the whole text of a field and types over it, keystroke by keystroke.
inline void Retype(QWidget* field, const QString& text) {
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(field, c.toLatin1());
        } else {
            TypeText(field, QString(c));  // as an input method would deliver it
        }
    }
}

// Selects the whole text of a field and deletes it.
inline void Empty(QWidget* field) {
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
}

inline QStringList Lines(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) {
        lines << list->item(i)->text();
    }
    return lines;
}

inline int SelectedLine(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

// A settings file of a few lines, written as CP932 with CRLF line ends.
inline void WriteSettings(const FormFixture& fixture,
                          std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text += std::string(line) + "\r\n";
    }
    WriteBytes(fixture.SettingsPath(), J(text));
}

}  // namespace pimvesk::test

#pragma once

#include <QColor>
#include <QStringList>
#include <deque>

#include "ui/Dialogs.h"

namespace pimvesk::test {

// Stands in for every modal window while installed: records what would have
// been shown and answers with what the test preset.
class FakeDialogs : public Dialogs {
public:
    FakeDialogs() { SetDialogs(this); }
    ~FakeDialogs() override { SetDialogs(nullptr); }
    FakeDialogs(const FakeDialogs&) = delete;
    FakeDialogs& operator=(const FakeDialogs&) = delete;

    void ShowError(QWidget* parent, const QString& text) override;
    void ShowMessage(QWidget* parent, const QString& text) override;
    bool PickColor(QWidget* parent, const QColor& initial, QColor& chosen) override;
    SaveFailedChoice AskSaveFailed(QWidget* parent, const QString& text) override;

    QStringList errors;          // texts of the error boxes, in order
    QStringList messages;        // texts of the plain boxes
    QStringList saveFailed;      // texts of the close-time question
    QList<QColor> colorPresets;  // what each colour dialog was preset with
    // Answers, taken in order; an empty queue cancels the colour dialog and
    // keeps the window open.
    std::deque<QColor> colorAnswers;
    std::deque<SaveFailedChoice> saveFailedAnswers;
};

}  // namespace pimvesk::test

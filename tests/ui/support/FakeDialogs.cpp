#include "support/FakeDialogs.h"

namespace pimvesk::test {

void FakeDialogs::ShowError(QWidget*, const QString& text) {
    errors << text;
}

void FakeDialogs::ShowMessage(QWidget*, const QString& text) {
    messages << text;
}

bool FakeDialogs::PickColor(QWidget*, const QColor& initial, QColor& chosen) {
    colorPresets << initial;
    if (colorAnswers.empty()) {
        return false;
    }
    const QColor answer = colorAnswers.front();
    colorAnswers.pop_front();
    if (!answer.isValid()) {
        return false;  // an invalid colour in the queue stands for a cancel
    }
    chosen = answer;
    return true;
}

Dialogs::SaveFailedChoice FakeDialogs::AskSaveFailed(QWidget*, const QString& text) {
    saveFailed << text;
    if (saveFailedAnswers.empty()) {
        return SaveFailedChoice::kKeepOpen;
    }
    const SaveFailedChoice answer = saveFailedAnswers.front();
    saveFailedAnswers.pop_front();
    return answer;
}

}  // namespace pimvesk::test

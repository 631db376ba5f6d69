#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace pimvesk {

// Every modal window the program opens goes through here, so that a test can
// preset the answers and nothing blocks.
class Dialogs {
public:
    enum class SaveFailedChoice { kRetry, kCloseWithoutSaving, kKeepOpen };

    virtual ~Dialogs() = default;
    // The error box: critical icon, title "PimVesk", the text, one OK button.
    virtual void ShowError(QWidget* parent, const QString& text);
    // The plain box: no icon, title "PimVesk", one OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text);
    // The colour chooser preset with `initial`; false when she cancels.
    virtual bool PickColor(QWidget* parent, const QColor& initial, QColor& chosen);
    // Closing could not save: try again, close anyway, or keep the window open.
    virtual SaveFailedChoice AskSaveFailed(QWidget* parent, const QString& text);
};

Dialogs& CurrentDialogs();
// Installs a replacement (tests); null puts the real dialogs back.
void SetDialogs(Dialogs* dialogs);

}  // namespace pimvesk

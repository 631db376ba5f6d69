#pragma once

#include <QObject>

class QSocketNotifier;

namespace pimvesk {

class TForm1;

// Ending the desktop session (SIGTERM, SIGHUP) or an interrupt (SIGINT)
// closes the main window the ordinary way, so her changes are saved as on a
// close, also while a message box or the memo dialog is open. When the display
// goes away first, Qt ends the process with exit(1) from inside the event
// loop: the window's state is then saved on the way out, and the exit is 0.
class ShutdownSignals : public QObject {
public:
    // Without a form, only the open boxes are closed.
    explicit ShutdownSignals(TForm1* form);
    ~ShutdownSignals() override;

    // What runs when the process ends while the window is still open: saves the
    // settings and the month shown, without a box (there is no display to show
    // one on). False when there was no open window to save.
    static bool SaveBeforeAbruptExit();

private:
    void OnSignal();

    TForm1* form_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace pimvesk

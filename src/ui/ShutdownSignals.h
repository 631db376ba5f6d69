#pragma once

#include <QObject>

class QSocketNotifier;

namespace pimvesk {

class TForm1;

// Ending the desktop session (SIGTERM, SIGHUP) or an interrupt (SIGINT)
// closes the main window the ordinary way, so her changes are saved as on a
// close, also while a message box or the memo dialog is open.
class ShutdownSignals : public QObject {
public:
    // Without a form, only the open boxes are closed.
    explicit ShutdownSignals(TForm1* form);
    ~ShutdownSignals() override;

private:
    void OnSignal();

    TForm1* form_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace pimvesk

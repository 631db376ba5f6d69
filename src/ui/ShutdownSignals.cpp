#include "ui/ShutdownSignals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "platform/Error.h"
#include "store/Memos.h"
#include "store/Settings.h"
#include "ui/veskForm.h"

namespace pimvesk {

namespace {

int signalPipe[2] = {-1, -1};

void OnPosixSignal(int) {
    const char byte = 1;
    // Only async-signal-safe work here; the event loop does the rest.
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
}

// The open main window, while a ShutdownSignals watches over it.
TForm1* liveForm = nullptr;

void AtExit() {
    if (ShutdownSignals::SaveBeforeAbruptExit()) {
        ::_exit(0);  // the process ends as every other end of it does
    }
}

}  // namespace

bool ShutdownSignals::SaveBeforeAbruptExit() {
    // Only an exit from inside the running program: the application object
    // still exists and the window has not been closed.
    if (liveForm == nullptr || QCoreApplication::instance() == nullptr || !liveForm->isVisible()) {
        return false;
    }
    TForm1* form = liveForm;
    liveForm = nullptr;
    // The core alone: Qt is being torn down around this.
    for (void (*save)(VeskState&) : {&SaveSettings, &SaveMonthMemos}) {
        try {
            save(form->S);
        } catch (const Error& error) {
            std::fprintf(stderr, "PimVesk: %s\n", error.what());
        }
    }
    return true;
}

ShutdownSignals::ShutdownSignals(TForm1* form) : QObject(form), form_(form) {
    if (form != nullptr) {
        static const bool registered = std::atexit(&AtExit) == 0;
        (void)registered;
        liveForm = form;
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) {
        return;
    }
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { OnSignal(); });
    struct sigaction action {};
    action.sa_handler = OnPosixSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

ShutdownSignals::~ShutdownSignals() {
    if (liveForm == form_) {
        liveForm = nullptr;
    }
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        std::signal(signal, SIG_DFL);
    }
    for (int& fd : signalPipe) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

void ShutdownSignals::OnSignal() {
    char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    // Every modal box ends as if cancelled; the window closes once their
    // nested loops have returned.
    while (QWidget* modal = QApplication::activeModalWidget()) {
        modal->close();
        if (QApplication::activeModalWidget() == modal) {
            break;
        }
    }
    if (form_ != nullptr) {
        QMetaObject::invokeMethod(
            form_, [this] { form_->CloseForShutdown(); }, Qt::QueuedConnection);
    }
}

}  // namespace pimvesk

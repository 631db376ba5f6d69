#pragma once

#include <QString>
#include <utility>

class QWidget;

namespace pimvesk {

// Shows an escaped error the way every handler does: the error box with the
// message followed by ".".
void ShowErrorBox(QWidget* parent, const QString& message);

// Runs one handler. An error it raises ends the handler, is shown in the error
// box and goes no further: no exception crosses Qt's event loop. What ran
// before the error stays done. Returns whether the handler ran to its end.
bool RunGuarded(QWidget* parent, void (*body)(void*), void* context);

template <typename Body>
bool Guarded(QWidget* parent, Body&& body) {
    return RunGuarded(
        parent, [](void* context) { (*static_cast<Body*>(context))(); }, &body);
}

}  // namespace pimvesk

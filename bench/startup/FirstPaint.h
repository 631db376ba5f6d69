#pragma once

// The moment a probe's main window has been painted for the first time: the
// expose of the window whose title is given, once its handling (the paint of
// the whole widget tree) has run. Prints the nanoseconds since the start
// stamp the runner passed in, then ends the event loop.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "Clock.h"

namespace pimvesk::bench {

class FirstPaint : public QObject {
public:
    FirstPaint(const QString& title, int64_t startNs, std::function<std::string()> loaded = {})
        : title_(title), startNs_(startNs), loaded_(std::move(loaded)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints_;
        }
        auto* window = qobject_cast<QWindow*>(object);
        if (!seen_ && event->type() == QEvent::Expose && window != nullptr &&
            window->title() == title_ && window->isExposed()) {
            seen_ = true;
            // Runs once the expose, and the paint it causes, are done.
            QTimer::singleShot(0, [this] {
                const long long ns = MonotonicNs() - startNs_;
                const std::string loaded = loaded_ ? loaded_() : "-";
                std::printf("%lld %d %s\n", ns, paints_, loaded.c_str());
                std::fflush(stdout);
                QApplication::quit();
            });
        }
        return false;
    }

private:
    QString title_;
    int64_t startNs_;
    std::function<std::string()> loaded_;
    bool seen_ = false;
    int paints_ = 0;
};

}  // namespace pimvesk::bench

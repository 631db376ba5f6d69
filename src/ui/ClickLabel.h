#pragma once

#include <QLabel>
#include <QMouseEvent>
#include <functional>

namespace pimvesk {

// A label that reports a left click, as the calendar's arrows do.
class ClickLabel : public QLabel {
public:
    using QLabel::QLabel;

    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            onClick) {
            onClick();
        }
    }
};

}  // namespace pimvesk

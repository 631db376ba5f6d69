#include "ui/ColorShape.h"

#include <QMouseEvent>
#include <QPainter>

namespace pimvesk {

ColorShape::ColorShape(QWidget* parent) : QWidget(parent) {}

void ColorShape::SetColor(const QColor& color) {
    if (color != color_) {
        color_ = color;
        update();
    }
}

void ColorShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), color_);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColorShape::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (onMouseDown) {
        onMouseDown();
    }
}

}  // namespace pimvesk

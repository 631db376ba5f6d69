#pragma once

#include <QColor>
#include <QWidget>
#include <functional>

namespace pimvesk {

// A rectangle filled with one colour and a one-pixel black frame, reporting a
// press of any mouse button.
class ColorShape : public QWidget {
public:
    explicit ColorShape(QWidget* parent = nullptr);

    void SetColor(const QColor& color);
    QColor Color() const { return color_; }

    std::function<void()> onMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QColor color_ = Qt::white;
};

}  // namespace pimvesk

#pragma once

#include <QWidget>
#include <functional>

namespace pimvesk {

// A grid of cells that the program paints, standing in for a string grid with
// its own cell drawing switched off: a current cell moved by the mouse and the
// arrow keys (never onto the fixed first row), one-pixel grid lines, and the
// events the calendar needs.
class CellGrid : public QWidget {
public:
    CellGrid(int columns, int rows, int cellWidth, int cellHeight, QWidget* parent = nullptr);

    std::function<void(QPainter& painter, int col, int row, const QRect& rect)> onDrawCell;
    std::function<void(int col, int row)> onSelectCell;
    std::function<void(int key)> onKeyDown;
    std::function<void()> onDoubleClick;
    std::function<void(int x, int y)> onMouseMove;

    // The cell under a point of the widget, or false when there is none.
    bool CellAt(const QPoint& point, int& col, int& row) const;
    QRect CellRect(int col, int row) const;
    int CurrentCol() const { return col_; }
    int CurrentRow() const { return row_; }
    // The hint of the grid: its tooltip, updated at once if one is showing.
    void SetHint(const QString& hint);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void MoveTo(int col, int row);

    int columns_;
    int rows_;
    int cellWidth_;
    int cellHeight_;
    int col_ = 0;
    int row_ = 1;
};

}  // namespace pimvesk

#include "ui/CellGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace pimvesk {

namespace {

constexpr int kLine = 1;  // grid line width

}  // namespace

CellGrid::CellGrid(int columns, int rows, int cellWidth, int cellHeight, QWidget* parent)
    : QWidget(parent),
      columns_(columns),
      rows_(rows),
      cellWidth_(cellWidth),
      cellHeight_(cellHeight) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect CellGrid::CellRect(int col, int row) const {
    return {col * (cellWidth_ + kLine), row * (cellHeight_ + kLine), cellWidth_, cellHeight_};
}

bool CellGrid::CellAt(const QPoint& point, int& col, int& row) const {
    if (point.x() < 0 || point.y() < 0) {
        return false;
    }
    col = point.x() / (cellWidth_ + kLine);
    row = point.y() / (cellHeight_ + kLine);
    return col < columns_ && row < rows_;
}

void CellGrid::SetHint(const QString& hint) {
    if (hint == toolTip()) {
        return;
    }
    setToolTip(hint);
    if (QToolTip::isVisible()) {
        if (hint.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(QCursor::pos(), hint, this);
        }
    }
}

void CellGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);  // the grid lines and the space past the cells
    for (int row = 0; row < rows_; ++row) {
        for (int col = 0; col < columns_; ++col) {
            const QRect cell = CellRect(col, row);
            if (!cell.intersects(event->rect()) || !onDrawCell) {
                continue;
            }
            painter.save();
            painter.setClipRect(cell);
            onDrawCell(painter, col, row, cell);
            painter.restore();
        }
    }
}

void CellGrid::MoveTo(int col, int row) {
    col = std::clamp(col, 0, columns_ - 1);
    row = std::clamp(row, 1, rows_ - 1);  // row 0 is fixed
    if (col == col_ && row == row_) {
        return;
    }
    if (onSelectCell) {
        onSelectCell(col, row);
    }
    update(CellRect(col_, row_));
    col_ = col;
    row_ = row;
    update(CellRect(col_, row_));
}

void CellGrid::keyPressEvent(QKeyEvent* event) {
    if (onKeyDown) {
        onKeyDown(event->key());
    }
    switch (event->key()) {
        case Qt::Key_Left:
            MoveTo(col_ - 1, row_);
            break;
        case Qt::Key_Right:
            MoveTo(col_ + 1, row_);
            break;
        case Qt::Key_Up:
            MoveTo(col_, row_ - 1);
            break;
        case Qt::Key_Down:
            MoveTo(col_, row_ + 1);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void CellGrid::mousePressEvent(QMouseEvent* event) {
    int col = 0;
    int row = 0;
    if (event->button() == Qt::LeftButton && CellAt(event->position().toPoint(), col, row) &&
        row > 0) {
        MoveTo(col, row);
    }
    QWidget::mousePressEvent(event);
}

void CellGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onDoubleClick) {
        onDoubleClick();
    }
}

void CellGrid::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) {
        const QPoint point = event->position().toPoint();
        onMouseMove(point.x(), point.y());
    }
    QWidget::mouseMoveEvent(event);
}

}  // namespace pimvesk

#pragma once

#include <QListWidget>
#include <functional>

namespace pimvesk {

// A list box whose lines the program draws, of a fixed line height. The draw
// callback gets the painter, the line's index, its rectangle and its text; a
// focus frame is drawn around the current line afterwards.
class CycleListBox : public QListWidget {
public:
    explicit CycleListBox(int lineHeight, QWidget* parent = nullptr);

    std::function<void(QPainter& painter, int index, const QRect& rect, const QString& text)>
        onDrawItem;
};

// A plain list box of a fixed line height.
void SetLineHeight(QListWidget* list, int lineHeight);

}  // namespace pimvesk

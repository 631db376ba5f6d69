#include "ui/CycleListBox.h"

#include <QPainter>
#include <QStyledItemDelegate>

namespace pimvesk {

namespace {

class FixedHeightDelegate : public QStyledItemDelegate {
public:
    FixedHeightDelegate(int lineHeight, QObject* parent)
        : QStyledItemDelegate(parent), lineHeight_(lineHeight) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), lineHeight_};
    }

private:
    int lineHeight_;
};

class DrawnDelegate : public FixedHeightDelegate {
public:
    DrawnDelegate(int lineHeight, CycleListBox* list)
        : FixedHeightDelegate(lineHeight, list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        // The list's own colours first, as the platform leaves them for the handler.
        painter->fillRect(option.rect, list_->palette().base());
        if (list_->onDrawItem) {
            list_->onDrawItem(*painter, index.row(), option.rect,
                              index.data(Qt::DisplayRole).toString());
        }
        painter->restore();
        if (option.state & QStyle::State_HasFocus) {
            painter->save();
            QPen pen(Qt::black, 1, Qt::DotLine);
            painter->setPen(pen);
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
            painter->restore();
        }
    }

private:
    CycleListBox* list_;
};

}  // namespace

CycleListBox::CycleListBox(int lineHeight, QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new DrawnDelegate(lineHeight, this));
    setUniformItemSizes(true);
}

void SetLineHeight(QListWidget* list, int lineHeight) {
    list->setItemDelegate(new FixedHeightDelegate(lineHeight, list));
    list->setUniformItemSizes(true);
}

}  // namespace pimvesk

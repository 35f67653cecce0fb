#include "app/ThreeColumnList.h"

#include <QEvent>
#include <QScrollBar>

namespace sortilo {

ThreeColumnList::ThreeColumnList(QWidget* parent) : QListWidget(parent) {
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    updateGrid();
}

void ThreeColumnList::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    updateGrid();
}

void ThreeColumnList::changeEvent(QEvent* event) {
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateGrid();
    }
}

void ThreeColumnList::updateGrid() {
    const int columnWidth = qMax(1, viewport()->width() / 3);
    setGridSize(QSize(columnWidth, fontMetrics().height() + 2));
    horizontalScrollBar()->setSingleStep(columnWidth);
}

}  // namespace sortilo

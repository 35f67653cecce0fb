#include "app/ThreeColumnList.h"

#include "app/SongLabel.h"

#include <QEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace sortilo {

namespace {

// Draws each entry whole in the font its list gives it.
class WholeTextDelegate : public QStyledItemDelegate {
public:
    explicit WholeTextDelegate(ThreeColumnList* list) : QStyledItemDelegate(list), list_(list) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->font = list_->entryFont(option->text);
        option->textElideMode = Qt::ElideNone;
    }

private:
    const ThreeColumnList* list_;
};

// Room the style keeps on either side of an entry's text.
constexpr int TextMargins = 8;

}  // namespace

ThreeColumnList::ThreeColumnList(QWidget* parent) : QListWidget(parent) {
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setItemDelegate(new WholeTextDelegate(this));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    updateGrid();
}

QFont ThreeColumnList::entryFont(const QString& text) const {
    return fitToWidth(font(), text, gridSize().width() - TextMargins);
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

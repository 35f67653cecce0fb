#include "results/view/DetailsView.h"

#include "draw/engine/DrawState.h"

#include <QListWidget>
#include <QPushButton>

namespace sortilo {

DetailsView::DetailsView(const DetailsWidgets& widgets, QObject* parent)
    : QObject(parent), widgets_(widgets) {
    for (size_t i = 0; i < widgets.openButtons.size(); ++i) {
        const QListWidget* source = widgets.sources[i];
        connect(widgets.openButtons[i], &QPushButton::clicked, this,
                [this, source] { open(source); });
    }
    connect(widgets.closeButton, &QPushButton::clicked, this, &DetailsView::close);
}

void DetailsView::open(const QListWidget* source) {
    widgets_.list->setVisible(true);
    widgets_.closeButton->setVisible(true);
    widgets_.list->clear();
    // As many entries as the pool can hold; result lists hold at most 1000.
    const int entries = std::min(source->count(), MaxRoster);
    QStringList copy;
    copy.reserve(entries);
    for (int i = 0; i < entries; ++i) {
        const QString text = source->item(i)->text();
        if (text.isEmpty()) {
            break;
        }
        copy << text;
    }
    // One insertion lays the three columns out once, not once per entry.
    widgets_.list->addItems(copy);
}

void DetailsView::close() {
    widgets_.list->setVisible(false);
    widgets_.closeButton->setVisible(false);
}

}  // namespace sortilo

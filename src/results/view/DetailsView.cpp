#include "results/view/DetailsView.h"

#include <QListWidget>
#include <QPushButton>

namespace sortilo {

DetailsView::DetailsView(const DetailsWidgets& widgets, const DrawSession& session, QObject* parent)
    : QObject(parent), widgets_(widgets), session_(session) {
    for (size_t i = 0; i < widgets.openButtons.size(); ++i) {
        connect(widgets.openButtons[i], &QPushButton::clicked, this,
                [this, i] { open(static_cast<int>(i)); });
    }
    connect(widgets.closeButton, &QPushButton::clicked, this, &DetailsView::close);
}

void DetailsView::open(int list) {
    widgets_.list->setVisible(true);
    widgets_.closeButton->setVisible(true);
    widgets_.list->clear();
    // One insertion lays the three columns out once, not once per entry.
    widgets_.list->addItems(list == 0
                                ? session_.model().poolNames()
                                : session_.shownGroups()[static_cast<size_t>(list - 1)].names);
}

void DetailsView::close() {
    widgets_.list->setVisible(false);
    widgets_.closeButton->setVisible(false);
}

}  // namespace sortilo

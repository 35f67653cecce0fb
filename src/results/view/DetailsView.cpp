#include "results/view/DetailsView.h"

#include "results/view/ResultListsView.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>

namespace sortilo {

DetailsView::DetailsView(const DetailsWidgets& widgets, DrawSession& session, QObject* parent)
    : QObject(parent), widgets_(widgets), session_(session) {
    for (size_t i = 0; i < widgets.openButtons.size(); ++i) {
        connect(widgets.openButtons[i], &QPushButton::clicked, this,
                [this, i] { open(static_cast<int>(i)); });
    }
    connect(widgets.closeButton, &QPushButton::clicked, this, &DetailsView::close);
    connect(addMarkAbsentAction(widgets.list), &QAction::triggered, this, &DetailsView::markAbsent);
    connect(&session, &DrawSession::groupRedrawn, this,
            [this](int number, const QString&, const QStringList& names) {
                if (number == group_ && !widgets_.list->isHidden()) {
                    widgets_.list->clear();
                    widgets_.list->addItems(names);
                }
            });
}

void DetailsView::open(int list) {
    widgets_.list->setVisible(true);
    widgets_.closeButton->setVisible(true);
    widgets_.list->clear();
    group_ = list == 0 ? 0 : session_.shownGroups()[static_cast<size_t>(list - 1)].number;
    // One insertion lays the three columns out once, not once per entry.
    widgets_.list->addItems(list == 0
                                ? session_.model().poolNames()
                                : session_.shownGroups()[static_cast<size_t>(list - 1)].names);
}

void DetailsView::close() {
    widgets_.list->setVisible(false);
    widgets_.closeButton->setVisible(false);
}

void DetailsView::markAbsent() {
    session_.askRedraw(selectedPlaces(widgets_.list, group_));
}

}  // namespace sortilo

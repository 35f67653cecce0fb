#include "results/view/ResultListsView.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace sortilo {

void setBackColor(QListWidget* list, ListColor color) {
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, color == ListColor::Pink
                                         ? SelectedGroupPink
                                         : QApplication::palette(list).color(QPalette::Base));
    list->setPalette(palette);
}

ListColor backColor(const QListWidget* list) {
    return list->palette().color(QPalette::Base) == SelectedGroupPink ? ListColor::Pink
                                                                      : ListColor::Window;
}

ResultListsView::ResultListsView(const ResultListWidgets& widgets, DrawSession& session,
                                 QObject* parent)
    : QObject(parent), widgets_(widgets) {
    connect(&session, &DrawSession::groupsShown, this, &ResultListsView::show);
    connect(&session, &DrawSession::laterGroupsButtonChanged, widgets.laterButton,
            &QWidget::setVisible);
    connect(widgets.earlierButton, &QPushButton::clicked, &session,
            &DrawSession::showEarlierGroups);
    connect(widgets.laterButton, &QPushButton::clicked, &session, &DrawSession::showLaterGroups);
    for (int i = 0; i < 4; ++i) {
        QListWidget* list = widgets.lists[static_cast<size_t>(i)];
        // A click or a key that selects an entry. The refill that follows clears the selection,
        // which reports a change too; an empty selection is therefore no choice.
        connect(list, &QListWidget::itemSelectionChanged, &session, [list, i, &session] {
            if (!list->selectedItems().isEmpty()) {
                session.selectShownGroup(i + 1);
            }
        });
    }
}

void ResultListsView::show(const ShownGroups& groups) {
    for (size_t i = 0; i < groups.size(); ++i) {
        QListWidget* list = widgets_.lists[i];
        setBackColor(list, groups[i].selected ? ListColor::Pink : ListColor::Window);
        list->clear();
        list->addItems(groups[i].names);
        widgets_.titleLabels[i]->setText(groups[i].title);
    }
}

}  // namespace sortilo

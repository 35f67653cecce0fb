#include "results/view/ResultListsView.h"

#include "platform/Texts.h"

#include <QAction>
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

QAction* addMarkAbsentAction(QListWidget* list) {
    auto* action = new QAction(texts::MarkAbsent, list);
    action->setShortcut(QKeySequence::Delete);
    action->setShortcutContext(Qt::WidgetShortcut);
    list->addAction(action);
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return action;
}

QList<GroupPlace> selectedPlaces(const QListWidget* list, int group) {
    QList<GroupPlace> places;
    if (group == 0) {
        return places;
    }
    for (const QModelIndex& index : list->selectionModel()->selectedIndexes()) {
        places << GroupPlace{group, index.row()};
    }
    return places;
}

namespace {

bool showsNames(const QListWidget* list, const QStringList& names) {
    if (list->count() != names.size()) {
        return false;
    }
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->text() != names[row]) {
            return false;
        }
    }
    return true;
}

}  // namespace

ResultListsView::ResultListsView(const ResultListWidgets& widgets, DrawSession& session,
                                 QObject* parent)
    : QObject(parent), widgets_(widgets), session_(session) {
    connect(&session, &DrawSession::groupsShown, this, &ResultListsView::show);
    connect(&session, &DrawSession::laterGroupsButtonChanged, widgets.laterButton,
            &QWidget::setVisible);
    connect(widgets.earlierButton, &QPushButton::clicked, &session,
            &DrawSession::showEarlierGroups);
    connect(widgets.laterButton, &QPushButton::clicked, &session, &DrawSession::showLaterGroups);
    for (int i = 0; i < 4; ++i) {
        QListWidget* list = widgets.lists[static_cast<size_t>(i)];
        // A click or a key that selects an entry makes its group the selected one, and the names
        // selected stay selected in this list alone: what Delete marks absent is of one group.
        // Emptying the other lists' selections reports a change too; an empty selection is
        // therefore no choice.
        connect(list, &QListWidget::itemSelectionChanged, &session, [this, list, i] {
            if (list->selectedItems().isEmpty()) {
                return;
            }
            for (QListWidget* other : widgets_.lists) {
                if (other != list) {
                    other->clearSelection();
                }
            }
            session_.selectShownGroup(i + 1);
        });
        connect(addMarkAbsentAction(list), &QAction::triggered, &session,
                [this] { session_.askRedraw(selectedPlaces()); });
    }
}

QList<GroupPlace> ResultListsView::selectedPlaces() const {
    QList<GroupPlace> places;
    for (size_t i = 0; i < widgets_.lists.size(); ++i) {
        places << sortilo::selectedPlaces(widgets_.lists[i], session_.shownGroups()[i].number);
    }
    return places;
}

void ResultListsView::show(const ShownGroups& groups) {
    for (size_t i = 0; i < groups.size(); ++i) {
        QListWidget* list = widgets_.lists[i];
        setBackColor(list, groups[i].selected ? ListColor::Pink : ListColor::Window);
        // A list whose group stays keeps the names the operator selected in it; another group
        // with the same names (a small pool drawn with 是) is another group.
        if (groups[i].number != shownNumbers_[i] || !showsNames(list, groups[i].names)) {
            list->clear();
            list->addItems(groups[i].names);
            shownNumbers_[i] = groups[i].number;
        }
        widgets_.titleLabels[i]->setText(groups[i].title);
    }
}

}  // namespace sortilo

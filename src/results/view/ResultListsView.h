#pragma once

#include "draw/DrawSession.h"

#include <QColor>
#include <QObject>

#include <array>

class QAction;
class QLabel;
class QListWidget;
class QPushButton;

namespace sortilo {

// Back colours of the lists, in the program's own terms.
enum class ListColor {
    Window,  // the desktop's window-background colour (system colour 5)
    Pink,    // red 255, green 192, blue 255: the list of the selected group
};
inline const QColor SelectedGroupPink = QColor(255, 192, 255);
void setBackColor(QListWidget* list, ListColor color);
ListColor backColor(const QListWidget* list);

struct ResultListWidgets {
    std::array<QLabel*, 4> titleLabels{};  // above the lists
    std::array<QListWidget*, 4> lists{};   // the names of four consecutive groups
    QPushButton* earlierButton = nullptr;  // "<"
    QPushButton* laterButton = nullptr;    // ">"
};

// The four result lists under their titles, with the paging buttons: shows the groups the session
// reports and hands paging, the choice of a group and names marked absent (Delete, or 缺席，补抽
// in a list's menu) back to it.
class ResultListsView : public QObject {
public:
    ResultListsView(const ResultListWidgets& widgets, DrawSession& session, QObject* parent);

private:
    void show(const ShownGroups& groups);
    // The names selected in the four lists, as places in their groups.
    QList<GroupPlace> selectedPlaces() const;

    ResultListWidgets widgets_;
    DrawSession& session_;
    std::array<int, 4> shownNumbers_{};  // the group each list shows
};

// The action of a list that marks its selected names absent: Delete while the list has the
// focus, and 缺席，补抽 in its context menu.
QAction* addMarkAbsentAction(QListWidget* list);
// The names selected in a list that shows group `group`, as places in it; none for the pool (0),
// which is no group.
QList<GroupPlace> selectedPlaces(const QListWidget* list, int group);

}  // namespace sortilo

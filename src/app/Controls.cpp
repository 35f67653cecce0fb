#include "app/Controls.h"

#include <QApplication>
#include <QListWidget>
#include <QRadioButton>

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

void uncheck(QRadioButton* option) {
    const bool exclusive = option->autoExclusive();
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(exclusive);
}

bool shownInWindow(const QWidget* control) {
    return control->isVisibleTo(control->window());
}

}  // namespace sortilo

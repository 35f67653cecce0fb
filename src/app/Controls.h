#pragma once

#include <QApplication>
#include <QColor>
#include <QListWidget>
#include <QRadioButton>

namespace sortilo {

// Back colours of the lists, in the program's own terms.
enum class ListColor {
    Window,  // the desktop's window-background colour (system colour 5)
    Pink,    // red 255, green 192, blue 255: the list of the selected group
};

inline const QColor SelectedGroupPink = QColor(255, 192, 255);

inline void setBackColor(QListWidget* list, ListColor color) {
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, color == ListColor::Pink
                                         ? SelectedGroupPink
                                         : QApplication::palette(list).color(QPalette::Base));
    list->setPalette(palette);
}

inline ListColor backColor(const QListWidget* list) {
    return list->palette().color(QPalette::Base) == SelectedGroupPink ? ListColor::Pink
                                                                      : ListColor::Window;
}

// Radio buttons of one group cannot all be unchecked through setChecked(false) alone.
inline void uncheck(QRadioButton* option) {
    const bool exclusive = option->autoExclusive();
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(exclusive);
}

// Visible as the window would show it once shown (isVisible() is false for every control of a
// window that is not on screen, as in tests).
inline bool shownInWindow(const QWidget* control) {
    return control->isVisibleTo(control->window());
}

}  // namespace sortilo

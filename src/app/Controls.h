#pragma once

#include <QColor>

class QListWidget;
class QRadioButton;
class QWidget;

namespace sortilo {

// Back colours of the lists, in the program's own terms.
enum class ListColor {
    Window,  // the desktop's window-background colour (system colour 5)
    Pink,    // red 255, green 192, blue 255: the list of the selected group
};

inline const QColor SelectedGroupPink = QColor(255, 192, 255);

void setBackColor(QListWidget* list, ListColor color);
ListColor backColor(const QListWidget* list);

// Radio buttons of one group cannot all be unchecked through setChecked(false) alone.
void uncheck(QRadioButton* option);

// Visible as the window would show it once shown (isVisible() is false for every control of a
// window that is not on screen, as in tests).
bool shownInWindow(const QWidget* control);

}  // namespace sortilo

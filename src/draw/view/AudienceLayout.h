#pragma once

#include <QFont>
#include <QRectF>
#include <QStringList>

namespace sortilo {

// Where the audience window puts a recorded group: its title in a band at the top, its names in a
// grid of equal cells below, filled row by row in the group's order. The grid has as many
// columns as make the names' type largest, so one name fills the window and 1000 still fit.
struct GroupLayout {
    QFont titleFont;
    QRectF titleRect;
    QFont nameFont;
    // The names as drawn: whole, or cut short with "…" when even the smallest legible type
    // cannot hold them in their cells.
    QStringList shownNames;
    QRectF namesArea;
    int columns = 1;
    int rows = 1;

    QRectF cell(int index) const;
};

// `face` gives the typeface and weight; the sizes are chosen here.
GroupLayout layoutGroup(const QString& title, const QStringList& names, const QSizeF& size,
                        const QFont& face);

// The rolling name as large as the window allows, on one line.
QFont rollingNameFont(const QString& name, const QSizeF& size, const QFont& face);

// The screen the audience window opens full screen on: the first that is not the operator's, or
// an empty rectangle on a computer with one screen.
QRect audienceScreen(const QList<QRect>& screens, const QRect& operatorScreen);

// Where the audience window of `size` opens on the operator's one screen (its free area
// `available`): beside the operator's window `operatorFrame` where it fits (right of it, left,
// below, above); else at the side of the screen away from it, clear of `keepClear` (the menu bar
// and the draw controls), made smaller in its shape if that is what it takes; else as low as it
// can be.
QRect besideOperator(const QRect& available, const QRect& operatorFrame, const QRect& keepClear,
                     const QSize& size);

}  // namespace sortilo

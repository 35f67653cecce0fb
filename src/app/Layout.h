#pragma once

#include <QRgb>

#include <span>

class QWidget;

namespace sortilo {

struct MainWindowControls;

// One control of the main window as the layout table gives it. Positions and sizes are in
// twips relative to the container (the window or a frame); 15 twips make one pixel at 96 dpi.
struct ControlSpec {
    enum class Kind { Frame, Button, Label, TextBox, Option, List, ColumnList };
    enum Flags { Left = 0, Centre = 1, Wrap = 2, Selected = 4 };
    // Puts the made control where the window keeps it; nullptr for a frame or a fixed text that
    // nothing refers to.
    using Binder = void (*)(MainWindowControls& controls, int index, QWidget* control);

    const char* name;  // the old form's name: with the index, the control's objectName
    int index;         // -1: not a member of an indexed group
    Binder bind;
    Kind kind;
    const char* caption;  // UTF-8
    int left, top, width, height;
    double points;  // 0: the window's default font
    bool bold;
    const char* parent;  // nullptr: the window itself
    bool visible;
    int flags = Left;    // text alignment, and an option selected when the window opens
    QRgb foreColor = 0;  // 0: the control's usual colour
    QRgb backColor = 0;
};

// Every control, each container before its contents, and siblings from the bottom of the
// stacking order to the top (a control made later lies above one made earlier).
std::span<const ControlSpec> mainWindowLayout();

inline constexpr int TwipsPerPixel = 15;
inline constexpr int ClientWidthTwips = 12150;
inline constexpr int ClientHeightTwips = 6795;

inline int pixels(int twips) {
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

}  // namespace sortilo

#include "draw/DrawKeys.h"

#include <Qt>

namespace sortilo {

namespace {

KeyEffect pressOnce(bool autoRepeat) {
    return autoRepeat ? KeyEffect::Swallowed : KeyEffect::PressDrawButton;
}

}  // namespace

KeyEffect drawKeyEffect(int key, KeyFocus focus, bool autoRepeat) {
    switch (key) {
        case Qt::Key_PageDown:
        case Qt::Key_PageUp:
            return focus == KeyFocus::TitleEditor ? KeyEffect::Swallowed : pressOnce(autoRepeat);
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return focus == KeyFocus::TitleEditor ? KeyEffect::None : pressOnce(autoRepeat);
        case Qt::Key_Space:
            // A space typed into a text box stays a space; on a list it selects.
            return focus == KeyFocus::DrawButton || focus == KeyFocus::AudienceWindow
                       ? pressOnce(autoRepeat)
                       : KeyEffect::None;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            // A button hands the focus on to its neighbours with the arrows, after which Space
            // would no longer run the draw.
            return focus == KeyFocus::DrawButton ? KeyEffect::Swallowed : KeyEffect::None;
        default:
            return KeyEffect::None;
    }
}

}  // namespace sortilo

#pragma once

namespace sortilo {

// Where the keyboard focus is when a key reaches a window that shows the draw.
enum class KeyFocus {
    DrawButton,      // 开始 or 结束
    TextBox,         // a text box, the draw-count box among them
    TitleEditor,     // anywhere while the title editor is open: Return is the editor's, and
                     // the other draw keys do nothing
    AudienceWindow,  // the audience window, which has no controls of its own
    Elsewhere,       // any other control of the main window
};

// What a key does to the draw.
enum class KeyEffect {
    None,             // the key goes on to the focused control as usual
    PressDrawButton,  // presses the shown one of 开始/结束, as a click would
    Swallowed,        // kept from the control: a held key's repeats, an arrow on 开始/结束
};

// The keys an operator or a presentation clicker (PageDown, PageUp) runs the draw with. `key` is
// a Qt::Key; a key held down repeats without pressing again.
KeyEffect drawKeyEffect(int key, KeyFocus focus, bool autoRepeat);

}  // namespace sortilo

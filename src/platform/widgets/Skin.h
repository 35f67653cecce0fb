#pragma once

namespace sortilo {

// Gives the program's windows their look: a Qt style and a style sheet that keep every control,
// caption and colour of the layout. Called once at start-up; its outcome is not examined.
void applySkin();

// "宋体" is rarely installed on Linux: let it resolve to a Chinese serif face, never to a Latin
// font with boxes for the Chinese text.
void installSongTypefaceSubstitutes();

}  // namespace sortilo

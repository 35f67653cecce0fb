#pragma once

namespace sortilo {

// SIGTERM and SIGINT (a logout, a shutdown, Ctrl+C in a terminal) end the program as closing its
// window would, through the application's event loop, so what it does at its end (the draw
// record's close line) is done. Installed once, after the application object.
void quitOnTerminationSignals();

}  // namespace sortilo

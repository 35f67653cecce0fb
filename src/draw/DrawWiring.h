#pragma once

namespace sortilo {

class Form1;

// Connects the controls this subsystem drives to its handlers.
void connectDrawHandlers(Form1& form);

}  // namespace sortilo

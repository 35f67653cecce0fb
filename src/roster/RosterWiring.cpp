#include "roster/RosterWiring.h"

#include "app/Form1.h"

namespace sortilo {

void connectRosterHandlers(Form1& /*form*/) {}

}  // namespace sortilo

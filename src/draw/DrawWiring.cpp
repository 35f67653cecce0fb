#include "draw/DrawWiring.h"

#include "app/Form1.h"

namespace sortilo {

void connectDrawHandlers(Form1& /*form*/) {}

}  // namespace sortilo

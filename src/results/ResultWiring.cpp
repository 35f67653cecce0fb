#include "results/ResultWiring.h"

#include "app/Form1.h"

namespace sortilo {

void connectResultHandlers(Form1& /*form*/) {}

}  // namespace sortilo

#include "titles/TitleWiring.h"

#include "app/Form1.h"

namespace sortilo {

void connectTitleHandlers(Form1& /*form*/) {}

}  // namespace sortilo

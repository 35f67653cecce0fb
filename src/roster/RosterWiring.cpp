#include "roster/RosterWiring.h"

#include "app/Form1.h"
#include "roster/Roster.h"

#include <QPushButton>

namespace sortilo {

void connectRosterHandlers(Form1& form) {
    QObject::connect(form.Command1[1], &QPushButton::clicked, &form,
                     [&form] { Command1_Click(form, 1); });
    QObject::connect(form.Command6[0], &QPushButton::clicked, &form,
                     [&form] { Command6_Click(form, 0); });
}

}  // namespace sortilo

#include "draw/DrawWiring.h"

#include "app/Form1.h"
#include "draw/DrawHandlers.h"

#include <QLineEdit>
#include <QPushButton>

namespace sortilo {

void connectDrawHandlers(Form1& form) {
    for (int i = 0; i <= 1; ++i) {
        QObject::connect(form.Command3[i], &QPushButton::clicked, &form,
                         [&form, i] { Command3_Click(form, i); });
    }
    // textChanged, not textEdited: the program's own changes of the text count as well.
    QObject::connect(form.Text1, &QLineEdit::textChanged, &form, [&form] { Text1_Change(form); });
    QObject::connect(form.Timer1, &QTimer::timeout, &form, [&form] { Timer1_Timer(form); });
}

}  // namespace sortilo

#include "draw/Reset.h"

#include "app/Controls.h"
#include "app/Form1.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace sortilo {

void 数据环境还原(Form1& form) {
    DrawState& state = form.state();
    form.Text1->setText(QString());
    uncheck(form.Option1[0]);
    uncheck(form.Option1[1]);
    form.Label2->setText(QString());
    form.Command3[0]->setVisible(true);
    form.Command3[0]->setFocus();
    form.Command3[1]->setVisible(false);
    form.Timer1->setInterval(0);
    for (int i = 1; i <= 4; ++i) {
        form.Label1[i]->setText(state.groupTitles(i));
        setBackColor(form.List1[i], ListColor::Window);
        form.List1[i]->clear();
    }
    clearGroups(state);
}

}  // namespace sortilo

#include "results/ResultWiring.h"

#include "app/Form1.h"
#include "results/DetailsView.h"
#include "results/Export.h"
#include "results/ResultLists.h"

#include <QListWidget>
#include <QPushButton>

namespace sortilo {

namespace {

// A click or a key that selects an entry. The refill of the lists that follows clears their
// selection, which reports a change too; an empty selection is therefore no click.
void connectListClick(Form1& form, int index) {
    QListWidget* list = form.List1[index];
    QObject::connect(list, &QListWidget::itemSelectionChanged, &form, [&form, list, index] {
        if (!list->selectedItems().isEmpty()) {
            List1_Click(form, index);
        }
    });
}

}  // namespace

void connectResultHandlers(Form1& form) {
    for (int i = 0; i <= 1; ++i) {
        QObject::connect(form.Command8[i], &QPushButton::clicked, &form,
                         [&form, i] { Command8_Click(form, i); });
    }
    for (int i = 0; i <= 4; ++i) {
        connectListClick(form, i);
        QObject::connect(form.Command2[i], &QPushButton::clicked, &form,
                         [&form, i] { Command2_Click(form, i); });
    }
    QObject::connect(form.Command5[1], &QPushButton::clicked, &form,
                     [&form] { Command5_Click(form, 1); });
    QObject::connect(form.Command9, &QPushButton::clicked, &form,
                     [&form] { Command9_Click(form); });
}

}  // namespace sortilo

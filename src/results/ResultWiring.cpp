#include "results/ResultWiring.h"

#include "app/Form1.h"
#include "results/DetailsView.h"
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

// Every entry of the five lists is one line in one font. Saying so lets a list lay out thousands
// of names from the size of one, instead of measuring each: a Stop that refills the lists with
// 5000 names then fits in one frame.
void layOutListsUniformly(Form1& form) {
    for (int i = 0; i <= 4; ++i) {
        form.List1[i]->setUniformItemSizes(true);
    }
}

}  // namespace

void connectResultHandlers(Form1& form) {
    layOutListsUniformly(form);
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
    // Command9 (the export) is connected by the export's own wiring.
}

}  // namespace sortilo

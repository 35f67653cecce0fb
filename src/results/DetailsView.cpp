#include "results/DetailsView.h"

#include "app/Form1.h"

#include <QListWidget>
#include <QPushButton>

namespace sortilo {

namespace {

// As many entries as the pool can hold; result lists hold at most 1000.
constexpr int MostEntries = MaxRoster;

}  // namespace

void Command2_Click(Form1& form, int index) {
    form.List2->setVisible(true);
    form.Command5[1]->setVisible(true);
    form.List2->clear();
    const QListWidget* source = form.List1[index];
    const int entries = std::min(source->count(), MostEntries);
    QStringList copy;
    copy.reserve(entries);
    for (int i = 0; i < entries; ++i) {
        const QString text = source->item(i)->text();
        if (text.isEmpty()) {
            break;
        }
        copy << text;
    }
    // One insertion lays the three columns out once, not once per entry.
    form.List2->addItems(copy);
}

void Command5_Click(Form1& form, int /*index*/) {
    form.List2->setVisible(false);
    form.Command5[1]->setVisible(false);
}

}  // namespace sortilo

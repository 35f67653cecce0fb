// Built only while the result lists do not define 显示 themselves (see CMakeLists.txt): the
// four lists and their titles from group `first` on, without the marking of the selected group.
#include "app/Form1.h"

#include <QLabel>
#include <QListWidget>

namespace sortilo {

void 显示(Form1& form, int first) {
    const DrawState& st = form.state();
    for (int i = 1; i <= 4; ++i) {
        const int g = first + i - 1;
        const bool exists = g >= 1 && g <= MaxGroups;
        form.Label1[i]->setText(exists ? st.groupTitles(g) : QString());
        form.List1[i]->clear();
        for (int k = 1; exists && k <= st.groupSizes(g); ++k) {
            form.List1[i]->addItem(st.groupResults(k, g));
        }
    }
}

}  // namespace sortilo

#include "results/ResultLists.h"

#include "app/Controls.h"
#include "app/Form1.h"
#include "draw/engine/DrawPick.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace sortilo {

namespace {

// The highest first shown group whose four lists still lie within the group tables.
constexpr int LastFirstShownGroup = MaxGroups - 3;

QStringList groupNames(const DrawState& state, int g) {
    QStringList names;
    names.reserve(state.groupSizes(g));
    for (int k = 1; k <= state.groupSizes(g); ++k) {
        names << state.groupResults(k, g);
    }
    return names;
}

}  // namespace

void 显示(Form1& form, int first) {
    const DrawState& state = form.state();
    for (int i = 1; i <= 4; ++i) {
        setBackColor(form.List1[i], ListColor::Window);
    }
    for (int i = 1; i <= 4; ++i) {
        form.List1[i]->clear();
    }
    const int offset = first - 1;
    for (int g = first; g <= first + 3 && g <= MaxGroups; ++g) {
        if (g == state.groupCount + 1) {
            break;
        }
        form.List1[g - offset]->addItems(groupNames(state, g));
    }
    // Titles are shown for groups not drawn yet as well.
    for (int g = first; g <= first + 3; ++g) {
        form.Label1[g - offset]->setText(g <= MaxGroups ? state.groupTitles(g) : QString());
    }
    // Pink marks the list of the selected group. With group 0 in the first list and no group
    // selected, the position arithmetic alone would colour that empty list.
    const int selected = 获得底色标记位置(form);
    const int s = selected - offset;
    if (selected > 0 && s > 0 && s < 5) {
        setBackColor(form.List1[s], ListColor::Pink);
    }
}

void 底色标记归0(Form1& form) {
    clearGroupSelection(form.state());
}

int 获得底色标记位置(Form1& form) {
    return selectedGroup(form.state());
}

void Command8_Click(Form1& form, int index) {
    DrawState& state = form.state();
    if (index == 1) {
        // ">" stops where the fourth list shows group 50, the last the tables hold.
        if (state.firstShownGroup < LastFirstShownGroup) {
            ++state.firstShownGroup;
        }
        显示(form, state.firstShownGroup);
        form.Command8[1]->setVisible(state.groupCount - 3 != state.firstShownGroup);
        return;
    }
    if (state.firstShownGroup > 1) {
        --state.firstShownGroup;
    } else if (state.groupCount > 4) {
        form.Command8[1]->setVisible(true);
    }
    显示(form, state.firstShownGroup);
}

void List1_Click(Form1& form, int index) {
    if (index == 0) {
        return;
    }
    DrawState& state = form.state();
    底色标记归0(form);
    state.groupSelected(state.firstShownGroup + index - 1) = 1;
    显示(form, state.firstShownGroup);
}

}  // namespace sortilo

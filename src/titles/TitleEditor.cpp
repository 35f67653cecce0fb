#include "titles/TitleEditor.h"

#include "app/Form1.h"
#include "platform/Texts.h"
#include "results/ResultLists.h"
#include "titles/store/TitleStore.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include <algorithm>

namespace sortilo {

namespace {

constexpr int CountColumn = TitlesPerSet + 1;

void tell(Form1& form, const QString& text) {
    form.services().messages->show(text);
}

}  // namespace

void zbzdy_Click(Form1& form) {
    form.Frame5->show();
    form.Frame5->raise();
    DrawState& st = form.state();
    // A file that cannot be read leaves the sets and the name boxes as they were; the default
    // titles and the sets already in memory stay usable.
    if (const TitleStoreError e = LoadTitleSets(st, form.services().appFolder)) {
        tell(form, e.message());
        return;
    }
    for (int s = 1; s <= TitleSets; ++s) {
        const QString& name = st.titleSets(s, 0);
        if (!name.isEmpty()) {
            form.Option2[s]->setText(name);
            form.Text3[s]->setText(name);
        }
    }
}

void Option2_Click(Form1& form, int index) {
    DrawState& st = form.state();
    st.currentTitleSet = static_cast<int16_t>(index);
    form.List3->clear();
    for (int j = 1; j <= TitlesPerSet; ++j) {
        if (st.titleSets(index, j).isEmpty()) {
            break;
        }
        form.List3->addItem(st.titleSets(index, j));
    }
    form.Text2->setFocus();
    form.Text2->clear();
}

void Command10_Click(Form1& form) {
    DrawState& st = form.state();
    const int s = st.currentTitleSet;
    if (s == 0) {
        tell(form, texts::NoTitleSetChosen);
        return;
    }
    const QString title = form.Text2->text();
    if (title.isEmpty()) {
        tell(form, texts::NoTitleTyped);
        return;
    }
    const int count = titleCount(st, s);
    if (count > TitlesPerSet - 1) {
        tell(form, texts::TitleSetFull);
        return;
    }
    // A set whose stored name was empty counts -1; its first title still goes to place 1, since
    // place 0 is the name, which neither saving nor applying takes titles from.
    const int n = std::max(count, 0) + 1;
    st.titleSets(s, CountColumn) = QString::number(n);
    st.titleSets(s, n) = title;
    form.List3->addItem(title);
    form.Text2->setFocus();
    form.Text2->clear();
}

void Command11_Click(Form1& form) {
    DrawState& st = form.state();
    const int s = st.currentTitleSet;
    if (s == 0) {
        tell(form, texts::NoTitleSetChosen);
        return;
    }
    const QListWidgetItem* current = form.List3->currentItem();
    if (current == nullptr || !current->isSelected()) {
        tell(form, texts::NoTitleSelected);
        return;
    }
    const int i = form.List3->currentRow();
    delete form.List3->takeItem(i);
    // Like a list box after an item is removed: nothing selected until the operator chooses.
    form.List3->setCurrentRow(-1);
    form.List3->clearSelection();
    for (int j = i + 1; j < TitlesPerSet; ++j) {
        st.titleSets(s, j) = st.titleSets(s, j + 1);
    }
    st.titleSets(s, TitlesPerSet).clear();
    // Titles listed beyond a count of 0 or -1 were never counted; the count does not go below.
    const int count = titleCount(st, s);
    if (count > 0) {
        st.titleSets(s, CountColumn) = QString::number(count - 1);
    }
}

void Command12_Click(Form1& form) {
    DrawState& st = form.state();
    if (form.Option2[0]->isChecked()) {
        标题自动内容生成(st);
        form.Frame5->hide();
        return;
    }
    const int s = st.currentTitleSet;
    TitleSetNames names;
    for (int k = 1; k <= TitleSets; ++k) {
        names[static_cast<size_t>(k - 1)] = form.Text3[k]->text();
    }
    // A refused save confirms nothing: the editor stays open with everything as it was, and
    // "默认" can still be confirmed.
    if (const TitleStoreError e = SaveTitleSets(st, form.services().appFolder, names)) {
        tell(form, e.message());
        return;
    }
    tell(form, texts::TitlesConfirmed);
    ApplyTitleSet(st, s);
    form.Frame5->hide();
    st.firstShownGroup = static_cast<int16_t>(st.groupCount >= 5 ? st.groupCount - 3 : 1);
    显示(form, st.firstShownGroup);
}

}  // namespace sortilo

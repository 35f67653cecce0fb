#include "titles/TitleEditing.h"

#include "platform/ErrorMessage.h"
#include "platform/Texts.h"

#include <algorithm>

namespace sortilo {

namespace {

constexpr int CountColumn = TitlesPerSet + 1;

// How many titles of set s count: none for "默认", and none for a set whose stored name was empty
// (-1).
int listedCount(const DrawState& st, int s) {
    return s == 0 ? 0 : std::clamp(titleCount(st, s), 0, TitlesPerSet);
}

}  // namespace

TitleEditing::TitleEditing(DrawSession& session, QString appFolder, QObject* parent)
    : QObject(parent), session_(session), appFolder_(std::move(appFolder)) {}

int TitleEditing::chosenSet() const {
    return session_.state().currentTitleSet;
}

void TitleEditing::open() {
    Q_EMIT opened();
    DrawState& st = tables();
    // A file that cannot be read leaves the sets and the name boxes as they were; the default
    // titles and the sets already in memory stay usable.
    if (const Result<void> loaded = loadTitleSets(st, appFolder_); !loaded) {
        Q_EMIT message(errorMessage(loaded.error()));
        return;
    }
    for (int s = 1; s <= TitleSets; ++s) {
        if (!st.titleSets(s, 0).isEmpty()) {
            Q_EMIT setNameLoaded(s, st.titleSets(s, 0));
        }
    }
    // The reload replaced the counts: the list follows, so it never shows a title that the next
    // confirm would not store.
    listChosenSet();
}

void TitleEditing::chooseSet(int set) {
    tables().currentTitleSet = static_cast<int16_t>(std::clamp(set, 0, TitleSets));
    listChosenSet();
    Q_EMIT newTitleCleared();
}

void TitleEditing::addTitle(const QString& title) {
    DrawState& st = tables();
    const int s = st.currentTitleSet;
    if (s == 0) {
        Q_EMIT message(texts::NoTitleSetChosen);
        return;
    }
    if (title.isEmpty()) {
        Q_EMIT message(texts::NoTitleTyped);
        return;
    }
    const int count = titleCount(st, s);
    if (count > TitlesPerSet - 1) {
        Q_EMIT message(texts::TitleSetFull);
        return;
    }
    // A set whose stored name was empty counts -1; its first title still goes to place 1, since
    // place 0 is the name, which neither saving nor applying takes titles from.
    const int n = std::max(count, 0) + 1;
    st.titleSets(s, CountColumn) = QString::number(n);
    st.titleSets(s, n) = title;
    listChosenSet();
    Q_EMIT newTitleCleared();
}

void TitleEditing::deleteTitle(int row) {
    DrawState& st = tables();
    const int s = st.currentTitleSet;
    if (s == 0) {
        Q_EMIT message(texts::NoTitleSetChosen);
        return;
    }
    const int count = listedCount(st, s);
    if (row < 0 || row >= count) {
        Q_EMIT message(texts::NoTitleSelected);
        return;
    }
    for (int j = row + 1; j < TitlesPerSet; ++j) {
        st.titleSets(s, j) = st.titleSets(s, j + 1);
    }
    st.titleSets(s, TitlesPerSet).clear();
    st.titleSets(s, CountColumn) = QString::number(count - 1);
    listChosenSet();
}

void TitleEditing::confirm(const TitleSetNames& names) {
    DrawState& st = tables();
    const int s = st.currentTitleSet;
    if (s == 0) {
        session_.applyDefaultTitles();
        Q_EMIT closed();
        return;
    }
    // A set stored without a name is read back without its titles, and the next confirm would
    // erase them from the file: such a confirm is refused, with everything as it was.
    for (int k = 1; k <= TitleSets; ++k) {
        if (names[static_cast<size_t>(k - 1)].isEmpty() && listedCount(st, k) > 0) {
            Q_EMIT message(texts::TitleSetNameEmpty.arg(k));
            return;
        }
    }
    // A refused save confirms nothing: the editor stays open with everything as it was, and
    // "默认" can still be confirmed.
    if (const Result<void> saved = saveTitleSets(st, appFolder_, names); !saved) {
        Q_EMIT message(errorMessage(saved.error()));
        return;
    }
    Q_EMIT message(texts::TitlesConfirmed);
    session_.applyTitleSet(s);
    Q_EMIT closed();
}

// Titles 1 to count are what saving stores and applying uses, so they are what the list shows.
void TitleEditing::listChosenSet() {
    const DrawState& st = tables();
    const int s = st.currentTitleSet;
    QStringList titles;
    for (int j = 1; j <= listedCount(st, s); ++j) {
        titles << st.titleSets(s, j);
    }
    Q_EMIT titlesListed(titles);
}

}  // namespace sortilo

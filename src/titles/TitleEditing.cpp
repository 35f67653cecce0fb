#include "titles/TitleEditing.h"

#include "platform/ErrorMessage.h"
#include "platform/Texts.h"

#include <algorithm>

namespace sortilo {

namespace {

constexpr int CountColumn = TitlesPerSet + 1;

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
}

void TitleEditing::chooseSet(int set) {
    DrawState& st = tables();
    st.currentTitleSet = static_cast<int16_t>(std::clamp(set, 0, TitleSets));
    QStringList titles;
    for (int j = 1; j <= TitlesPerSet; ++j) {
        if (st.titleSets(st.currentTitleSet, j).isEmpty()) {
            break;
        }
        titles << st.titleSets(st.currentTitleSet, j);
    }
    list(titles);
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
    list(listed_ + QStringList{title});
    Q_EMIT newTitleCleared();
}

void TitleEditing::deleteTitle(int row) {
    DrawState& st = tables();
    const int s = st.currentTitleSet;
    if (s == 0) {
        Q_EMIT message(texts::NoTitleSetChosen);
        return;
    }
    if (row < 0 || row >= listed_.size()) {
        Q_EMIT message(texts::NoTitleSelected);
        return;
    }
    QStringList titles = listed_;
    titles.removeAt(row);
    list(titles);
    for (int j = row + 1; j < TitlesPerSet; ++j) {
        st.titleSets(s, j) = st.titleSets(s, j + 1);
    }
    st.titleSets(s, TitlesPerSet).clear();
    // Titles listed beyond a count of 0 or -1 were never counted; the count does not go below.
    const int count = titleCount(st, s);
    if (count > 0) {
        st.titleSets(s, CountColumn) = QString::number(count - 1);
    }
}

void TitleEditing::confirm(const TitleSetNames& names) {
    DrawState& st = tables();
    const int s = st.currentTitleSet;
    if (s == 0) {
        session_.applyDefaultTitles();
        Q_EMIT closed();
        return;
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

void TitleEditing::list(const QStringList& titles) {
    listed_ = titles;
    Q_EMIT titlesListed(listed_);
}

}  // namespace sortilo

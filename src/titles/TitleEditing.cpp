#include "titles/TitleEditing.h"

#include "platform/ErrorMessage.h"
#include "platform/Texts.h"

#include <algorithm>

namespace sortilo {

TitleEditing::TitleEditing(DrawSession& session, QString appFolder, QObject* parent)
    : QObject(parent), session_(session), appFolder_(std::move(appFolder)) {}

TitleSet* TitleEditing::chosen() {
    return chosen_ == 0 ? nullptr : &sets_[static_cast<size_t>(chosen_ - 1)];
}

void TitleEditing::open() {
    Q_EMIT opened();
    // A file that cannot be read leaves the sets and the name boxes as they were; the default
    // titles and the sets already in memory stay usable.
    Result<TitleSets> loaded = loadTitleSets(appFolder_);
    if (!loaded) {
        Q_EMIT message(errorMessage(loaded.error()));
        return;
    }
    sets_ = stored_ = *loaded;
    for (int s = 1; s <= TitleSetCount; ++s) {
        if (const QString& name = sets_[static_cast<size_t>(s - 1)].name; !name.isEmpty()) {
            Q_EMIT setNameLoaded(s, name);
        }
    }
    // The list follows the reload, so it never shows a title that the next confirm would not
    // store.
    listChosenSet();
}

void TitleEditing::chooseSet(int set) {
    chosen_ = std::clamp(set, 0, TitleSetCount);
    listChosenSet();
    Q_EMIT newTitleCleared();
}

void TitleEditing::addTitle(const QString& title) {
    TitleSet* set = chosen();
    if (set == nullptr) {
        Q_EMIT message(texts::NoTitleSetChosen);
        return;
    }
    if (title.isEmpty()) {
        Q_EMIT message(texts::NoTitleTyped);
        return;
    }
    if (set->titles.size() >= TitlesPerSet) {
        Q_EMIT message(texts::TitleSetFull);
        return;
    }
    set->titles << title;
    listChosenSet();
    Q_EMIT newTitleCleared();
}

void TitleEditing::deleteTitle(int row) {
    TitleSet* set = chosen();
    if (set == nullptr) {
        Q_EMIT message(texts::NoTitleSetChosen);
        return;
    }
    if (row < 0 || row >= set->titles.size()) {
        Q_EMIT message(texts::NoTitleSelected);
        return;
    }
    set->titles.removeAt(row);
    listChosenSet();
}

void TitleEditing::confirm(const TitleSetNames& names) {
    if (chosen_ == 0) {
        session_.applyTitles({});
        Q_EMIT closed();
        return;
    }
    // A set stored without a name is read back without its titles, and the next confirm would
    // erase them from the file: such a confirm is refused, with everything as it was.
    TitleSets stored = sets_;
    for (int k = 1; k <= TitleSetCount; ++k) {
        TitleSet& set = stored[static_cast<size_t>(k - 1)];
        set.name = names[static_cast<size_t>(k - 1)];
        if (set.name.isEmpty() && !set.titles.isEmpty()) {
            Q_EMIT message(texts::TitleSetNameEmpty.arg(k));
            return;
        }
    }
    // A refused save confirms nothing: the editor stays open with everything as it was, and
    // "默认" can still be confirmed.
    if (const Result<void> saved = saveTitleSets(appFolder_, stored); !saved) {
        Q_EMIT message(errorMessage(saved.error()));
        return;
    }
    sets_ = stored_ = stored;
    Q_EMIT message(texts::TitlesConfirmed);
    session_.applyTitles(chosen()->titles);
    Q_EMIT closed();
}

void TitleEditing::cancel() {
    sets_ = stored_;
    TitleSetNames names;
    for (size_t s = 0; s < names.size(); ++s) {
        names[s] = stored_[s].name;
    }
    Q_EMIT setNamesRestored(names);
    listChosenSet();
    Q_EMIT closed();
}

void TitleEditing::listChosenSet() {
    const TitleSet* set = chosen();
    Q_EMIT titlesListed(set == nullptr ? QStringList() : set->titles);
}

}  // namespace sortilo

#pragma once

#include "draw/DrawSession.h"
#include "titles/store/TitleStore.h"

#include <QObject>
#include <QStringList>

namespace sortilo {

// The title editor's rules, without its widgets: the stored title sets are loaded when it opens,
// titles are added to and deleted from the chosen set in memory, and the confirm stores all six
// sets and has the session title its groups with the chosen one (or the default titles). It
// reports what the editor shows by signals.
class TitleEditing : public QObject {
    Q_OBJECT

public:
    TitleEditing(DrawSession& session, QString appFolder, QObject* parent = nullptr);

    // The chosen set: 0 for "默认", else 1..6.
    int chosenSet() const { return chosen_; }

public Q_SLOTS:
    void open();
    void chooseSet(int set);
    // The text of the new-title box as the next title of the chosen set.
    void addTitle(const QString& title);
    // The title at `row` of the list (-1: none selected) leaves the chosen set.
    void deleteTitle(int row);
    // The six name boxes' texts; element 0 is set 1.
    void confirm(const TitleSetNames& names);
    // Esc: the editor closes, and what was not confirmed is forgotten: the sets are as the file
    // last gave or took them.
    void cancel();

Q_SIGNALS:
    void opened();
    void closed();
    // A stored set's name, loaded at the opening; sets without a stored name keep what they show.
    void setNameLoaded(int set, const QString& name);
    void titlesListed(const QStringList& titles);
    // The name boxes show these names again (an edit was discarded).
    void setNamesRestored(const sortilo::TitleSetNames& names);
    // The new-title box takes the focus and is emptied.
    void newTitleCleared();
    // A message for the operator (modal).
    void message(const QString& text);

private:
    // The chosen set, or nullptr for "默认".
    TitleSet* chosen();
    void listChosenSet();

    DrawSession& session_;
    QString appFolder_;
    TitleSets sets_;
    TitleSets stored_;  // as the file last gave or took them
    int chosen_ = 0;
};

}  // namespace sortilo

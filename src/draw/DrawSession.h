#pragma once

#include "base/Result.h"
#include "draw/DrawKeys.h"
#include "draw/engine/Clock.h"
#include "draw/engine/DrawJournal.h"
#include "draw/engine/DrawModel.h"
#include "draw/engine/DrawTimer.h"
#include "draw/engine/Random.h"

#include <QObject>
#include <QStringList>

#include <array>

namespace sortilo {

// Whether drawn names stay in the pool ("是") or leave it ("否"); neither right after an import.
enum class KeepChoice { None, Keep, Remove };

// The two draw buttons that share one place: 开始 lies on top of 结束.
enum class DrawButton { Start, Stop };

// Where the draw stands. Only the last three roll.
enum class DrawPhase {
    StartUp,   // the program has just started: the timer ticks slowly, showing no name
    Stopped,   // after a Stop, a refused tick or an import
    Resuming,  // started again after a stop: its first tick is a pause
    Rolling,   // started, no name picked yet: a Stop now records nothing
    Picked,    // rolling with the picks of its last tick: a Stop records them
};

// One of the four result lists as shown: its group's title and names, and whether it shows the
// selected group (pink).
struct ShownGroup {
    int number = 0;  // the group's number; 0 for a list under no group
    QString title;
    QStringList names;
    bool selected = false;
};
using ShownGroups = std::array<ShownGroup, 4>;

// A name of a recorded group as the operator points at it: the group's number, and the name's
// place in the group (from 0).
struct GroupPlace {
    int group = 0;
    int position = 0;
    bool operator==(const GroupPlace&) const = default;
};

// The draw: the roster and its pool, Start and Stop, the rolling name, the recorded groups and
// which four of them are shown. It owns the draw's model and changes it only through its slots;
// every change a screen shows is reported by a signal, so any number of windows can show the same
// draw. Each import starts a draw session under a new secret: the groups' picks follow from it
// (the rolling names are only a show), and a journal, when one is kept, writes every step down
// before the screen shows it. The timer, the clock, the random source of the show and the source
// of secrets are handed in (tests tick by hand).
class DrawSession : public QObject {
    Q_OBJECT

public:
    enum CloseMode { TellFailure, Quietly };

    static constexpr int StartUpPeriod = 360;
    static constexpr int RollingPeriod = 100;

    DrawSession(DrawTimer& timer, const Clock& clock, RandomSource& random, SecretSource& secrets,
                QObject* parent = nullptr);
    ~DrawSession() override;

    // Every session from the next import on is written to this journal (nullptr: none).
    void keepRecord(DrawJournal* journal) { journal_ = journal; }

    // The roster, the pool, the groups, the titles and the history.
    const DrawModel& model() const { return model_; }
    DrawPhase phase() const { return phase_; }
    bool rolling() const;
    const QString& rollingName() const { return rollingName_; }
    bool startShown() const { return startShown_; }
    bool stopShown() const { return stopShown_; }
    KeepChoice keepChoice() const { return keepChoice_; }
    const QString& drawCountText() const { return drawCountText_; }
    const ShownGroups& shownGroups() const { return shownGroups_; }
    bool laterGroupsShown() const { return laterGroupsShown_; }
    // The selected group (pink), 0 for none.
    int selectedGroup() const { return selectedGroup_; }
    // Whether the room's text can still be added: after an import, before any group, while the
    // draw does not roll.
    bool entropyAllowed() const;
    // Where the record of this session stands; no lines when none is kept.
    const RecordMark& recordMark() const { return recordMark_; }
    // The record missed a line of this session: it holds less than the room saw.
    bool recordIncomplete() const { return recordFailed_; }

public Q_SLOTS:
    // The draw-count text as typed; any change brings 开始 back on top.
    void setDrawCountText(const QString& text);
    void setKeepChoice(KeepChoice choice);
    // 开始 and 结束 pressed: the settings are checked first; a refusal changes nothing, so a
    // rolling draw keeps rolling behind its message.
    void pressStart();
    void pressStop();
    // The one of 开始/结束 that is shown (开始 where it lies on top of 结束).
    void pressShownDrawButton();
    // A key in a window that shows the draw; true when the draw took it. While one of the draw's
    // messages is open the keys are the message's; while a panel covers the draw they do nothing.
    bool pressKey(int key, KeyFocus focus, bool autoRepeat = false);
    // The operator's view of the draw is covered (the title editor, the details view): a key
    // never starts or stops a draw nobody sees.
    void setCovered(bool covered) { covered_ = covered; }
    // A tick of the timer: while rolling, a fresh pick whose first name rolls.
    void tick();
    // A new draw session on the names an import read (at most 2000): no groups, no settings,
    // stopped; the paging and the titles stay.
    void importRoster(const QStringList& names);
    // "<" and ">": page through the groups four at a time.
    void showEarlierGroups();
    void showLaterGroups();
    // A name chosen in result list 1..4 makes its group the selected one (0, the pool, does not).
    void selectShownGroup(int list);
    // Groups 1 to n take these titles, the others their default ones (none given: 第g组 for
    // all); either way the newest groups are shown under them at once.
    void applyTitles(const QStringList& titles);
    // The room's own text (现场随机数), mixed into every group of this session; only while
    // entropyAllowed().
    void addEntropy(const QString& text);
    // The session's record is closed, its secret revealed. Quietly, on the program's way out: a
    // record that cannot be closed then is closed at the next start, and nobody waits for a
    // message.
    void closeRecord(sortilo::DrawSession::CloseMode mode = TellFailure);
    // The operator marks these names absent: refused when none is marked, when they are of two
    // groups, while the draw rolls, or when the pool has too few names to replace them;
    // otherwise the question is put (redrawAsked).
    void askRedraw(const QList<sortilo::GroupPlace>& absent);
    // Replacements are drawn for the absent names, each into the place of one of them.
    void redrawAbsent(const QList<sortilo::GroupPlace>& absent);

Q_SIGNALS:
    void rollingNameChanged(const QString& name);
    void poolChanged(const QStringList& names);
    void poolCountChanged(int count);
    void groupsShown(const ShownGroups& groups);
    void laterGroupsButtonChanged(bool shown);
    void drawButtonsChanged(bool startShown, bool stopShown);
    void drawButtonFocused(DrawButton button);
    void rollingChanged(bool rolling);
    void drawCountTextChanged(const QString& text);
    void keepChoiceChanged(KeepChoice choice);
    // Stop recorded group `number`; remove mode has taken its names out of the pool already.
    void groupRecorded(int number, const QString& title, const QStringList& names);
    // Whether these names of the group are absent and should be replaced (the question).
    void redrawAsked(int group, const QStringList& absentNames,
                     const QList<sortilo::GroupPlace>& absent);
    // Group `number` after a replacement: its names, the replacements at `replaced` (places).
    void groupRedrawn(int number, const QString& title, const QStringList& names,
                      const QList<int>& replaced);
    // A new session's commitment, or the room's text added to it.
    void sessionSealed();
    void entropyAllowedChanged(bool allowed);
    // The record took a new line (recordMark()), or missed one (recordIncomplete()).
    void recordChanged();
    // A check refused what was asked, or the record could not be written (modal). Emitted last,
    // after every change of its step.
    void refused(const sortilo::Error& error);

private:
    void refuse(ErrorKind kind);
    // The absent members of one group, in the group's order, or the refusal of them.
    Result<QList<int>> absentMembers(const QList<GroupPlace>& absent) const;
    void refuse(const Error& error);
    // The journal's answer: a new mark, or its failure told once (the session goes on unrecorded).
    void noteRecord(const Result<RecordMark>& written);
    void updateEntropyOffer();
    bool recording() const { return journal_ != nullptr && !recordFailed_; }
    void start(int count);
    void stop();
    void pick();
    void reset();
    void enterPhase(DrawPhase phase);
    void showDrawButtons(bool start, bool stop);
    void showPool();
    void showGroups();
    void showNewestGroups();
    void showLaterGroupsButton(bool shown);

    DrawModel model_;
    DrawTimer& timer_;
    const Clock& clock_;
    RandomSource& random_;
    SecretSource& secrets_;
    DrawJournal* journal_ = nullptr;
    bool recordFailed_ = false;  // this session's journal missed a line
    RecordMark recordMark_;
    bool entropyOffered_ = false;
    DrawPhase phase_ = DrawPhase::StartUp;
    int drawCount_ = 0;
    QString rollingName_;
    QString drawCountText_;
    KeepChoice keepChoice_ = KeepChoice::Keep;
    bool startShown_ = true;
    bool stopShown_ = true;
    int firstShownGroup_ = 0;
    int selectedGroup_ = 0;
    ShownGroups shownGroups_;
    bool laterGroupsShown_ = true;
    bool messageOpen_ = false;
    bool covered_ = false;
};

}  // namespace sortilo

Q_DECLARE_METATYPE(sortilo::GroupPlace)

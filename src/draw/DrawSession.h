#pragma once

#include "draw/DrawKeys.h"
#include "draw/engine/Clock.h"
#include "draw/engine/DrawState.h"
#include "draw/engine/DrawTimer.h"
#include "draw/engine/Random.h"

#include <QObject>
#include <QStringList>

#include <array>
#include <memory>

namespace sortilo {

// Whether drawn names stay in the pool ("是") or leave it ("否"); neither right after an import.
enum class KeepChoice { None, Keep, Remove };

// The two draw buttons that share one place: 开始 lies on top of 结束.
enum class DrawButton { Start, Stop };

// One of the four result lists as shown: its group's title and names, and whether it shows the
// selected group (pink).
struct ShownGroup {
    QString title;
    QStringList names;
    bool selected = false;
};
using ShownGroups = std::array<ShownGroup, 4>;

// The draw: the pool, Start and Stop, the rolling name, the recorded groups and which four of them
// are shown. It owns the draw state and changes it only through its slots; every change a screen
// shows is reported by a signal, so any number of windows can show the same draw. The timer, the
// clock and the random source are handed in (tests tick by hand).
class DrawSession : public QObject {
    Q_OBJECT

public:
    static constexpr int StartUpPeriod = 360;  // the timer ticks from the start, finding no count
    static constexpr int RollingPeriod = 100;

    DrawSession(DrawTimer& timer, const Clock& clock, RandomSource& random,
                QObject* parent = nullptr);
    ~DrawSession() override;

    const DrawState& state() const { return *state_; }
    // The title sets and the chosen set (titleSets, currentTitleSet) belong to the title editing,
    // which changes them here; nothing the session shows depends on them until applyTitleSet().
    DrawState& stateForTitleEditing() { return *state_; }

    bool rolling() const { return timer_.period() == RollingPeriod; }
    bool startShown() const { return startShown_; }
    bool stopShown() const { return stopShown_; }
    KeepChoice keepChoice() const { return keepChoice_; }
    const QString& drawCountText() const { return drawCountText_; }
    bool laterGroupsShown() const { return laterGroupsShown_; }

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
    // messages is open the keys are the message's.
    bool pressKey(int key, KeyFocus focus, bool autoRepeat = false);
    // A tick of the timer: skipped once after a Stop, a reset or a refused tick; otherwise a fresh
    // pick whose first name rolls.
    void tick();
    // Back to a fresh draw before an import fills a new pool: no groups, no settings, stopped. The
    // pool, the picks, the draw count, the paging and the titles stay.
    void reset();
    // The names an import read become the pool (at most 2000).
    void importPool(const QStringList& names);
    // "<" and ">": page through the groups four at a time.
    void showEarlierGroups();
    void showLaterGroups();
    // A name chosen in result list 1..4 makes its group the selected one (0, the pool, does not).
    void selectShownGroup(int list);
    // Titles: the default ones, or those of title set 1..6; either way the newest groups are
    // shown under them at once.
    void applyDefaultTitles();
    void applyTitleSet(int set);

Q_SIGNALS:
    void rollingNameChanged(const QString& name);
    void poolChanged(const QStringList& names);
    void poolCountChanged(const QString& caption);  // e.g. 25可抽值
    void groupsShown(const ShownGroups& groups);
    void laterGroupsButtonChanged(bool shown);
    void drawButtonsChanged(bool startShown, bool stopShown);
    void drawButtonFocused(DrawButton button);
    void rollingChanged(bool rolling);
    void drawCountTextChanged(const QString& text);
    void keepChoiceChanged(KeepChoice choice);
    // Stop recorded group `number`; remove mode has taken its names out of the pool already.
    void groupRecorded(int number, const QString& title, const QStringList& names);
    // A message for the operator (modal). Emitted last, after every change of its step.
    void refused(const QString& message);

private:
    void refuse(const QString& message);
    void start(int16_t count);
    void stop();
    void setTimerPeriod(int milliseconds);
    void showDrawButtons(bool start, bool stop);
    void showPool();
    void showGroups();
    void showNewestGroups();
    void showLaterGroupsButton(bool shown);

    std::unique_ptr<DrawState> state_;
    DrawTimer& timer_;
    const Clock& clock_;
    RandomSource& random_;
    QString drawCountText_;
    KeepChoice keepChoice_ = KeepChoice::Keep;
    bool startShown_ = true;
    bool stopShown_ = true;
    bool laterGroupsShown_ = true;
    bool messageOpen_ = false;
};

}  // namespace sortilo

#include "draw/DrawSession.h"

#include "draw/engine/DrawCount.h"
#include "draw/engine/DrawPick.h"
#include "platform/Texts.h"
#include "titles/store/TitleStore.h"

#include <QScopedValueRollback>

#include <algorithm>

namespace sortilo {

namespace {

// The highest first shown group whose four lists still lie within the group tables.
constexpr int LastFirstShownGroup = MaxGroups - 3;

// The message for a count Start refuses, or an empty text when Start may go on. A count above
// 1000 (one too large for 16 bits among them) could not be recorded as a group, and a 51st group
// has no place in the tables: both are refused here, before the draw rolls.
QString startRefusal(const DrawCountReading& reading, int groupCount) {
    using Verdict = DrawCountReading::Verdict;
    if (reading.verdict == Verdict::BelowOne) {
        return texts::CountBelowOne;
    }
    if (reading.verdict == Verdict::TooLarge || reading.count > MaxGroupSize) {
        return texts::CountAboveGroupSize;
    }
    if (groupCount >= MaxGroups) {
        return texts::GroupsFull;
    }
    return {};
}

}  // namespace

DrawSession::DrawSession(DrawTimer& timer, const Clock& clock, RandomSource& random,
                         QObject* parent)
    : QObject(parent), state_(makeDrawState()), timer_(timer), clock_(clock), random_(random) {
    setDefaultTitles(*state_);
    timer_.setTickHandler([this] { tick(); });
    timer_.setPeriod(StartUpPeriod);
}

DrawSession::~DrawSession() {
    timer_.setTickHandler({});
}

void DrawSession::setDrawCountText(const QString& text) {
    if (text == drawCountText_) {
        return;
    }
    drawCountText_ = text;
    Q_EMIT drawCountTextChanged(text);
    if (!startShown_) {
        showDrawButtons(true, stopShown_);
    }
}

void DrawSession::setKeepChoice(KeepChoice choice) {
    if (choice == keepChoice_) {
        return;
    }
    keepChoice_ = choice;
    Q_EMIT keepChoiceChanged(choice);
}

void DrawSession::pressStart() {
    if (keepChoice_ == KeepChoice::None) {
        refuse(texts::KeepChoiceNotSet);
        return;
    }
    const DrawCountReading reading = readDrawCount(drawCountText_);
    if (const QString refusal = startRefusal(reading, state_->groupCount); !refusal.isEmpty()) {
        refuse(refusal);
        return;
    }
    start(reading.count);
}

void DrawSession::pressStop() {
    if (keepChoice_ == KeepChoice::None) {
        refuse(texts::KeepChoiceNotSet);
        return;
    }
    stop();
}

void DrawSession::pressShownDrawButton() {
    if (startShown_) {
        pressStart();
    } else if (stopShown_) {
        pressStop();
    }
}

bool DrawSession::pressKey(int key, KeyFocus focus, bool autoRepeat) {
    if (messageOpen_) {
        return false;
    }
    switch (drawKeyEffect(key, focus, autoRepeat)) {
        case KeyEffect::None:
            return false;
        case KeyEffect::PressDrawButton:
            pressShownDrawButton();
            return true;
        case KeyEffect::Swallowed:
            return true;
    }
    return false;
}

// The message box is modal: until it closes, a key is its own, not the draw's.
void DrawSession::refuse(const QString& message) {
    const QScopedValueRollback open(messageOpen_, true);
    Q_EMIT refused(message);
}

void DrawSession::start(int16_t count) {
    showDrawButtons(false, true);
    Q_EMIT drawButtonFocused(DrawButton::Stop);
    state_->drawCount = count;
    // The picks of an earlier draw are not this draw's: Stop waits for a tick of its own.
    state_->currentDrawPicked = false;
    setTimerPeriod(RollingPeriod);
}

void DrawSession::stop() {
    DrawState& state = *state_;
    // A Stop before the draw's first pick (the second click of a double click on Start) would
    // record the previous draw's picks, or none at all: the draw rolls on instead.
    if (!canRecordGroup(state)) {
        return;
    }
    showDrawButtons(true, false);
    Q_EMIT drawButtonFocused(DrawButton::Start);
    setTimerPeriod(0);
    state.skipNextTick = 1;
    recordGroup(state);
    showGroups();
    if (keepChoice_ == KeepChoice::Remove) {
        takeDrawnNamesOut(state);
        showPool();
    }
    const int g = state.groupCount;
    Q_EMIT groupRecorded(g, state.groupTitles(g), groupNames(state, g));
}

void DrawSession::tick() {
    DrawState& state = *state_;
    if (state.skipNextTick == 1) {
        state.skipNextTick = 0;
        return;
    }
    if (pickNames(state, random_, clock_) == PickOutcome::CountAbovePool) {
        // The timer stops before the message opens, so this tick cannot come round again behind it.
        showDrawButtons(true, false);
        setTimerPeriod(0);
        state.skipNextTick = 1;
        refuse(texts::CountAbovePool);
    }
    Q_EMIT rollingNameChanged(state.rollingName);
}

void DrawSession::reset() {
    setDrawCountText(QString());
    setKeepChoice(KeepChoice::None);
    Q_EMIT rollingNameChanged(QString());
    showDrawButtons(true, false);
    Q_EMIT drawButtonFocused(DrawButton::Start);
    setTimerPeriod(0);
    clearGroups(*state_);
    // The lists empty under the titles of groups 1 to 4, wherever the paging stood.
    ShownGroups shown;
    for (int i = 0; i < 4; ++i) {
        shown[static_cast<size_t>(i)].title = state_->groupTitles(i + 1);
    }
    Q_EMIT groupsShown(shown);
}

void DrawSession::importPool(const QStringList& names) {
    const int count = std::min(static_cast<int>(names.size()), MaxRoster);
    for (int k = 1; k <= count; ++k) {
        state_->roster(k) = names[k - 1];
    }
    state_->rosterCount = static_cast<int16_t>(count);
    showPool();
}

void DrawSession::showEarlierGroups() {
    DrawState& state = *state_;
    if (state.firstShownGroup > 1) {
        --state.firstShownGroup;
    } else if (state.groupCount > 4) {
        showLaterGroupsButton(true);
    }
    showGroups();
}

void DrawSession::showLaterGroups() {
    DrawState& state = *state_;
    // ">" stops where the fourth list shows group 50, the last the tables hold.
    if (state.firstShownGroup < LastFirstShownGroup) {
        ++state.firstShownGroup;
    }
    showGroups();
    showLaterGroupsButton(state.groupCount - 3 != state.firstShownGroup);
}

void DrawSession::selectShownGroup(int list) {
    if (list < 1 || list > 4) {
        return;
    }
    clearGroupSelection(*state_);
    state_->groupSelected(state_->firstShownGroup + list - 1) = 1;
    showGroups();
}

// Either choice of titles is shown at once, so the labels never disagree with an export made
// right after it.
void DrawSession::applyDefaultTitles() {
    setDefaultTitles(*state_);
    showNewestGroups();
}

void DrawSession::applyTitleSet(int set) {
    sortilo::applyTitleSet(*state_, set);
    showNewestGroups();
}

void DrawSession::showNewestGroups() {
    state_->firstShownGroup = firstGroupShowingNewest(state_->groupCount);
    showGroups();
}

void DrawSession::setTimerPeriod(int milliseconds) {
    const bool wasRolling = rolling();
    timer_.setPeriod(milliseconds);
    if (rolling() != wasRolling) {
        Q_EMIT rollingChanged(rolling());
    }
}

void DrawSession::showDrawButtons(bool start, bool stop) {
    startShown_ = start;
    stopShown_ = stop;
    Q_EMIT drawButtonsChanged(start, stop);
}

void DrawSession::showPool() {
    Q_EMIT poolChanged(poolNames(*state_));
    Q_EMIT poolCountChanged(QString::number(state_->rosterCount) + texts::PoolCountSuffix);
}

// Groups firstShownGroup..+3 in the four lists (those recorded), their titles (also of groups not
// drawn yet), and the selected group's list pink.
void DrawSession::showGroups() {
    const DrawState& state = *state_;
    const int first = state.firstShownGroup;
    ShownGroups shown;
    for (int g = first; g <= first + 3 && g <= MaxGroups; ++g) {
        if (g == state.groupCount + 1) {
            break;
        }
        shown[static_cast<size_t>(g - first)].names = groupNames(state, g);
    }
    for (int g = first; g <= first + 3; ++g) {
        shown[static_cast<size_t>(g - first)].title =
            g <= MaxGroups ? state.groupTitles(g) : QString();
    }
    // With group 0 in the first list and no group selected, the position arithmetic alone would
    // colour that empty list.
    const int selected = selectedGroup(state);
    const int list = selected - first;
    if (selected > 0 && list >= 0 && list < 4) {
        shown[static_cast<size_t>(list)].selected = true;
    }
    Q_EMIT groupsShown(shown);
}

void DrawSession::showLaterGroupsButton(bool shown) {
    laterGroupsShown_ = shown;
    Q_EMIT laterGroupsButtonChanged(shown);
}

}  // namespace sortilo

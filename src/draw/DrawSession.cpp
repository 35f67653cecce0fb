#include "draw/DrawSession.h"

#include "draw/engine/CommittedDraw.h"
#include "draw/engine/DrawCount.h"
#include "draw/engine/DrawPick.h"

#include <QScopedValueRollback>

#include <algorithm>
#include <optional>

namespace sortilo {

namespace {

// The highest first shown group whose four lists still show groups that can be drawn.
constexpr int LastFirstShownGroup = MaxGroups - 3;

// The first of the four shown groups that puts the newest group on screen: in the last of the
// four lists once there are more than four groups.
int firstGroupShowingNewest(int groupCount) {
    return groupCount < 5 ? 1 : groupCount - 3;
}

// What keeps Start from going on, if anything. A count above 1000 could not be recorded as a
// group, and a 51st group has no place: both are refused here, before the draw rolls.
std::optional<ErrorKind> startRefusal(const DrawCountReading& reading, bool groupsFull) {
    using Verdict = DrawCountReading::Verdict;
    if (reading.verdict == Verdict::BelowOne) {
        return ErrorKind::CountBelowOne;
    }
    if (reading.verdict == Verdict::TooLarge) {
        return ErrorKind::CountAboveGroupSize;
    }
    if (groupsFull) {
        return ErrorKind::GroupsFull;
    }
    return std::nullopt;
}

}  // namespace

DrawSession::DrawSession(DrawTimer& timer, const Clock& clock, RandomSource& random,
                         SecretSource& secrets, QObject* parent)
    : QObject(parent), timer_(timer), clock_(clock), random_(random), secrets_(secrets) {
    timer_.setTickHandler([this] { tick(); });
    timer_.setPeriod(StartUpPeriod);
}

DrawSession::~DrawSession() {
    timer_.setTickHandler({});
}

bool DrawSession::entropyAllowed() const {
    return model_.canAddEntropy() && !rolling();
}

bool DrawSession::rolling() const {
    return phase_ == DrawPhase::Resuming || phase_ == DrawPhase::Rolling ||
           phase_ == DrawPhase::Picked;
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
        refuse(ErrorKind::KeepChoiceNotSet);
        return;
    }
    const DrawCountReading reading = readDrawCount(drawCountText_);
    if (const auto refusal = startRefusal(reading, model_.groupsFull())) {
        refuse(*refusal);
        return;
    }
    start(reading.count);
}

void DrawSession::pressStop() {
    if (keepChoice_ == KeepChoice::None) {
        refuse(ErrorKind::KeepChoiceNotSet);
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
            if (!covered_) {
                pressShownDrawButton();
            }
            return true;
        case KeyEffect::Swallowed:
            return true;
    }
    return false;
}

void DrawSession::refuse(ErrorKind kind) {
    refuse(fault(kind));
}

// The message box is modal: until it closes, a key is its own, not the draw's.
void DrawSession::refuse(const Error& error) {
    const QScopedValueRollback open(messageOpen_, true);
    Q_EMIT refused(error);
}

void DrawSession::start(int count) {
    showDrawButtons(false, true);
    Q_EMIT drawButtonFocused(DrawButton::Stop);
    drawCount_ = count;
    // After a stop the first tick is a pause; otherwise the picks of an earlier start are not
    // this draw's, and Stop waits for a tick of its own.
    const bool afterStop = phase_ == DrawPhase::Stopped || phase_ == DrawPhase::Resuming;
    enterPhase(afterStop ? DrawPhase::Resuming : DrawPhase::Rolling);
    updateEntropyOffer();
}

void DrawSession::stop() {
    // A Stop before the draw's first pick (the second click of a double click on Start) would
    // record the previous draw's picks, or none at all: the draw rolls on instead.
    if (phase_ != DrawPhase::Picked || model_.groupsFull()) {
        return;
    }
    // The group is the derivation's, whichever tick the Stop fell on; it is on disk before the
    // screen shows it.
    const GroupDrawn drawn = model_.nextGroup(drawCount_, keepChoice_ == KeepChoice::Keep);
    std::optional<Result<RecordMark>> written;
    if (recording()) {
        written = journal_->append(model_, drawn);
    }
    showDrawButtons(true, false);
    Q_EMIT drawButtonFocused(DrawButton::Start);
    enterPhase(DrawPhase::Stopped);
    const Group& group = model_.recordGroup(drawn);
    rollingName_ = model_.roster()[group.members.first()];
    Q_EMIT rollingNameChanged(rollingName_);
    firstShownGroup_ = firstGroupShowingNewest(group.number);
    selectedGroup_ = group.number;
    showGroups();
    if (!group.keep) {
        showPool();
    }
    Q_EMIT groupRecorded(group.number, model_.title(group.number), model_.names(group.members));
    updateEntropyOffer();
    if (written) {
        noteRecord(*written);
    }
}

void DrawSession::tick() {
    switch (phase_) {
        case DrawPhase::StartUp:
            Q_EMIT rollingNameChanged(rollingName_);
            return;
        case DrawPhase::Stopped:
            return;
        case DrawPhase::Resuming:
            enterPhase(DrawPhase::Rolling);
            return;
        case DrawPhase::Rolling:
        case DrawPhase::Picked:
            pick();
            return;
    }
}

void DrawSession::pick() {
    const QList<int>& pool = model_.pool();
    if (drawCount_ > pool.size()) {
        // The timer stops before the message opens, so this tick cannot come round again behind it.
        showDrawButtons(true, false);
        enterPhase(DrawPhase::Stopped);
        updateEntropyOffer();
        refuse(ErrorKind::CountAbovePool);
        Q_EMIT rollingNameChanged(rollingName_);
        return;
    }
    // The rolling names are a show: any name of the pool, from the generator of the moment.
    rollingName_ =
        model_.roster()[pool[showPosition(static_cast<int>(pool.size()), random_, clock_)]];
    enterPhase(DrawPhase::Picked);
    Q_EMIT rollingNameChanged(rollingName_);
}

void DrawSession::importRoster(const QStringList& names) {
    closeRecord();
    reset();
    model_.startSession(names, secrets_.secret(committed::SecretBytes));
    recordMark_ = {};
    recordFailed_ = false;
    std::optional<Result<RecordMark>> written;
    if (recording()) {
        written = journal_->open(model_);
    }
    showPool();
    Q_EMIT sessionSealed();
    updateEntropyOffer();
    if (written) {
        noteRecord(*written);
    }
}

// Back to a fresh draw before a new roster: no groups, no settings, stopped.
void DrawSession::reset() {
    setDrawCountText(QString());
    setKeepChoice(KeepChoice::None);
    rollingName_.clear();
    Q_EMIT rollingNameChanged(rollingName_);
    showDrawButtons(true, false);
    Q_EMIT drawButtonFocused(DrawButton::Start);
    enterPhase(DrawPhase::Stopped);
    selectedGroup_ = 0;
    // The lists empty under the titles of groups 1 to 4, wherever the paging stood.
    ShownGroups shown;
    for (int i = 0; i < 4; ++i) {
        shown[static_cast<size_t>(i)].title = model_.title(i + 1);
    }
    shownGroups_ = shown;
    Q_EMIT groupsShown(shown);
}

void DrawSession::showEarlierGroups() {
    if (firstShownGroup_ > 1) {
        --firstShownGroup_;
    } else if (model_.groupCount() > 4) {
        showLaterGroupsButton(true);
    }
    showGroups();
}

void DrawSession::showLaterGroups() {
    // ">" stops where the fourth list shows group 50, the last there can be.
    if (firstShownGroup_ < LastFirstShownGroup) {
        ++firstShownGroup_;
    }
    showGroups();
    showLaterGroupsButton(model_.groupCount() - 3 != firstShownGroup_);
}

void DrawSession::selectShownGroup(int list) {
    if (list < 1 || list > 4) {
        return;
    }
    selectedGroup_ = std::max(firstShownGroup_ + list - 1, 0);
    showGroups();
}

// New titles are shown at once, so the labels never disagree with an export made right after.
void DrawSession::applyTitles(const QStringList& titles) {
    model_.setTitles(titles);
    showNewestGroups();
}

void DrawSession::showNewestGroups() {
    firstShownGroup_ = firstGroupShowingNewest(model_.groupCount());
    showGroups();
}

void DrawSession::enterPhase(DrawPhase phase) {
    const bool wasRolling = rolling();
    phase_ = phase;
    timer_.setPeriod(rolling() ? RollingPeriod : 0);
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
    Q_EMIT poolChanged(model_.poolNames());
    Q_EMIT poolCountChanged(static_cast<int>(model_.pool().size()));
}

// Groups firstShownGroup..+3 in the four lists (those recorded), their titles (also of groups not
// drawn yet), and the selected group's list pink.
void DrawSession::showGroups() {
    ShownGroups shown;
    for (int i = 0; i < 4; ++i) {
        const int g = firstShownGroup_ + i;
        ShownGroup& list = shown[static_cast<size_t>(i)];
        if (g >= 1 && g <= MaxGroups) {
            list.number = g;
            list.title = model_.title(g);
        }
        if (g >= 1 && g <= model_.groupCount()) {
            list.names = model_.groupNames(g);
        }
        list.selected = selectedGroup_ > 0 && g == selectedGroup_;
    }
    shownGroups_ = shown;
    Q_EMIT groupsShown(shown);
}

void DrawSession::showLaterGroupsButton(bool shown) {
    laterGroupsShown_ = shown;
    Q_EMIT laterGroupsButtonChanged(shown);
}

}  // namespace sortilo

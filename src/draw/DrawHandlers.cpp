#include "draw/DrawHandlers.h"

#include "app/Form1.h"
#include "draw/engine/DrawCount.h"
#include "draw/engine/DrawPick.h"
#include "platform/Texts.h"
#include "results/ResultLists.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace sortilo {

namespace {

constexpr int RollingInterval = 100;

bool keepChoiceSet(const Form1& form) {
    return form.Option1[0]->isChecked() || form.Option1[1]->isChecked();
}

bool removeMode(const Form1& form) {
    return form.Option1[1]->isChecked();
}

void showIdleButtons(Form1& form) {
    form.Command3[0]->setVisible(true);
    form.Command3[1]->setVisible(false);
}

// The message for a count Start refuses, or an empty text when Start may go on. A count above
// 1000 (one too large for 16 bits among them) could not be recorded as a group, and a 51st group
// has no place in the tables: both are refused here, before the draw rolls.
QString startRefusal(const Form1& form, const DrawCountReading& reading) {
    using Verdict = DrawCountReading::Verdict;
    if (reading.verdict == Verdict::BelowOne) {
        return texts::CountBelowOne;
    }
    if (reading.verdict == Verdict::TooLarge || reading.count > MaxGroupSize) {
        return texts::CountAboveGroupSize;
    }
    if (form.state().groupCount >= MaxGroups) {
        return texts::GroupsFull;
    }
    return QString();
}

}  // namespace

void Command3_Click(Form1& form, int index) {
    if (!keepChoiceSet(form)) {
        form.services().messages->show(texts::KeepChoiceNotSet);
        return;
    }
    if (index == 1) {
        Stop(form);
        return;
    }
    const DrawCountReading reading = readDrawCount(form.Text1->text());
    const QString refusal = startRefusal(form, reading);
    if (!refusal.isEmpty()) {
        form.services().messages->show(refusal);
        return;
    }
    Start(form, reading.count);
}

void Text1_Change(Form1& form) {
    form.Command3[0]->setVisible(true);
}

void Start(Form1& form, int16_t count) {
    DrawState& state = form.state();
    form.Command3[0]->setVisible(false);
    form.Command3[1]->setVisible(true);
    form.Command3[1]->setFocus();
    state.drawCount = count;
    // The picks of an earlier draw are not this draw's: Stop waits for a tick of its own.
    state.currentDrawPicked = false;
    form.Timer1->setInterval(RollingInterval);
}

void Stop(Form1& form) {
    DrawState& state = form.state();
    // A Stop before the draw's first pick (the second click of a double click on Start) would
    // record the previous draw's picks, or none at all: the draw rolls on instead.
    if (!canRecordGroup(state)) {
        return;
    }
    form.Command3[0]->setVisible(true);
    form.Command3[0]->setFocus();
    form.Command3[1]->setVisible(false);
    form.Timer1->setInterval(0);
    state.skipNextTick = 1;
    beginGroup(state);
    导入抽中名单(form);
    底色标记归0(form);
    state.groupSelected(state.groupCount) = 1;
    显示(form, state.firstShownGroup);
    if (removeMode(form)) {
        removeDrawnNames(form);
    }
}

void Timer1_Timer(Form1& form) {
    DrawState& state = form.state();
    if (state.skipNextTick == 1) {
        state.skipNextTick = 0;
        return;
    }
    抽签函数(form);
    form.Label2->setText(state.rollingName);
}

void 抽签函数(Form1& form) {
    Services& services = form.services();
    if (pickNames(form.state(), *services.random, *services.clock) == PickOutcome::Picked) {
        return;
    }
    // The timer stops before the message opens, so this tick cannot come round again behind it.
    showIdleButtons(form);
    form.Timer1->setInterval(0);
    form.state().skipNextTick = 1;
    services.messages->show(texts::CountAbovePool);
}

void 导入抽中名单(Form1& form) {
    recordPicks(form.state());
}

void removeDrawnNames(Form1& form) {
    takeDrawnNamesOut(form.state());
    showPool(form);
}

void showPool(Form1& form) {
    const DrawState& state = form.state();
    QStringList pool;
    pool.reserve(state.rosterCount);
    for (int i = 1; i <= state.rosterCount; ++i) {
        pool << state.roster(i);
    }
    QListWidget* list = form.List1[0];
    list->clear();
    list->addItems(pool);
    showPoolCount(form);
}

void showPoolCount(Form1& form) {
    form.Label3->setText(QString::number(form.state().rosterCount) + texts::PoolCountSuffix);
}

}  // namespace sortilo

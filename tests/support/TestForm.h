#pragma once

// The main window with the outside world replaced: messages and the desktop opener are recorded,
// the clock stands still, the random source has a fixed seed, the application folder is a fresh
// temporary folder. The spreadsheet service stays real.

#include "app/Form1.h"
#include "platform/XlsSpreadsheetService.h"

#include <QListWidget>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace sortilo::test {

struct RecordingMessageBox : MessageBox {
    QStringList shown;
    // Runs while the message is "open", e.g. to deliver timer ticks behind it.
    std::function<void(const QString&)> whileOpen;

    void show(const QString& text) override {
        shown << text;
        if (whileOpen) {
            whileOpen(text);
        }
    }
};

struct RecordingOpener : DesktopOpener {
    QStringList opened;
    bool open(const QString& path) override {
        opened << path;
        return true;
    }
};

struct FixedClock : Clock {
    double now = 10 * 3600.0;
    double timeOfDay() const override { return now; }
};

struct TestForm {
    QTemporaryDir folder;
    RecordingMessageBox* messages = nullptr;
    RecordingOpener* opener = nullptr;
    FixedClock* clock = nullptr;
    std::unique_ptr<Form1> form;

    DrawState& state() { return form->state(); }
};

// spreadsheets: how the window starts a spreadsheet instance; empty for tests that need none.
inline std::unique_ptr<TestForm> makeTestForm(
    uint64_t seed = 1,
    std::function<std::unique_ptr<SpreadsheetService>(TestForm&)> spreadsheets = {}) {
    auto t = std::make_unique<TestForm>();
    Services services;
    auto messages = std::make_unique<RecordingMessageBox>();
    auto opener = std::make_unique<RecordingOpener>();
    auto clock = std::make_unique<FixedClock>();
    t->messages = messages.get();
    t->opener = opener.get();
    t->clock = clock.get();
    services.messages = std::move(messages);
    services.opener = std::move(opener);
    services.clock = std::move(clock);
    services.random = std::make_unique<FoldingRandom>(seed);
    services.appFolder = t->folder.path();
    if (spreadsheets) {
        TestForm* raw = t.get();
        services.spreadsheets = [raw, spreadsheets] { return spreadsheets(*raw); };
    }
    t->form = std::make_unique<Form1>(std::move(services));
    return t;
}

// The texts of a list's entries, in order.
inline QStringList items(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->item(i)->text();
    }
    return texts;
}

// The names in the pool, in pool order.
inline QStringList poolOf(const DrawState& state) {
    QStringList names;
    for (int k = 1; k <= state.rosterCount; ++k) {
        names << state.roster(k);
    }
    return names;
}

// The real spreadsheet service on the test's application folder, showing through the fake opener.
inline std::unique_ptr<TestForm> makeTestFormWithWorkbooks(uint64_t seed = 1) {
    return makeTestForm(seed, [](TestForm& t) -> std::unique_ptr<SpreadsheetService> {
        return std::make_unique<XlsSpreadsheetService>(t.folder.path(), *t.opener);
    });
}

}  // namespace sortilo::test

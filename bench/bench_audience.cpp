#include "BenchWindow.h"
#include "draw/view/AudienceWindow.h"

#include <QApplication>

#include <benchmark/benchmark.h>

using namespace sortilo;
using bench::haveApplication;
using bench::names;
using bench::shownProgram;

namespace {

// The program with its audience window open at 1920 × 1080.
AudienceWindow* openAudience(Program& program) {
    program.window().toggleAudienceWindow();
    AudienceWindow* audience = program.window().audienceWindow();
    audience->resize(1920, 1080);
    return audience;
}

// One frame of the audience window at 1920 × 1080 after a group of 1000 names was recorded: the
// repaint a tick, an expose or a move to the projector costs (range 0), and a rolling tick's pick
// with its repaint once the next draw rolls (range 1).
void BM_AudienceFrame(benchmark::State& bench) {
    if (!haveApplication()) {
        bench.SkipWithError("no widget application");
        return;
    }
    auto program = shownProgram();
    DrawSession& session = program->session();
    AudienceWindow* audience = openAudience(*program);
    session.importRoster(names(2000, QStringLiteral("欧阳名字")));
    session.setKeepChoice(KeepChoice::Keep);
    session.setDrawCountText(QStringLiteral("1000"));
    session.pressStart();
    session.tick();
    session.tick();
    session.pressStop();
    QCoreApplication::processEvents();
    if (audience->groupNames().size() != 1000) {
        bench.SkipWithError("no group of 1000 shown");
        return;
    }
    const bool rolling = bench.range(0) == 1;
    if (rolling) {
        session.setDrawCountText(QStringLiteral("1"));
        session.pressStart();
    }
    for (auto _ : bench) {
        if (rolling) {
            session.tick();
        }
        audience->repaint();
    }
}
BENCHMARK(BM_AudienceFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The frame of a Stop: a group of 1000 names laid out and drawn at 1920 × 1080.
void BM_AudienceGroup(benchmark::State& bench) {
    if (!haveApplication()) {
        bench.SkipWithError("no widget application");
        return;
    }
    auto program = shownProgram();
    AudienceWindow* audience = openAudience(*program);
    const QStringList group = names(1000, QStringLiteral("欧阳名字"));
    QCoreApplication::processEvents();
    for (auto _ : bench) {
        Q_EMIT program->session().groupRecorded(1, QStringLiteral("第1组"), group);
        audience->repaint();
    }
}
BENCHMARK(BM_AudienceGroup)->Unit(benchmark::kMillisecond);

}  // namespace

// A restore of an events backup of 100 000 events, a third of them with a rule and an
// advance notice in the registry, through the backup wizard as the user runs it: the
// longest time the interface waited between the click and the closed wizard, and
// that time.
#include "GeneratedEvents.h"
#include "ViewTiming.h"
#include "core/DataEnvironment.h"
#include "core/SourceText.h"
#include "core/frmProcess.h"
#include "platform/Clock.h"
#include "platform/FileDialog.h"
#include "platform/MsgBox.h"
#include "support/Require.h"
#include "support/TestEnv.h"
#include "tools/BackupRestore.h"
#include "tools/frmBackUp.h"

#include <QPushButton>
#include <QRadioButton>

#include <benchmark/benchmark.h>

namespace {

void BM_RestoreEvents100k(benchmark::State& state)
{
    TestEnv env;
    env.PrepareUser();
    StoreEvents({.count = 100000, .category = s("Birthdays"), .rulesEvery = 3});
    Clock::SetFixed(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
    frmProcess& process = Forms::Get<frmProcess>();
    process.Timer1->stop();
    process.DateRefresh();
    const QString backup = env.Root() + s("/events.tssv");
    Require(BackUp(DataKind::Events, backup) == CopyOutcome::Done);
    MsgBoxScript::SetAutomatic(true);
    double longest = 0, total = 0;
    for (auto _ : state) {
        frmBackUp& wizard = Forms::Get<frmBackUp>();
        wizard.ShowModeless();
        wizard.Option1[1]->setChecked(true);
        FileDialog::PushResult(backup);
        const LoopGaps::Result gaps =
            LoopGaps::Run([&wizard] { wizard.cmdNext->click(); }, [] { return !Forms::IsLoaded<frmBackUp>(); });
        longest = std::max(longest, gaps.longest);
        total += gaps.total;
        state.SetIterationTime(gaps.total / 1000);
    }
    state.counters["longest_block_ms"] = longest;
    state.counters["events"] = process.ListView1.Count();
    MsgBoxScript::SetAutomatic(false);
    EndWindows();
    Clock::Reset();
}
BENCHMARK(BM_RestoreEvents100k)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

// The planner over 100 000 generated events of one category: from the main window's
// open to the first paint of the grid, then a scroll to the last row and a sort.
#include "GeneratedEvents.h"
#include "ViewTiming.h"
#include "core/DataEnvironment.h"
#include "core/FolderFileExists.h"
#include "core/SourceText.h"
#include "core/frmProcess.h"
#include "events/PlannerGridModel.h"
#include "events/frmOrg.h"
#include "mainwin/frmMain.h"
#include "support/Require.h"
#include "support/TestEnv.h"

#include <QListWidget>
#include <QScrollBar>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The harness's temporary folders with events of which every shown-th one is a
// birthday, the category the planner opens on; the windows end with them.
struct Folders {
    Folders(int events, int shown)
    {
        env.PrepareUser();
        StoreEvents({.count = events, .category = s("Meetings"), .birthdaysEvery = shown});
        Forms::Get<frmProcess>().DateRefresh();
    }
    ~Folders() { EndWindows(); }

    TestEnv env;
};

frmMain& mainWindowOnBirthdays()
{
    frmMain& main = Forms::Get<frmMain>();
    main.ShowModeless();
    const QList<QListWidgetItem*> items = main.ListView1->findItems(s("Birthdays"), Qt::MatchExactly);
    Require(!items.isEmpty());
    main.ListView1->setCurrentItem(items.first());
    QCoreApplication::processEvents();
    return main;
}

// From the main window's open to the grid's first paint; then the rows that follow
// while the window waits for the user: the time until all are in and the longest the
// interface waited meanwhile.
void BM_OpenPlanner(benchmark::State& state)
{
    Folders folders(100000, int(state.range(0)));
    double rest = 0, longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        frmMain& main = mainWindowOnBirthdays();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        main.ListView1_DblClick();
        Require(PumpUntilPainted(Forms::Get<frmOrg>().DataGrid1->viewport()));
        state.SetIterationTime(millisecondsSince(start) / 1000);
        state.PauseTiming();
        const LoopGaps::Result gaps = LoopGaps::Run({}, [] { return !DataEnvironment1().rsCommand3.Fetching(); });
        rest += gaps.total;
        longest = std::max(longest, gaps.longest);
        state.counters["rows"] = Forms::Get<frmOrg>().GridModel->rowCount();
        Forms::Get<frmOrg>().Toolbar1_ButtonClick(2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["rest_ms"] = rest / double(state.iterations());
    state.counters["longest_block_ms"] = longest;
}
BENCHMARK(BM_OpenPlanner)->Arg(1)->Arg(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// With the planner open on every row: the grid scrolled to its end, then sorted by
// title from the heading, each to its next paint.
void BM_PlannerScrollAndSort(benchmark::State& state)
{
    Folders folders(100000, 1);
    mainWindowOnBirthdays().ListView1_DblClick();
    frmOrg& planner = Forms::Get<frmOrg>();
    QTableView* grid = planner.DataGrid1;
    Require(PumpUntil([] { return !DataEnvironment1().rsCommand3.Fetching(); }));
    double scroll = 0, sort = 0;
    int column = 1;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        grid->verticalScrollBar()->setValue(0);
        grid->scrollToBottom();
        Require(PumpUntilPainted(grid->viewport()));
        scroll += millisecondsSince(start);
        state.counters["last_row_shown"] = grid->rowAt(grid->viewport()->height() - 2);
        start = std::chrono::steady_clock::now();
        planner.DataGrid1_HeadClick(column);
        column = 3 - column;
        Require(PumpUntilPainted(grid->viewport()));
        sort += millisecondsSince(start);
    }
    state.counters["scroll_ms"] = scroll / double(state.iterations());
    state.counters["sort_ms"] = sort / double(state.iterations());
}
BENCHMARK(BM_PlannerScrollAndSort)->Unit(benchmark::kMillisecond);

}  // namespace

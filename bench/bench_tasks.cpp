// The task list over 10 000 generated tasks: opening the window, a header sort, and
// marking, adding and deleting one task. Every write is one committed transaction,
// synced to the disk: run with TMPDIR on a memory file system (/dev/shm) to see the
// program's own cost apart from the disk's.
#include "HeapInUse.h"
#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/FolderFileExists.h"
#include "core/SourceText.h"
#include "core/frmProcess.h"
#include "platform/BoundGridModel.h"
#include "platform/Connection.h"
#include "platform/KnownFolders.h"
#include "platform/Recordset.h"
#include "platform/TrayIcon.h"
#include "support/Require.h"
#include "support/TestEnv.h"
#include "tools/frmBus.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTableView>

#include <benchmark/benchmark.h>

namespace {

// The test harness's temporary folders, with a generated task table.
class Folders {
public:
    explicit Folders(int tasks)
    {
        CopyDataTree(KnownFolders::InstallDataFolder());
        Connection db;
        Require(db.Open(KnownFolders::UserDataFolder() + s("/System/tesbus.db"), s("qk_lam")));
        Require(db.BeginTrans());
        const QDate start(2026, 1, 1);
        for (int i = 0; i < tasks; ++i) {
            Require(db.Execute(s("INSERT INTO tbl_Business (bsn_Date, bsn_Text, bsn_Status) VALUES (?, ?, ?)"),
                       {start.addDays(i % 700).toString(Qt::ISODate), s("Task number %1 to be done").arg(i),
                        i % 3 == 0}));
        }
        Require(db.CommitTrans());
        env.PrepareUser();
    }
    ~Folders()
    {
        for (Form* form : Forms::Loaded())
            delete form;
        TrayIcon::ResetForTests();
    }

    TestEnv env;
};

frmBus& shownList()
{
    frmBus& list = Forms::Get<frmBus>();
    list.show();
    return list;
}

void BM_OpenTaskList10k(benchmark::State& state)
{
    Folders folders(10000);
    double memory = 0;
    for (auto _ : state) {
        const double before = heapMegabytes();
        frmBus& list = shownList();
        QCoreApplication::processEvents();
        memory = heapMegabytes() - before;
        benchmark::DoNotOptimize(list.GridModel->rowCount());
        state.PauseTiming();
        delete &list;
        Require(CloseIfOpen(DataEnvironment1().rstbl_Business));
        state.ResumeTiming();
    }
    state.counters["memory_MB"] = memory;
}
BENCHMARK(BM_OpenTaskList10k)->Unit(benchmark::kMillisecond);

void BM_HeaderSort10k(benchmark::State& state)
{
    Folders folders(10000);
    frmBus& list = shownList();
    int column = 0;
    for (auto _ : state) {
        list.DataGrid1_HeadClick(column++ % 3);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_HeaderSort10k)->Unit(benchmark::kMillisecond);

void BM_DoneAndNotDone10k(benchmark::State& state)
{
    Folders folders(10000);
    frmBus& list = shownList();
    list.DataGrid1->selectRow(5000);
    bool done = true;
    for (auto _ : state) {
        list.SetTaskStatus(done);
        done = !done;
    }
}
BENCHMARK(BM_DoneAndNotDone10k)->Unit(benchmark::kMillisecond);

void BM_AddTask10k(benchmark::State& state)
{
    Folders folders(10000);
    frmBus& list = shownList();
    for (auto _ : state) {
        list.Text1->setText(s("A new task"));
        list.AddTask();
    }
}
BENCHMARK(BM_AddTask10k)->Unit(benchmark::kMillisecond);

void BM_DeleteTask10k(benchmark::State& state)
{
    Folders folders(10000);
    frmBus& list = shownList();
    list.DataGrid1->selectRow(5000);
    for (auto _ : state)
        list.DeleteTask();
}
BENCHMARK(BM_DeleteTask10k)->Unit(benchmark::kMillisecond)->Iterations(2000);

}  // namespace

// The dispatcher over generated data: the event-list refresh and an idle tick with
// 100 000 events, and the whole start-up to the tray icon with 10 000 events.
#include "HeapInUse.h"
#include "core/DataEnvironment.h"
#include "core/FolderFileExists.h"
#include "core/frmProcess.h"
#include "mainwin/frmMain.h"
#include "platform/Clock.h"
#include "platform/Connection.h"
#include "platform/KnownFolders.h"
#include "platform/TrayIcon.h"
#include "support/Require.h"
#include "support/TestEnv.h"
#include "StepRaw.h"

#include <QFile>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

double residentMegabytes()
{
    QFile statm(s("/proc/self/statm"));
    statm.open(QIODevice::ReadOnly);
    const QList<QByteArray> pages = statm.readAll().split(' ');
    return pages.size() > 1 ? pages[1].toDouble() * 4096 / (1024.0 * 1024.0) : 0;
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The test harness's temporary folders, with a generated events table.
class Folders {
public:
    explicit Folders(int events)
    {
        CopyDataTree(KnownFolders::InstallDataFolder());
        Connection db;
        Require(db.Open(KnownFolders::UserDataFolder() + s("/System/tesryn.db"), s("qk_mirtolven")));
        Require(db.BeginTrans());
        const QDate start(2027, 1, 1);
        for (int i = 0; i < events; ++i) {
            Require(db.Execute(s("INSERT INTO lst_Dates (Measure_Name, Step_Name, Step_Date, Step_Time, Step_Notes, "
                         "Step_Rep) VALUES (?, ?, ?, ?, ?, 0)"),
                       {i % 3 ? s("Birthdays") : s("Work"), s("Event %1").arg(i),
                        start.addDays(i % 3000).toString(Qt::ISODate),
                        QStringLiteral("%1:%2").arg(i % 24, 2, 10, QLatin1Char('0')).arg(i % 60, 2, 10, QLatin1Char('0')),
                        i % 5 ? QVariant() : QVariant(s("note"))}));
        }
        Require(db.CommitTrans());
    }

    TestEnv env;
};

frmProcess& dispatcherWithoutStartUp(Folders& folders)
{
    folders.env.PrepareUser();
    frmProcess& process = Forms::Get<frmProcess>();
    process.BuiltInMeasure1 = s("Birthdays");
    return process;
}

void dropWindows()
{
    for (Form* form : Forms::Loaded())
        delete form;
    TrayIcon::ResetForTests();
}

void BM_DateRefresh100k(benchmark::State& state)
{
    Folders folders(100000);
    frmProcess& process = dispatcherWithoutStartUp(folders);
    process.DateRefresh();  // the first refresh also loads the main window
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        process.DateRefresh();
    const double refresh = millisecondsSince(start) / double(state.iterations());
    start = std::chrono::steady_clock::now();
    for (benchmark::IterationCount i = 0; i < state.iterations(); ++i)
        benchmark::DoNotOptimize(stepRaw(DataEnvironment1().Connection1.Handle(),
                                         "SELECT Measure_Name, Step_Name, Step_Date, Step_Time, Step_Notes, "
                                         "Step_Rep, Step_Numeric FROM lst_Dates ORDER BY Step_Numeric"));
    const double floor = millisecondsSince(start) / double(state.iterations());
    state.counters["rows"] = process.ListView1.Count();
    state.counters["resident_MB"] = residentMegabytes();
    const double heapWithList = heapMegabytes();
    process.ListView1.Clear();
    state.counters["list_heap_MB"] = heapWithList - heapMegabytes();
    state.counters["floor_ms"] = floor;
    state.counters["x_floor"] = refresh / floor;
    dropWindows();
}
BENCHMARK(BM_DateRefresh100k)->Unit(benchmark::kMillisecond);

void BM_IdleTick100k(benchmark::State& state)
{
    Folders folders(100000);
    frmProcess& process = dispatcherWithoutStartUp(folders);
    process.DateRefresh();
    Clock::SetFixed(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
    process.LastWeatherUpdate = Clock::Now();
    process.Timer1->stop();
    for (auto _ : state)
        process.Timer1_Timer();
    Clock::Reset();
    dropWindows();
}
BENCHMARK(BM_IdleTick100k)->Unit(benchmark::kMicrosecond);

void BM_StartUpToTrayIcon10k(benchmark::State& state)
{
    Folders folders(10000);
    // Not one of the update-check days, so no download is tried.
    Clock::SetFixed(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
    for (auto _ : state) {
        frmProcess& process = Forms::Get<frmProcess>();
        benchmark::DoNotOptimize(process.ListView1.Count());
        state.PauseTiming();
        dropWindows();
        EndDataEnvironment();
        state.ResumeTiming();
    }
    Clock::Reset();
}
BENCHMARK(BM_StartUpToTrayIcon10k)->Unit(benchmark::kMillisecond);

}  // namespace

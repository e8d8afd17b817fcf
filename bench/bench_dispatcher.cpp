// The dispatcher over generated data: the event-list refresh, the start's read on its
// worker thread and an idle tick with 100 000 events, the whole start-up to the tray
// icon with 10 000 events, and each action that writes events, through its window's
// own routines, over 100 and 100 000 events.
#include "EventTable.h"
#include "HeapInUse.h"
#include "StepRaw.h"
#include "core/DataEnvironment.h"
#include "core/EventRows.h"
#include "core/FolderFileExists.h"
#include "core/SourceText.h"
#include "core/frmProcess.h"
#include "events/PlannerGridModel.h"
#include "events/frmCaseMsr.h"
#include "events/frmOrg.h"
#include "events/frmWindow.h"
#include "mainwin/frmIconAdd.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmMainPopUp.h"
#include "phonebook/frmCntAdd.h"
#include "platform/Clock.h"
#include "platform/Connection.h"
#include "platform/DateField.h"
#include "platform/KnownFolders.h"
#include "platform/MsgBox.h"
#include "platform/TrayIcon.h"
#include "platform/WindowEffects.h"
#include "support/Require.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>

namespace {

double residentMegabytes()
{
    QFile statm(s("/proc/self/statm"));
    statm.open(QIODevice::ReadOnly);
    const QList<QByteArray> pages = statm.readAll().split(' ');
    return pages.size() > 1 ? pages[1].toDouble() * 4096 / (1024.0 * 1024.0) : 0;
}

// The test harness's temporary folders, with a generated events table: the events
// spread over days from start.
class Folders {
public:
    explicit Folders(int events, const QDate& start = QDate(2027, 1, 1), int days = 3000)
    {
        CopyDataTree(KnownFolders::InstallDataFolder());
        Connection db;
        Require(db.Open(KnownFolders::UserDataFolder() + s("/System/tesryn.db"), s("qk_mirtolven")));
        Require(db.BeginTrans());
        for (int i = 0; i < events; ++i) {
            Require(db.Execute(s("INSERT INTO lst_Dates (Measure_Name, Step_Name, Step_Date, Step_Time, Step_Notes, "
                         "Step_Rep) VALUES (?, ?, ?, ?, ?, 0)"),
                       {i % 3 ? s("Birthdays") : s("Work"), s("Event %1").arg(i),
                        start.addDays(i % days).toString(Qt::ISODate),
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
    const double refresh = MillisecondsSince(start) / double(state.iterations());
    start = std::chrono::steady_clock::now();
    for (benchmark::IterationCount i = 0; i < state.iterations(); ++i)
        benchmark::DoNotOptimize(stepRaw(DataEnvironment1().Connection1.Handle(),
                                         "SELECT Measure_Name, Step_Name, Step_Date, Step_Time, Step_Notes, "
                                         "Step_Rep, Step_Numeric FROM lst_Dates ORDER BY Step_Numeric"));
    const double floor = MillisecondsSince(start) / double(state.iterations());
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

// The start's read: every row on a connection of its own on a worker thread, until
// the interface thread has them.
void BM_StartRead100k(benchmark::State& state)
{
    Folders folders(100000);
    dispatcherWithoutStartUp(folders);
    const QString connection = DataEnvironment1().Connection1.ConnectionString();
    qint64 rows = 0;
    for (auto _ : state) {
        DispatcherRows read;
        EventRowsReader reader(connection);
        reader.Start(qApp, [] {});
        Require(reader.Take(&read));
        rows = read.Size();
    }
    state.counters["rows"] = double(rows);
    dropWindows();
}
BENCHMARK(BM_StartRead100k)->Unit(benchmark::kMillisecond);

// The calendar's colours and day tooltips of a month holding 8 300 events, as the
// start's profile of 100 000 events over a year has them: what follows the list at
// start before the colours are up.
void BM_MonthColours8k(benchmark::State& state)
{
    const QDate today = QDate::currentDate();
    Folders folders(8300, QDate(today.year(), today.month(), 1), 28);
    dispatcherWithoutStartUp(folders).DateRefresh();
    frmMain& main = Forms::Get<frmMain>();
    for (auto _ : state) {
        main.ColorDates();
        main.SetBaloons();
    }
    dropWindows();
}
BENCHMARK(BM_MonthColours8k)->Unit(benchmark::kMillisecond);

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

// The start with "-fw" and 100 000 events over the coming year (the month shown holds
// some 6 000): from the end of the start, the main window shown, to the list in, the
// earliest event and the nearest event set and the day colours drawn.
void BM_StartShownToColours100k(benchmark::State& state)
{
    Clock::SetFixed(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
    Folders folders(100000, QDate(2026, 12, 10), 365);
    SetCommandLine(s("-fw"));
    for (auto _ : state) {
        frmProcess& process = Forms::Get<frmProcess>();
        const auto shown = std::chrono::steady_clock::now();
        while (process.Refreshing())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        state.SetIterationTime(MillisecondsSince(shown) / 1000);
        Require(process.NextDue.item > 0 && Forms::Get<frmMain>().isVisible());
        state.PauseTiming();
        dropWindows();
        EndDataEnvironment();
        state.ResumeTiming();
    }
    SetCommandLine(QString());
    Clock::Reset();
}
BENCHMARK(BM_StartShownToColours100k)->UseManualTime()->Unit(benchmark::kMillisecond);

// One user action: prepare, untimed, sets its window up; act does what the user's
// click does, with the refresh of the list that follows it, and is timed.
struct Action {
    std::function<void()> prepare;
    std::function<void()> act;
};

// One untimed round first, so that no round pays for what the first use loads.
void runAction(benchmark::State& state, const Action& action)
{
    auto round = [&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        MsgBoxScript::Clear();
        if (action.prepare)
            action.prepare();
        const auto start = std::chrono::steady_clock::now();
        action.act();
        return MillisecondsSince(start);
    };
    round();
    for (auto _ : state)
        state.SetIterationTime(round() / 1000);
}

frmOrg& plannerOn(const QString& shownName)
{
    if (frmOrg* planner = Forms::Find<frmOrg>())
        return *planner;
    frmMain& main = Forms::Get<frmMain>();
    main.ListView1->setCurrentItem(main.ListView1->findItems(shownName, Qt::MatchExactly).value(0));
    main.ListView1_DblClick();
    return Forms::Get<frmOrg>();
}

void selectCategory(const QString& shownName)
{
    frmMain& main = Forms::Get<frmMain>();
    main.ListView1->setCurrentItem(main.ListView1->findItems(shownName, Qt::MatchExactly).value(0));
}

// The reminder of the earliest event (every event is due), up as the dispatcher's
// tick brings it.
frmWindow& dueReminder()
{
    frmProcess& process = Forms::Get<frmProcess>();
    process.Timer1_Timer();
    frmWindow* window = Forms::Find<frmWindow>();
    Require(window && window->isVisible());
    return *window;
}

void BM_PlannerCellEdit(benchmark::State& state)
{
    BenchEventTable table(int(state.range(0)));
    int round = 0;
    runAction(state, {nullptr, [&] {
                          PlannerGridModel* model = plannerOn(QStringLiteral("Work")).GridModel;
                          model->setData(model->index(0, 1), QStringLiteral("Title %1").arg(++round), Qt::EditRole);
                      }});
}

void BM_PlannerDelete(benchmark::State& state)
{
    BenchEventTable table(int(state.range(0)));
    runAction(state, {[] {
                          frmOrg& planner = plannerOn(QStringLiteral("Work"));
                          planner.DataGrid1->setCurrentIndex(planner.GridModel->index(0, 1));
                          MsgBoxScript::Push(vbYes);
                      },
                      [] { plannerOn(QStringLiteral("Work")).DeleteEvent(); }});
}

void BM_ReminderClose(benchmark::State& state)
{
    BenchEventTable table(int(state.range(0)));
    FormTransparent::SetOpacitySupportedForTests(true);
    frmWindow* window = nullptr;
    runAction(state, {[&] { window = &dueReminder(); }, [&] { window->close(); }});
    FormTransparent::SetOpacitySupportedForTests(std::nullopt);
}

void BM_ReminderSnooze(benchmark::State& state)
{
    BenchEventTable table(int(state.range(0)));
    FormTransparent::SetOpacitySupportedForTests(true);
    frmWindow* window = nullptr;
    runAction(state, {[&] { window = &dueReminder(); }, [&] { window->Command1_Click(0); }});
    FormTransparent::SetOpacitySupportedForTests(std::nullopt);
}

// The card's reminder is listed at the next refresh, which the time includes.
void BM_BirthdayReminder(benchmark::State& state)
{
    BenchEventTable table(int(state.range(0)));
    runAction(state, {[] {
                          MsgBoxScript::Push(vbOK);
                          frmCntAdd& card = Forms::Get<frmCntAdd>();
                          card.Text1Name->setText(QStringLiteral("Petrova"));
                          card.Text2Name->setText(QStringLiteral("Anna"));
                          card.Check1->setChecked(true);
                          card.TextDate->setDate(QDate(1980, 3, 10));
                      },
                      [] {
                          Forms::Get<frmCntAdd>().Command1_Click();
                          Forms::Get<frmProcess>().DateRefreshChanged();
                      }});
}

void BM_ContactDateReminder(benchmark::State& state)
{
    BenchEventTable table(int(state.range(0)));
    runAction(state, {[] {
                          MsgBoxScript::Push(vbOK);
                          frmCaseMsr& dialog = Forms::Get<frmCaseMsr>();
                          dialog.Surname = QStringLiteral("Ivanov");
                          dialog.GivenName = QStringLiteral("Ivan");
                          dialog.Anniversary = QDate(2027, 6, 1);
                      },
                      [] {
                          Forms::Get<frmCaseMsr>().Command1_Click();
                          Forms::Get<frmProcess>().DateRefreshChanged();
                      }});
}

// A user category of ten events renamed, to and fro; the editor's Apply is timed.
void BM_CategoryRename(benchmark::State& state)
{
    BenchEventTable table(int(state.range(0)));
    bool back = false;
    for (auto _ : state) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        selectCategory(back ? QStringLiteral("Games") : QStringLiteral("Sport"));
        double ms = 0;
        QTimer::singleShot(0, qApp, [&] {
            frmIconAdd& editor = Forms::Get<frmIconAdd>();
            editor.Text1->setText(back ? QStringLiteral("Sport") : QStringLiteral("Games"));
            const auto start = std::chrono::steady_clock::now();
            editor.Command2_Click();
            ms = MillisecondsSince(start);
        });
        Forms::Get<frmMainPopUp>().mnuOptions_Click();
        Forms::Unload<frmMainPopUp>();
        state.SetIterationTime(ms / 1000);
        back = !back;
    }
}

// A category made for each round and deleted from the category menu.
void BM_CategoryDelete(benchmark::State& state)
{
    BenchEventTable table(int(state.range(0)));
    int round = 0;
    runAction(state, {[&] {
                          const QString name = QStringLiteral("Spare %1").arg(++round);
                          AddBenchCategory(DataEnvironment1().Connection1, name);
                          Forms::Get<frmMain>().AddCategoryRow(name, QIcon(), name);
                          selectCategory(name);
                          MsgBoxScript::Push(vbYes);
                      },
                      [] { Forms::Get<frmMainPopUp>().mnuDelete_Click(); }});
}

// The table of 100 holds 110 events, enough for the rounds that delete or fire one
// each.
EVENT_ACTION_OVER_TABLES(BM_PlannerCellEdit);
EVENT_ACTION_OVER_TABLES(BM_PlannerDelete)->Iterations(20);
EVENT_ACTION_OVER_TABLES(BM_ReminderClose)->Iterations(20);
EVENT_ACTION_OVER_TABLES(BM_ReminderSnooze)->Iterations(20);
EVENT_ACTION_OVER_TABLES(BM_BirthdayReminder);
EVENT_ACTION_OVER_TABLES(BM_ContactDateReminder);
EVENT_ACTION_OVER_TABLES(BM_CategoryRename);
EVENT_ACTION_OVER_TABLES(BM_CategoryDelete);

}  // namespace

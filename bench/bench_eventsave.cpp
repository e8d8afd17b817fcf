// The event editor over 100 and over 100 000 stored events, each holding its rule and
// advance entries: the save of a new event with a weekly rule and an advance notice
// as OK runs it before the event-list refresh, with the planner closed, beside the
// floor of one SQLite insert in one transaction on the same file; and the whole of
// each of the editor's buttons (OK, Add, OK on a planner row), the refresh included.
#include "EventTable.h"
#include "events/frmMesAdd.h"
#include "events/frmOrg.h"
#include "platform/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include "platform/DateField.h"
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

frmMesAdd& editorForANewEvent()
{
    frmMesAdd& editor = Forms::Get<frmMesAdd>();
    editor.SetCategory(QStringLiteral("Work"), QStringLiteral("Work"));
    editor.Text1->setText(QStringLiteral("Dentist"));
    editor.DTPicker1->setDate(QDate(2027, 6, 1));
    editor.Check1->setChecked(true);
    editor.DTPicker2->setTime(QTime(10, 0));
    editor.Option2->setChecked(true);
    SelectEntry(editor.Combo1, 1);
    editor.Check3->setChecked(true);
    SelectEntry(editor.Combo2, 2);
    return editor;
}

qint64 floorInsert(sqlite3* db)
{
    sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    sqlite3_exec(db,
                 "INSERT INTO lst_Dates (Measure_Name, Step_Name, Step_Date, Step_Time, Step_Rep) "
                 "VALUES ('Work', 'Floor', '2027-06-01', '09:50', 0)",
                 nullptr, nullptr, nullptr);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return sqlite3_last_insert_rowid(db);
}

void BM_SaveEventWithRuleAndAdvance(benchmark::State& state)
{
    BenchEventTable table(int(state.range(0)));
    frmMesAdd& editor = editorForANewEvent();
    sqlite3* db = DataEnvironment1().Connection1.Handle();
    // Save and floor take turns, so that both meet the disk in the same state.
    bool saved = true;
    double save = 0;
    double floor = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        saved = editor.SaveNewEvent(PastThreshold::TwoMinutes) && saved;
        const double once = MillisecondsSince(start);
        save += once;
        state.SetIterationTime(once / 1000);
        start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(floorInsert(db));
        floor += MillisecondsSince(start);
    }
    if (!saved)
        state.SkipWithError("a save failed");
    floor /= double(state.iterations());
    save /= double(state.iterations());
    state.counters["floor_ms"] = floor;
    state.counters["x_floor"] = save / floor;
}
BENCHMARK(BM_SaveEventWithRuleAndAdvance)->Arg(100)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

// OK (new) and Add, each on a fresh editor; the click is timed.
void newEventButton(benchmark::State& state, void (frmMesAdd::*button)())
{
    BenchEventTable table(int(state.range(0)));
    for (auto _ : state) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frmMesAdd& editor = editorForANewEvent();
        const auto start = std::chrono::steady_clock::now();
        (editor.*button)();
        state.SetIterationTime(MillisecondsSince(start) / 1000);
        Forms::Unload<frmMesAdd>();
    }
}

void BM_EditorOk(benchmark::State& state) { newEventButton(state, &frmMesAdd::Command0_Click); }
void BM_EditorAdd(benchmark::State& state) { newEventButton(state, &frmMesAdd::Command2_Click); }

// The planner's Edit on its first row, and the editor's OK on it, timed.
void BM_EditorOkOnPlannerRow(benchmark::State& state)
{
    BenchEventTable table(int(state.range(0)));
    frmMain& main = Forms::Get<frmMain>();
    main.ListView1->setCurrentItem(main.ListView1->findItems(QStringLiteral("Work"), Qt::MatchExactly).value(0));
    main.ListView1_DblClick();
    frmOrg& planner = Forms::Get<frmOrg>();
    int round = 0;
    for (auto _ : state) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        double ms = 0;
        QTimer::singleShot(0, qApp, [&] {
            frmMesAdd& editor = Forms::Get<frmMesAdd>();
            editor.Text1->setText(QStringLiteral("Edited %1").arg(++round));
            editor.DTPicker1->setDate(QDate(2027, 6, 1));
            const auto start = std::chrono::steady_clock::now();
            editor.Command3_Click();
            ms = MillisecondsSince(start);
        });
        planner.EditEvent();
        state.SetIterationTime(ms / 1000);
    }
}

EVENT_ACTION_OVER_TABLES(BM_EditorOk);
EVENT_ACTION_OVER_TABLES(BM_EditorAdd);
EVENT_ACTION_OVER_TABLES(BM_EditorOkOnPlannerRow);

}  // namespace

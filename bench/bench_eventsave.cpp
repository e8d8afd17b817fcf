// The event editor's save of a new event with a weekly rule and an advance notice,
// as OK runs it before the event-list refresh, with the planner closed: over 100 and
// over 100 000 stored events, each holding its rule and advance entries, beside the
// floor of one SQLite insert in one transaction on the same file.
#include "GeneratedEvents.h"
#include "core/DataEnvironment.h"
#include "core/FolderFileExists.h"
#include "core/RegData.h"
#include "core/frmProcess.h"
#include "events/frmMesAdd.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/DateField.h"
#include "platform/KnownFolders.h"
#include "support/Require.h"
#include "support/TestEnv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimeEdit>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

frmMesAdd& editorForANewEvent()
{
    frmMesAdd& editor = Forms::Get<frmMesAdd>();
    editor.SetCategory(s("Work"), s("Work"));
    editor.Text1->setText(s("Dentist"));
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
    TestEnv env;
    env.PrepareUser();
    // Events of a week's rule, shown ten minutes ahead.
    StoreEvents({.count = int(state.range(0)), .category = s("Work"), .rulesEvery = 1});
    Clock::SetFixed(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
    // The running program holds every event in its list, which the duplicate-title
    // test looks through.
    Forms::Get<frmProcess>().DateRefresh();
    frmMesAdd& editor = editorForANewEvent();
    sqlite3* db = DataEnvironment1().Connection1.Handle();
    // Save and floor take turns, so that both meet the disk in the same state.
    bool saved = true;
    double save = 0;
    double floor = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        saved = editor.SaveNewEvent(PastThreshold::TwoMinutes) && saved;
        const double once = millisecondsSince(start);
        save += once;
        state.SetIterationTime(once / 1000);
        start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(floorInsert(db));
        floor += millisecondsSince(start);
    }
    if (!saved)
        state.SkipWithError("a save failed");
    floor /= double(state.iterations());
    save /= double(state.iterations());
    state.counters["floor_ms"] = floor;
    state.counters["x_floor"] = save / floor;
    for (Form* form : Forms::Loaded())
        delete form;
    Clock::Reset();
}
BENCHMARK(BM_SaveEventWithRuleAndAdvance)->Arg(100)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

#pragma once

// The events table of the action benchmarks: a given number of events over the
// eight years before the clock's day (all of them due, none in the month the
// calendar shows), two in three of the first built-in category, the others of the
// user category "Work" with its weekly rule, each with a rule and an advance notice
// of its own, and ten more of "Sport", the category the benchmarks rename. The
// figures of one action over 100 and 100 000 events then differ by the table's size
// alone.

#include "GeneratedEvents.h"
#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Options.h"
#include "core/RegData.h"
#include "core/frmProcess.h"
#include "mainwin/MeasureRecord.h"
#include "mainwin/frmMain.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"
#include "support/Require.h"
#include "support/TestEnv.h"

#include <QTimer>

#include <chrono>

inline double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline void AddBenchCategory(Connection& db, const QString& name)
{
    const QString icon = CategoryIconPath(name);
    Require(FileSystem::CopyAtomic(TestEnv::BuildShare() + QStringLiteral("/Icons/Work.ico"), icon));
    Require(db.Execute(QStringLiteral("INSERT INTO lst_Measures (Measure_Name, LVIcon_Path) VALUES (?, ?)"),
                       {name, icon}));
}

inline void StoreBenchEvents(int count)
{
    Connection db;
    Require(db.Open(KnownFolders::UserDataFolder() + QStringLiteral("/System/tesryn.db"),
                    QStringLiteral("qk_mirtolven")));
    Require(db.BeginTrans());
    AddBenchCategory(db, QStringLiteral("Work"));
    AddBenchCategory(db, QStringLiteral("Sport"));
    const QString measures = ProgramKey() + QStringLiteral("Measures\\Work\\");
    Require(db.Execute(QStringLiteral("INSERT INTO registry (path, value) VALUES (?, 'w'), (?, '1')"),
                       {measures + QStringLiteral("NextType"), measures + QStringLiteral("NextInterval")}));
    const QDate start(2018, 12, 5);
    for (int i = 0; i < count + 10; ++i) {
        const QString category = i >= count ? QStringLiteral("Sport")
                                 : i % 3  ? QStringLiteral("Birthdays")
                                          : QStringLiteral("Work");
        QList<QVariantList> added;
        Require(db.Query(QStringLiteral("INSERT INTO lst_Dates (Measure_Name, Step_Name, Step_Date, Step_Time, "
                                        "Step_Notes, Step_Rep) VALUES (?, ?, ?, '09:50', ?, 0) RETURNING Step_Numeric"),
                         {category, QStringLiteral("Event %1").arg(i), start.addDays(7 * (i % 400)),
                          i % 5 ? QVariant() : QVariant(QStringLiteral("note"))},
                         &added));
        StoreWeeklyRuleAndNotice(db, added.value(0).value(0).toString());
    }
    Require(db.CommitTrans());
}

// A prepared user with the table, the dispatcher's list read and the main window up,
// the clock on a Wednesday before every event, no sound and no ticks of its own.
class BenchEventTable {
public:
    explicit BenchEventTable(int events)
    {
        env.PrepareUser();
        StoreBenchEvents(events);
        Clock::SetFixed(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
        Require(WriteOption(QStringLiteral("RemWindow"), QStringLiteral("musicpath"), QString()));
        frmProcess& process = Forms::Get<frmProcess>();
        process.Timer1->stop();
        process.DateRefresh();
        Forms::Get<frmMain>().ShowModeless();
    }
    ~BenchEventTable()
    {
        for (Form* form : Forms::Loaded())
            delete form;
        EndDataEnvironment();
        Clock::Reset();
    }

    TestEnv env;
};

// An action's figure over the table of 100 and of 100 000 events: the median of five
// runs of wall time, the disk's syncs included.
#define EVENT_ACTION_OVER_TABLES(name)                                                                 \
    BENCHMARK(name)->Arg(100)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(5) \
        ->ReportAggregatesOnly(true)

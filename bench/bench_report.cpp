// The report wizard over 10 000 contacts with every column filled and all 30 ticked:
// Next on the column page to the written "tsreport.html", built between the wizard's
// events. Beside the time: the
// process's resident size before the report, and its peak while the report runs
// (the peak is reset first), which bounds the heap the report needs. And the events
// report of 100 000 events with its columns as ticked at start: the longest time the
// interface waited between the click and the opened page.
#include "GeneratedEvents.h"
#include "ViewTiming.h"
#include "core/DataEnvironment.h"
#include "core/SourceText.h"
#include "core/frmProcess.h"
#include "platform/Connection.h"
#include "platform/KnownFolders.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "support/Require.h"
#include "support/TestEnv.h"
#include "tools/ReportHtml.h"
#include "tools/frmReports.h"

#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

void fillContacts(int contacts)
{
    Connection db;
    Require(db.Open(KnownFolders::UserDataFolder() + s("/System/tesphn.db"), s("kettle_mirtolven")));
    QList<QVariantList> columns;
    Require(db.Query(s("SELECT name, type FROM pragma_table_info('tbl_Phones') WHERE name <> 'ID'"), {}, &columns));
    QStringList names, marks;
    for (const QVariantList& column : columns) {
        names.append(column[0].toString());
        marks.append(s("?"));
    }
    const QString insert =
        s("INSERT INTO tbl_Phones (") + names.join(s(", ")) + s(") VALUES (") + marks.join(s(", ")) + s(")");
    Require(db.BeginTrans());
    for (int i = 0; i < contacts; ++i) {
        QVariantList values;
        for (const QVariantList& column : columns) {
            const bool date = column[1].toString() == s("DATE");
            values.append(date ? QVariant(s("1980-05-%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0')))
                               : QVariant(column[0].toString().left(12) + s(" Иванов %1").arg(i)));
        }
        Require(db.Execute(insert, values));
    }
    Require(db.CommitTrans());
}

// A size line of /proc/self/status ("VmRSS:", "VmHWM:") in MiB.
double statusMegabytes(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == key) {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024.0;
        }
    }
    return 0;
}

void BM_ContactsReport10k(benchmark::State& state)
{
    TestEnv env;
    env.PrepareUser();
    fillContacts(10000);
    Shell::SetRecording(true);
    frmReports& wizard = Forms::Get<frmReports>();
    wizard.Option1[2]->setChecked(true);
    wizard.cmdNext->click();
    for (int row = 0; row < wizard.List1->count(); ++row)
        wizard.List1->item(row)->setCheckState(Qt::Checked);
    const double before = statusMegabytes("VmRSS:");
    std::ofstream("/proc/self/clear_refs") << "5";
    for (auto _ : state) {
        wizard.cmdNext->click();
        Require(PumpUntil([&wizard] { return !wizard.Building(); }));
    }
    state.counters["rss_before_MB"] = before;
    state.counters["peak_rss_MB"] = statusMegabytes("VmHWM:");
    state.counters["page_MB"] = static_cast<double>(QFileInfo(ReportFilePath()).size()) / (1024.0 * 1024.0);
    for (Form* form : Forms::Loaded())
        delete form;
    EndDataEnvironment();
}
BENCHMARK(BM_ContactsReport10k)->Unit(benchmark::kMillisecond);

void BM_EventsReport100k(benchmark::State& state)
{
    TestEnv env;
    env.PrepareUser();
    StoreEvents({.count = 100000, .category = s("Work"), .birthdaysEvery = 2});
    Forms::Get<frmProcess>().BuiltInMeasure1 = s("Birthdays");
    Shell::SetRecording(true);
    frmReports& wizard = Forms::Get<frmReports>();
    wizard.ShowModeless();
    wizard.Option1[0]->setChecked(true);
    wizard.cmdNext->click();
    double longest = 0;
    for (auto _ : state) {
        const qsizetype opened = Shell::Opened().size();
        const LoopGaps::Result gaps = LoopGaps::Run([&wizard] { wizard.cmdNext->click(); },
                                                    [opened] { return Shell::Opened().size() > opened; });
        longest = std::max(longest, gaps.longest);
        state.SetIterationTime(gaps.total / 1000);
    }
    state.counters["longest_block_ms"] = longest;
    state.counters["page_MB"] = static_cast<double>(QFileInfo(ReportFilePath()).size()) / (1024.0 * 1024.0);
    for (Form* form : Forms::Loaded())
        delete form;
    EndDataEnvironment();
}
BENCHMARK(BM_EventsReport100k)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

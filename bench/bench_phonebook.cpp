// The phone book over 10 000 and 50 000 generated contacts with every column the
// program writes filled: opening the window (to its grid's first paint), a search as
// the user types it, and the heap that the open phone book holds.
#include "HeapInUse.h"
#include "ViewTiming.h"
#include "core/DataEnvironment.h"
#include "core/SourceText.h"
#include "core/frmProcess.h"
#include "phonebook/ContactGridModel.h"
#include "phonebook/ContactRecord.h"
#include "phonebook/frmCntSearch.h"
#include "phonebook/frmPhones.h"
#include "platform/Connection.h"
#include "platform/KnownFolders.h"
#include "platform/TrayIcon.h"
#include "support/Require.h"
#include "support/TestEnv.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>

#include <benchmark/benchmark.h>

namespace {

// The test harness's temporary folders, with the generated contacts.
class Folders {
public:
    explicit Folders(int contacts = 10000)
    {
        env.PrepareUser();
        static const char* const surnames[] = {"Ivanov", "Petrova", "Smith", "O'Brien", "Sidorov",
                                               "Brown",  "Kuznetsov", "Miller", "Orlova", "Adams"};
        QStringList names;
        for (int ordinal = 0; ordinal <= Contact::Personal_MEMO; ++ordinal)
            names.append(Contact::FieldName(ordinal));
        const QString insert = s("INSERT INTO tbl_Phones (%1) VALUES (%2)")
                                   .arg(names.join(s(", ")), QStringList(names.size(), s("?")).join(s(", ")));
        Connection db;
        Require(db.Open(KnownFolders::UserDataFolder() + s("/System/tesphn.db"), s("kettle_mirtolven")));
        Require(db.BeginTrans());
        for (int i = 0; i < contacts; ++i) {
            QVariantList values;
            for (int ordinal = 0; ordinal <= Contact::Personal_MEMO; ++ordinal)
                values.append(s("%1 %2").arg(Contact::FieldName(ordinal)).arg(i));
            values[Contact::Groupe_Name] = s("General");
            values[Contact::Second_Name] = s("%1 %2").arg(s(surnames[i % 10])).arg(i);
            values[Contact::Home_Mobile_Reserve] = QVariant();
            values[Contact::Personal_Date] = QDate(1950, 1, 1).addDays(i).toString(Qt::ISODate);
            values[Contact::Personal_StatusDate] = QDate(1990, 1, 1).addDays(i).toString(Qt::ISODate);
            Require(db.Execute(insert, values));
        }
        Require(db.CommitTrans());
    }

    TestEnv env;
};

void dropWindows()
{
    for (Form* form : Forms::Loaded()) {
        if (form->objectName() != QLatin1String("frmProcess"))
            Forms::Unload(form, UnloadMode::ControlMenu);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// From the main window's button to the grid's first paint; then the rows that follow
// while the window waits for the user: the time until all are in and the longest the
// interface waited meanwhile.
void BM_OpenPhoneBook(benchmark::State& state)
{
    Folders folders(int(state.range(0)));
    double rest = 0, longest = 0;
    for (auto _ : state) {
        frmPhones& window = Forms::Get<frmPhones>();
        window.ShowModeless();
        Require(PumpUntilPainted(window.DataGrid1->viewport()));
        state.PauseTiming();
        const LoopGaps::Result gaps = LoopGaps::Run({}, [] { return !DataEnvironment1().rstbl_Phones.Fetching(); });
        rest += gaps.total;
        longest = std::max(longest, gaps.longest);
        dropWindows();
        state.ResumeTiming();
    }
    state.counters["rest_ms"] = rest / double(state.iterations());
    state.counters["longest_block_ms"] = longest;
    const double before = heapMegabytes();
    Forms::Get<frmPhones>().ShowModeless();
    Require(PumpUntil([] { return !DataEnvironment1().rstbl_Phones.Fetching(); }));
    state.counters["heap_MB"] = heapMegabytes() - before;
    dropWindows();
    TrayIcon::ResetForTests();
}
BENCHMARK(BM_OpenPhoneBook)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

// A surname search from the search window, one letter more each time, up to five:
// the filter, the grid and the label.
void BM_SearchAsTyped10k(benchmark::State& state)
{
    Folders folders;
    frmPhones& window = Forms::Get<frmPhones>();
    window.ShowModeless();
    window.Toolbar1_ButtonClick(10);
    frmCntSearch& search = Forms::Get<frmCntSearch>();
    const QString typed = s("Kuzne");
    int letters = 0;
    for (auto _ : state) {
        letters = letters % 5 + 1;
        search.Text1->setText(typed.left(letters));
        search.cmdOK_Click();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.GridModel->rowCount());
    }
    state.counters["rows"] = window.GridModel->rowCount();
    dropWindows();
    TrayIcon::ResetForTests();
}
BENCHMARK(BM_SearchAsTyped10k)->Unit(benchmark::kMillisecond);

}  // namespace

// The recordset layer over generated data: 100 000 events, 10 000 contacts.
#include "HeapInUse.h"
#include "core/SourceText.h"
#include "platform/Connection.h"
#include "platform/Criteria.h"
#include "platform/Recordset.h"
#include "StepRaw.h"
#include "support/Require.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <memory>

namespace {

QString schema(const char* kind)
{
    QFile file(s(TESSARYN_SCHEMA_DIR "/") + s(kind) + s(".sql"));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

// Mean milliseconds of one call of work over runs calls.
template <class Work>
double millisecondsPer(int runs, Work work)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i)
        work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / runs;
}

const char* const EventsSelect = "SELECT Measure_Name, Step_Name, Step_Date, Step_Time, Step_Notes, Step_Rep, "
                                 "Step_Numeric FROM lst_Dates ORDER BY Step_Numeric";

// A database of one kind with generated rows, built once per run.
class Generated {
public:
    Generated(const char* kind, const char* password, int rows, const QString& insert,
              QVariantList (*values)(int))
        : password_(s(password))
    {
        path_ = dir_.path() + s("/") + s(kind) + s(".db");
        Connection builder;
        Require(builder.OpenNew(path_));
        Require(builder.ExecuteScript(schema(kind)));
        Require(builder.BeginTrans());
        for (int i = 0; i < rows; ++i)
            Require(builder.Execute(insert, values(i)));
        Require(builder.CommitTrans());
    }

    std::unique_ptr<Connection> Open() const
    {
        auto connection = std::make_unique<Connection>();
        Require(connection->Open(path_, password_));
        return connection;
    }

private:
    QTemporaryDir dir_;
    QString path_;
    QString password_;
};

QVariantList eventRow(int i)
{
    return {s("Category %1").arg(i % 50), s("Event number %1").arg(i), QDate(2020, 1, 1).addDays(i % 3000),
            i % 3 ? QVariant(s("%1:%2").arg(i % 24, 2, 10, QLatin1Char('0')).arg(i % 60, 2, 10, QLatin1Char('0')))
                  : QVariant(),
            i % 5 ? QVariant(s("Comment %1").arg(i)) : QVariant(), false};
}

QVariantList contactRow(int i)
{
    static const char* const surnames[] = {"Ivanov", "Petrova", "Smith", "O'Brien", "Sidorov",
                                           "Brown",  "Kuznetsov", "Miller", "Orlova", "Adams"};
    return {s("General"), s("%1 %2").arg(s(surnames[i % 10])).arg(i), s("Name %1").arg(i),
            s("+7 900 %1").arg(i, 7, 10, QLatin1Char('0')), s("mail%1@example.org").arg(i)};
}

const Generated& events()
{
    static const Generated data(
        "events", "qk_mirtolven", 100000,
        s("INSERT INTO lst_Dates (Measure_Name, Step_Name, Step_Date, Step_Time, Step_Notes, Step_Rep) "
          "VALUES (?, ?, ?, ?, ?, ?)"),
        eventRow);
    return data;
}

const Generated& contacts()
{
    static const Generated data(
        "phones", "kettle_mirtolven", 10000,
        s("INSERT INTO tbl_Phones (Groupe_Name, Second_Name, First_Name, Home_Mobile, Inet_Email) "
          "VALUES (?, ?, ?, ?, ?)"),
        contactRow);
    return data;
}

double openAndWalk(Connection& connection, double* memory)
{
    Recordset rs(connection, s("lst_Dates"));
    const double before = heapMegabytes();
    const auto start = std::chrono::steady_clock::now();
    Require(rs.Open());
    qint64 sum = 0;
    for (; !rs.Eof(); Require(rs.MoveNext()))
        sum += rs.Field(1).toString().size() + rs.Field(6).toLongLong();
    benchmark::DoNotOptimize(sum);
    const double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (memory)
        *memory = heapMegabytes() - before;
    return elapsed;
}

// The walk against its floor: the same rows stepped by SQLite alone.
void BM_OpenAndWalkEvents(benchmark::State& state)
{
    const auto connection = events().Open();
    double memory = 0;
    double walk = 0;
    openAndWalk(*connection, nullptr);
    for (auto _ : state) {
        const double milliseconds = openAndWalk(*connection, nullptr);
        state.SetIterationTime(milliseconds / 1000);
        walk += milliseconds;
    }
    walk /= double(state.iterations());
    openAndWalk(*connection, &memory);
    const double floor = millisecondsPer(int(state.iterations()), [&] {
        benchmark::DoNotOptimize(stepRaw(connection->Handle(), EventsSelect));
    });
    state.counters["rows"] = 100000;
    state.counters["memory_MB"] = memory;
    state.counters["walk_ms"] = walk;
    state.counters["floor_ms"] = floor;
    state.counters["x_floor"] = walk / floor;
}
BENCHMARK(BM_OpenAndWalkEvents)->Unit(benchmark::kMillisecond)->UseManualTime();

// The filter against one open and walk of the same table.
void BM_CategoryFilter(benchmark::State& state)
{
    const auto connection = events().Open();
    Recordset rs(*connection, s("lst_Dates"));
    Require(rs.Open());
    int category = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        Require(rs.SetFilter(s("Measure_Name LIKE ") + Criteria::LiteralPrefix(s("Category %1").arg(category++ % 50))));
        benchmark::DoNotOptimize(rs.RecordCount());
    }
    const double filter = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count()
                          / double(state.iterations());
    Require(rs.Close());
    double walk = 0;
    for (int i = 0; i < 5; ++i)
        walk += openAndWalk(*connection, nullptr) / 5;
    state.counters["walk_ms"] = walk;
    state.counters["x_walk"] = filter / walk;
}
BENCHMARK(BM_CategoryFilter)->Unit(benchmark::kMillisecond);

void BM_AddOneEventWithItsId(benchmark::State& state)
{
    const auto connection = events().Open();
    Recordset rs(*connection, s("lst_Dates"));
    Require(rs.Open());
    for (auto _ : state) {
        Require(rs.AddNew());
        Require(rs.SetField(s("Measure_Name"), s("Category 1")));
        Require(rs.SetField(s("Step_Name"), s("Added")));
        Require(rs.SetField(s("Step_Date"), QDate(2025, 1, 1)));
        Require(rs.SetField(s("Step_Time"), s("09:05")));
        Require(rs.SetField(s("Step_Rep"), false));
        Require(rs.Update());
        benchmark::DoNotOptimize(rs.CurrentId());
    }
}
BENCHMARK(BM_AddOneEventWithItsId)->Unit(benchmark::kMillisecond);

void BM_OpenContacts(benchmark::State& state)
{
    const auto connection = contacts().Open();
    for (auto _ : state) {
        Recordset rs(*connection, s("tbl_Phones"));
        Require(rs.Open());
        benchmark::DoNotOptimize(rs.RecordCount());
    }
}
BENCHMARK(BM_OpenContacts)->Unit(benchmark::kMillisecond);

void BM_ContactSurnamePrefixFilter(benchmark::State& state)
{
    const auto connection = contacts().Open();
    Recordset rs(*connection, s("tbl_Phones"));
    Require(rs.Open());
    static const char* const prefixes[] = {"iva", "O'B", "Sm", "kuz", "Z"};
    int i = 0;
    for (auto _ : state) {
        Require(rs.SetFilter(s("Second_Name LIKE ") + Criteria::LiteralPrefix(s(prefixes[i++ % 5]))));
        benchmark::DoNotOptimize(rs.RecordCount());
    }
}
BENCHMARK(BM_ContactSurnamePrefixFilter)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

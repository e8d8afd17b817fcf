// bench_prepare <folder> <events> [<due>]: a profile for the start-up, idle and
// reminder benchmarks. The folder gets appdata/, config/, data/ and home/ (the
// variables APPDATA, XDG_CONFIG_HOME, XDG_DATA_HOME and HOME point there), filled from
// the build's installed data tree as a first start would (where it holds no such
// file yet), with <events> generated events, and one more due at <due>
// ("yyyy-MM-ddTHH:mm") when given.
#include "core/FolderFileExists.h"
#include "core/SourceText.h"
#include "platform/Connection.h"
#include "platform/KnownFolders.h"
#include "support/Require.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QDir>

#include <cstdio>

namespace {

void setFolder(const char* variable, const QString& path)
{
    QDir().mkpath(path);
    qputenv(variable, path.toUtf8());
}

bool insertEvent(Connection& db, const QVariantList& values)
{
    const DbResult result = db.Execute(
        s("INSERT INTO lst_Dates (Measure_Name, Step_Name, Step_Date, Step_Time, Step_Notes, Step_Rep) "
          "VALUES (?, ?, ?, ?, ?, ?)"),
        values);
    if (!result.Ok())
        std::fprintf(stderr, "bench_prepare: %s\n", qPrintable(result.text));
    return result.Ok();
}

// Upcoming events, a year ahead from tomorrow: a past one would bring up its
// reminder. A valid due moment adds one event due then.
bool addEvents(int count, const QDateTime& due)
{
    Connection db;
    if (!db.Open(KnownFolders::UserDataFolder() + s("/System/tesryn.db"), s("qk_mirtolven")).Ok())
        return false;
    const char* const categories[] = {"Birthdays", "Meetings", "Holidays"};
    const QDate tomorrow = QDate::currentDate().addDays(1);
    Require(db.BeginTrans());
    for (int i = 0; i < count; ++i) {
        const QVariant time = i % 3 ? QVariant(QTime(8 + i % 12, i % 4 * 15).toString(s("HH:mm"))) : QVariant();
        const QVariant notes = i % 4 ? QVariant() : QVariant(s("Comment on event %1").arg(i));
        if (!insertEvent(db, {s(categories[i % 3]), s("Event %1").arg(i), tomorrow.addDays(i % 365).toString(Qt::ISODate),
                              time, notes, i % 3 == 0 ? 0 : i % 2}))
            return false;
    }
    if (due.isValid()
        && !insertEvent(db, {s("Meetings"), s("Due event"), due.date().toString(Qt::ISODate),
                             due.time().toString(s("HH:mm")), QVariant(), 1}))
        return false;
    return db.CommitTrans().Ok();
}

}  // namespace

int main(int argc, char** argv)
{
    bool ok = argc == 3 || argc == 4;
    const int count = ok ? QByteArray(argv[2]).toInt(&ok) : 0;
    const QDateTime due = argc == 4 ? QDateTime::fromString(QString::fromLocal8Bit(argv[3]), Qt::ISODate) : QDateTime();
    if (!ok || count < 0 || (argc == 4 && !due.isValid())) {
        std::fprintf(stderr, "usage: %s <folder> <events> [<due yyyy-MM-ddTHH:mm>]\n", argv[0]);
        return 2;
    }
    const QString root = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    setFolder("APPDATA", root + s("/appdata"));
    setFolder("XDG_CONFIG_HOME", root + s("/config"));
    setFolder("XDG_DATA_HOME", root + s("/data"));
    setFolder("HOME", root + s("/home"));
    qunsetenv("CommonProgramFiles");
    qunsetenv("TESSARYN_LEGACY_FOLDER");
    KnownFolders::SetProgramFolder(s(TESSARYN_BUILD_SHARE));
    CopyDataTree(KnownFolders::InstallDataFolder());
    if (!addEvents(count, due)) {
        std::fprintf(stderr, "bench_prepare: cannot write the events of %s\n", qPrintable(root));
        return 1;
    }
    return 0;
}

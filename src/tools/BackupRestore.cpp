#include "BackupRestore.h"

#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Formats.h"
#include "core/Options.h"
#include "core/RegData.h"
#include "platform/Clock.h"
#include "platform/DatabaseCopy.h"
#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"
#include "platform/SchemaCheck.h"

#include <QFile>
#include <QList>

#include <cstdio>
#include <unistd.h>

namespace {

const DataKindInfo Kinds[] = {
    {"opt1", ".tssv", "tesryn.db", "tesryn.tmp", ":/schema/events.sql"},
    {"opt2", ".tssp", "tesphn.db", "tesphn.tmp", ":/schema/phones.sql"},
    {"opt3", ".tssb", "tesbus.db", "tesbus.tmp", ":/schema/tasks.sql"},
};

QString systemFile(const char* name)
{
    return KnownFolders::UserDataFolder() + QStringLiteral("/System/") + QLatin1String(name);
}

QList<Recordset*> kindRecordsets(DataKind kind)
{
    DataEnvironment& data = DataEnvironment1();
    switch (kind) {
    case DataKind::Events:
        return {&data.rsCommand1, &data.rsCommand2, &data.rsCommand3};
    case DataKind::Phones:
        return {&data.rstbl_Groupes, &data.rstbl_Phones};
    case DataKind::Tasks:
        break;
    }
    return {&data.rstbl_Business};
}

// An open recordset as its users left it.
struct OpenView {
    Recordset* recordset;
    QString filter;
    QString sort;
    qint64 currentId;
};

QList<OpenView> noteOpenViews(DataKind kind)
{
    QList<OpenView> views;
    for (Recordset* recordset : kindRecordsets(kind)) {
        if (recordset->State() != 0)
            views.append({recordset, recordset->Filter(), recordset->Sort(), recordset->CurrentId()});
    }
    return views;
}

void reopenViews(const QList<OpenView>& views)
{
    for (const OpenView& view : views) {
        OpenIfClosed(*view.recordset);
        if (!view.sort.isEmpty())
            view.recordset->SetSort(view.sort);
        if (!view.filter.isEmpty())
            view.recordset->SetFilter(view.filter);
        if (view.currentId != 0)
            view.recordset->MoveToId(view.currentId);
    }
}

bool renameFile(const QString& from, const QString& to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// The previous file under the temporary name: a second name of the same file where
// the file system allows it, a copy elsewhere.
bool keepPrevious(const QString& live, const QString& temporary)
{
    FileSystem::RemoveFile(temporary);
    if (::link(QFile::encodeName(live).constData(), QFile::encodeName(temporary).constData()) == 0)
        return true;
    return FileSystem::CopyAtomic(live, temporary, FileSystem::FileMode::OwnerOnly);
}

// Row ids of the staged file continue above every id the live file handed out, so
// registry entries keyed by an id never meet a new row of the same id.
bool raiseSequences(Connection& live, const QString& staged)
{
    if (!live.Execute(QStringLiteral("ATTACH DATABASE ? AS staged"), {staged}).Ok())
        return false;
    const bool raised =
        WriteInTransaction(live, [&] {
            DbResult result = live.Execute(QStringLiteral(
                "UPDATE staged.sqlite_sequence SET seq = (SELECT m.seq FROM main.sqlite_sequence m "
                "WHERE m.name = staged.sqlite_sequence.name) WHERE seq < (SELECT m.seq FROM main.sqlite_sequence m "
                "WHERE m.name = staged.sqlite_sequence.name)"));
            if (result.Ok())
                result = live.Execute(QStringLiteral(
                    "INSERT INTO staged.sqlite_sequence (name, seq) SELECT name, seq FROM main.sqlite_sequence "
                    "WHERE name NOT IN (SELECT name FROM staged.sqlite_sequence)"));
            return result;
        }).Ok();
    return live.Execute(QStringLiteral("DETACH DATABASE staged")).Ok() && raised;
}

QString schemaText(DataKind kind)
{
    QFile file(QString::fromLatin1(KindInfo(kind).schema));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void report(const QString& what, const QString& detail)
{
    std::fprintf(stderr, "Tessaryn: %s: %s\n", qPrintable(what), qPrintable(detail));
}

// Checks the copy and prepares it to take the live file's place.
CopyOutcome prepareStaged(DataKind kind, const QString& source, const QString& staged)
{
    switch (DatabaseCopy::StageCopy(source, staged)) {
    case DatabaseCopy::StageResult::NotDatabase:
        return CopyOutcome::NotBackup;
    case DatabaseCopy::StageResult::WriteFailed:
        return CopyOutcome::WriteFailed;
    case DatabaseCopy::StageResult::Ok:
        break;
    }
    const DbResult check = CheckDatabaseFile(staged, schemaText(kind));
    if (!check.Ok()) {
        report(source, check.text);
        return CopyOutcome::NotBackup;
    }
    Connection& live = KindConnection(kind);
    OpenIfClosed(live);
    if (!raiseSequences(live, staged) || !DatabaseCopy::SyncFile(staged))
        return CopyOutcome::WriteFailed;
    return CopyOutcome::Done;
}

}  // namespace

const DataKindInfo& KindInfo(DataKind kind) { return Kinds[static_cast<int>(kind)]; }

std::optional<DataKind> KindOfPath(const QString& path)
{
    const QString ending = path.right(4);
    for (DataKind kind : {DataKind::Events, DataKind::Phones, DataKind::Tasks}) {
        if (ending == QLatin1String(KindInfo(kind).extension + 1))
            return kind;
    }
    return std::nullopt;
}

Connection& KindConnection(DataKind kind)
{
    DataEnvironment& data = DataEnvironment1();
    switch (kind) {
    case DataKind::Events:
        return data.Connection1;
    case DataKind::Phones:
        return data.Connection2;
    case DataKind::Tasks:
        break;
    }
    return data.Connection3;
}

QString DatabasePath(DataKind kind) { return systemFile(KindInfo(kind).database); }
QString TemporaryPath(DataKind kind) { return systemFile(KindInfo(kind).temporary); }
QString StagedPath(DataKind kind) { return DatabasePath(kind) + QStringLiteral(".restore"); }

QString BackupFileName(const QString& dateText, DataKind kind)
{
    QString name = dateText;
    for (const char c : {'/', '.', '-', ':'})
        name.remove(QLatin1Char(c));
    return name + QLatin1String(KindInfo(kind).extension);
}

QString WithBackupExtension(const QString& path, DataKind kind)
{
    const QLatin1String extension(KindInfo(kind).extension);
    return path.endsWith(extension) ? path : path + extension;
}

QString LastBackupText(DataKind kind)
{
    const QDateTime now = Clock::Now();
    return DateText(now.date()) + QLatin1Char(' ') + LongTimeText(now.time()) + QLatin1Char('/')
           + GetLangText(QLatin1String(KindInfo(kind).textKey));
}

QString LastBackupValuePath() { return ProgramKey() + QStringLiteral("TsSave"); }

CopyOutcome BackUp(DataKind kind, const QString& target)
{
    if (!FileSystem::IsFile(DatabasePath(kind)))
        return CopyOutcome::MissingDatabase;
    Connection& connection = KindConnection(kind);
    OpenIfClosed(connection);
    const DbResult result = DatabaseCopy::BackupTo(connection, target);
    if (!result.Ok()) {
        report(target, result.text);
        return CopyOutcome::WriteFailed;
    }
    RegWrite(LastBackupValuePath(), LastBackupText(kind));
    return CopyOutcome::Done;
}

CopyOutcome Restore(DataKind kind, const QString& source)
{
    const QString live = DatabasePath(kind);
    const QString temporary = TemporaryPath(kind);
    const QString staged = StagedPath(kind);
    if (!FileSystem::IsFile(live))
        return CopyOutcome::MissingDatabase;

    const CopyOutcome prepared = prepareStaged(kind, source, staged);
    if (prepared != CopyOutcome::Done) {
        FileSystem::RemoveFile(staged);
        return prepared;
    }

    Connection& connection = KindConnection(kind);
    const QList<OpenView> views = noteOpenViews(kind);
    connection.Close();
    if (!keepPrevious(live, temporary) || !renameFile(staged, live)) {
        FileSystem::RemoveFile(staged);
        FileSystem::RemoveFile(temporary);
        OpenIfClosed(connection);
        reopenViews(views);
        return CopyOutcome::WriteFailed;
    }
    DatabaseCopy::SyncFolder(KnownFolders::UserDataFolder() + QStringLiteral("/System"));

    DbResult opened = connection.Open();
    if (!opened.Ok()) {
        report(live, opened.text);
        if (!renameFile(temporary, live) || !connection.Open().Ok())
            return CopyOutcome::Lost;
        reopenViews(views);
        return CopyOutcome::RolledBack;
    }
    reopenViews(views);
    FileSystem::RemoveFile(temporary);
    return CopyOutcome::Done;
}

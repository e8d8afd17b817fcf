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
#include "platform/RegistryStore.h"
#include "platform/SchemaCheck.h"

#include <QFile>
#include <QList>
#include <QSet>

#include <tuple>
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
    // Texts the recordsets took before, on recordsets just opened with nothing pending:
    // they have nothing to fail on.
    for (const OpenView& view : views) {
        OpenIfClosed(*view.recordset);
        if (!view.sort.isEmpty())
            std::ignore = view.recordset->SetSort(view.sort);
        if (!view.filter.isEmpty())
            std::ignore = view.recordset->SetFilter(view.filter);
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
    std::ignore = FileSystem::RemoveFile(temporary);  // a file left there is replaced by the copy below
    if (::link(QFile::encodeName(live).constData(), QFile::encodeName(temporary).constData()) == 0)
        return true;
    return FileSystem::CopyAtomic(live, temporary, FileSystem::FileMode::OwnerOnly);
}

// The password of the live file, which a backup of it carries too.
QString livePassword(Connection& live)
{
    QList<QVariantList> rows;
    std::ignore = live.Query(QStringLiteral("SELECT value FROM db_meta WHERE name = 'password'"), {}, &rows);
    return rows.value(0).value(0).toString();
}

// Row ids of the staged file continue above every id the live file handed out, so
// registry entries keyed by an id never meet a new row of the same id.
DbResult raiseSequences(Connection& live, Connection& staged)
{
    QList<QVariantList> sequences;
    DbResult result = live.Query(QStringLiteral("SELECT name, seq FROM sqlite_sequence"), {}, &sequences);
    for (const QVariantList& sequence : sequences) {
        if (!result.Ok())
            break;
        result = staged.Execute(QStringLiteral("UPDATE sqlite_sequence SET seq = ?2 WHERE name = ?1 AND seq < ?2"),
                                sequence);
        if (result.Ok())
            result = staged.Execute(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT ?1, ?2 "
                                                   "WHERE NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = ?1)"),
                                    sequence);
    }
    return result;
}

QString schemaText(DataKind kind)
{
    QFile file(QString::fromLatin1(KindInfo(kind).schema));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Where a registry entry belongs: to an event ("Special\<id>\", "InAdvance\<id>"),
// to a category ("Measures\<name>\") or to the program itself (the last backup
// time, the autostart value and any other).
enum class EntryOwner { Event, Category, Program };

EntryOwner ownerOf(const QString& path, qint64* id)
{
    for (const QString& key : {QStringLiteral("Special\\"), QStringLiteral("InAdvance\\")}) {
        const QString prefix = ProgramKey() + key;
        if (path.startsWith(prefix, Qt::CaseInsensitive)) {
            *id = path.mid(prefix.size()).section(QLatin1Char('\\'), 0, 0).toLongLong();
            return EntryOwner::Event;
        }
    }
    if (path.startsWith(ProgramKey() + QStringLiteral("Measures\\"), Qt::CaseInsensitive))
        return EntryOwner::Category;
    return EntryOwner::Program;
}

// An events backup made before the registry moved into the events database has no
// registry table: it gets an empty one, so that the copy passes the schema check.
CopyOutcome addMissingRegistry(const QString& staged, const QString& password, bool* carriesEntries)
{
    Connection copy;
    QList<QVariantList> found;
    DbResult result = copy.Open(staged, password);
    if (result.Ok())
        result = copy.Query(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'registry'"), {},
                            &found);
    *carriesEntries = !found.isEmpty();
    if (result.Ok() && !*carriesEntries)
        result = RegistryStore::CreateTable(copy);
    if (!result.Ok()) {
        LogDbFailure(staged, result);
        return CopyOutcome::NotBackup;
    }
    return CopyOutcome::Done;
}

// The registry the restored events come with: the entries the backup carries for its
// events and categories, and the program's own entries as they stand now. A backup
// made before it carried entries keeps the current ones of its events' ids and every
// current category rule.
DbResult carryRegistry(Connection& live, Connection& staged, bool carriesEntries)
{
    QList<QVariantList> current;
    QList<QVariantList> restored;
    DbResult result = live.Query(QStringLiteral("SELECT path, value FROM registry"), {}, &current);
    if (result.Ok())
        result = carriesEntries ? staged.Query(QStringLiteral("SELECT path FROM registry"), {}, &restored)
                                : staged.Query(QStringLiteral("SELECT Step_Numeric FROM lst_Dates"), {}, &restored);
    QSet<qint64> restoredIds;
    qint64 id = 0;
    for (const QVariantList& row : restored) {
        if (!result.Ok())
            break;
        if (!carriesEntries)
            restoredIds.insert(row.value(0).toLongLong());
        else if (ownerOf(row.value(0).toString(), &id) == EntryOwner::Program)
            result = staged.Execute(QStringLiteral("DELETE FROM registry WHERE path = ?"), {row.value(0)});
    }
    for (const QVariantList& entry : current) {
        if (!result.Ok())
            break;
        const EntryOwner owner = ownerOf(entry.value(0).toString(), &id);
        const bool kept = owner == EntryOwner::Program
                          || (!carriesEntries && (owner == EntryOwner::Category || restoredIds.contains(id)));
        if (kept)
            result = staged.Execute(QStringLiteral("INSERT OR REPLACE INTO registry (path, value) VALUES (?, ?)"), entry);
    }
    return result;
}

// Checks the copy and prepares it to take the live file's place: its sequences
// raised and, for the events, its registry entries settled, in one commit of the
// copy's own.
CopyOutcome prepareStaged(RestoreStage& stage)
{
    switch (DatabaseCopy::StageCopy(stage.source, stage.staged)) {
    case DatabaseCopy::StageResult::NotDatabase:
        return CopyOutcome::NotBackup;
    case DatabaseCopy::StageResult::WriteFailed:
        return CopyOutcome::WriteFailed;
    case DatabaseCopy::StageResult::Ok:
        break;
    }
    bool carriesEntries = true;
    if (stage.kind == DataKind::Events
        && addMissingRegistry(stage.staged, stage.password, &carriesEntries) != CopyOutcome::Done)
        return CopyOutcome::NotBackup;
    const DbResult check = CheckDatabaseFile(stage.staged, schemaText(stage.kind));
    if (!check.Ok()) {
        LogDbFailure(stage.source, check);
        return CopyOutcome::NotBackup;
    }
    // The live file is only read here, beside the connection of the program's windows.
    Connection live;
    Connection copy;
    DbResult result = live.Open(stage.live, stage.password);
    if (result.Ok())
        result = copy.Open(stage.staged, stage.password);
    if (result.Ok())
        result = WriteInTransaction(copy, [&] {
            DbResult prepared = raiseSequences(live, copy);
            if (prepared.Ok() && stage.kind == DataKind::Events)
                prepared = carryRegistry(live, copy, carriesEntries);
            return prepared;
        });
    // No recordset stands on either: nothing is pending.
    std::ignore = copy.Close();
    std::ignore = live.Close();
    if (!result.Ok() || !DatabaseCopy::SyncFile(stage.staged)) {
        LogDbFailure(stage.staged, result);
        return CopyOutcome::WriteFailed;
    }
    stage.withoutEntries = !carriesEntries;
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
        LogDbFailure(target, result);
        return CopyOutcome::WriteFailed;
    }
    // The copy is complete either way: without the entry the wizard goes on showing
    // the time of the backup before.
    std::ignore = RegWrite(LastBackupValuePath(), LastBackupText(kind));
    return CopyOutcome::Done;
}

CopyOutcome Restore(DataKind kind, const QString& source)
{
    RestoreStage stage = BeginRestore(kind, source);
    StageRestore(&stage);
    return FinishRestore(stage);
}

RestoreStage BeginRestore(DataKind kind, const QString& source)
{
    RestoreStage stage;
    stage.kind = kind;
    stage.source = source;
    stage.live = DatabasePath(kind);
    if (!FileSystem::IsFile(stage.live)) {
        stage.outcome = CopyOutcome::MissingDatabase;
        return stage;
    }
    Connection& connection = KindConnection(kind);
    OpenIfClosed(connection);
    stage.password = livePassword(connection);
    if (kind == DataKind::Events)
        DataEnvironment1().Registry();  // the live file's table, taken in from an earlier version's file
    stage.staged = DatabaseCopy::StagingPath(stage.live);
    return stage;
}

void StageRestore(RestoreStage* stage)
{
    if (stage->outcome != CopyOutcome::Done)
        return;
    stage->outcome = prepareStaged(*stage);
    if (stage->outcome != CopyOutcome::Done)
        DatabaseCopy::RemoveStaged(stage->staged);
}

void DropRestore(const RestoreStage& stage)
{
    if (stage.outcome == CopyOutcome::Done)
        DatabaseCopy::RemoveStaged(stage.staged);
}

CopyOutcome FinishRestore(const RestoreStage& stage)
{
    if (stage.outcome != CopyOutcome::Done)
        return stage.outcome;
    const QString& live = stage.live;
    const QString& staged = stage.staged;
    const QString temporary = TemporaryPath(stage.kind);
    Connection& connection = KindConnection(stage.kind);
    const QList<OpenView> views = noteOpenViews(stage.kind);
    // The windows store their edits as they make them: nothing is pending.
    std::ignore = connection.Close();
    if (!keepPrevious(live, temporary) || !renameFile(staged, live)) {
        DatabaseCopy::RemoveStaged(staged);
        std::ignore = FileSystem::RemoveFile(temporary);  // the next restore of the kind replaces it
        OpenIfClosed(connection);
        reopenViews(views);
        return CopyOutcome::WriteFailed;
    }
    FileSystem::SyncFolder(KnownFolders::UserDataFolder() + QStringLiteral("/System"));

    DbResult opened = connection.Open();
    if (!opened.Ok()) {
        LogDbFailure(live, opened);
        if (!renameFile(temporary, live) || !connection.Open().Ok())
            return CopyOutcome::Lost;
        reopenViews(views);
        return CopyOutcome::RolledBack;
    }
    reopenViews(views);
    std::ignore = FileSystem::RemoveFile(temporary);  // the next restore of the kind replaces it
    return stage.withoutEntries ? CopyOutcome::DoneWithoutEntries : CopyOutcome::Done;
}

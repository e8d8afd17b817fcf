#pragma once

#include <QString>

#include <optional>

class Connection;
class Recordset;

// Backup and restore of the program's three databases. A backup file is a copy of
// one database file; its extension tells which.

enum class DataKind { Events, Phones, Tasks };

struct DataKindInfo {
    const char* textKey;    // language key of the kind's name
    const char* extension;  // ".tssv", ".tssp", ".tssb"
    const char* database;   // file in "System"
    const char* temporary;  // the previous file during a restore
    const char* schema;     // resource with the schema the file must match
};

const DataKindInfo& KindInfo(DataKind kind);
// The kind by the last four characters of a path, with letter case; none for any
// other name.
std::optional<DataKind> KindOfPath(const QString& path);
Connection& KindConnection(DataKind kind);
QString DatabasePath(DataKind kind);
QString TemporaryPath(DataKind kind);

// The proposed name of a backup: a date text without "/", ".", "-" and ":", and the
// extension.
QString BackupFileName(const QString& dateText, DataKind kind);
// The path with the kind's extension appended unless it ends in it exactly.
QString WithBackupExtension(const QString& path, DataKind kind);
// The value of "TsSave" for a backup taken now.
QString LastBackupText(DataKind kind);
QString LastBackupValuePath();

enum class [[nodiscard]] CopyOutcome {
    Done,
    DoneWithoutEntries,  // an events backup of an earlier version, with no registry entries
    MissingDatabase,  // the kind's database file is gone: the program ends
    WriteFailed,      // the target folder cannot be written or the disk is full
    NotBackup,        // not a backup of this kind: nothing was touched
    RolledBack,       // the restored file did not open; the previous one is back
    Lost,             // neither file opens any more: the program ends
};

// Copies the kind's database to target while it stays open, then records "TsSave".
CopyOutcome BackUp(DataKind kind, const QString& target);
// Replaces the kind's database by the backup at source, validated first, and
// reopens every recordset of the kind that was open, with its filter, sort and
// current row. Row ids of the restored tables continue above every id the live file
// had used. The events come with the registry entries of their events and
// categories; the program's own entries stay as they are. A backup of an earlier
// version carries no entries: its events keep the current ones of their ids, and the
// outcome says so. The file is swapped in one rename, after the copy is complete: a
// kill leaves the old file or the new one.
CopyOutcome Restore(DataKind kind, const QString& source);

// The same restore in its three parts, so that the long one can run on a worker
// thread. The staging copies the backup beside the live file, checks it and settles
// its ids and registry entries; it reads the live file through a connection of its
// own and touches nothing else of the program. The swap then puts the staged copy in
// the live file's place, or a dropped restore removes it and changes nothing.
struct RestoreStage {
    DataKind kind = DataKind::Events;
    QString source;
    QString live;
    QString password;  // the live file's, which a backup of it carries too
    QString staged;
    CopyOutcome outcome = CopyOutcome::Done;
    bool withoutEntries = false;  // an earlier version's events backup
};
// On the data environment's thread: what the staging needs of the live file.
RestoreStage BeginRestore(DataKind kind, const QString& source);
// On any thread.
void StageRestore(RestoreStage* stage);
// On the data environment's thread.
CopyOutcome FinishRestore(const RestoreStage& stage);
void DropRestore(const RestoreStage& stage);

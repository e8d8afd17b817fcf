#pragma once

#include "Connection.h"

#include <QString>

// Copies of database files that never leave a half-written file behind: either the
// whole copy is in place, mode 0600 and synced to the disk, or the target is as it
// was and no temporary file remains.
namespace DatabaseCopy {

// A consistent copy of the connection's database, taken by SQLite's online backup
// while the connection stays open with its recordsets. It is written to a temporary
// file beside target and renamed over it.
DbResult BackupTo(Connection& source, const QString& target);

// Removes what a killed BackupTo to target left beside it: "<target>.part<pid>" and
// its journal, whatever process wrote them.
void RemoveBackupLeftOvers(const QString& target);

// A name beside the live file for the copy a restore stages, new for every attempt,
// so that no journal a killed attempt left belongs to it.
QString StagingPath(const QString& live);
// Removes a staged copy with its journal.
void RemoveStaged(const QString& staged);
// Whether a file of the live files' folder is one that a killed restore left: a
// staged copy or its journal, or the super-journal of an older version's restore
// (which joined the staged copy to the live file), unless the live file's journal,
// which may still name it, is there.
bool IsRestoreLeftOver(const QString& folder, const QString& fileName);

enum class [[nodiscard]] StageResult { Ok, NotDatabase, WriteFailed };
// Copies source to target when source is a regular file that starts with the SQLite
// header (a FIFO or a device is refused without being read). The source is only read.
StageResult StageCopy(const QString& source, const QString& target);

// Flushes a file's data to the disk; false when it cannot be opened or synced.
[[nodiscard]] bool SyncFile(const QString& path);

}  // namespace DatabaseCopy

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

enum class StageResult { Ok, NotDatabase, WriteFailed };
// Copies source to target when source is a regular file that starts with the SQLite
// header (a FIFO or a device is refused without being read). The source is only read.
StageResult StageCopy(const QString& source, const QString& target);

// Flushes a file's data to the disk; false when it cannot be opened or synced.
bool SyncFile(const QString& path);
// Makes a rename in this folder durable.
void SyncFolder(const QString& folder);

}  // namespace DatabaseCopy

#pragma once

#include <QString>

// True for an existing file or folder.
bool FileExists(const QString& path);
// True for an existing folder (a file of that name counts too).
bool FolderExists(const QString& path);

// Fills the user's data folder from a folder of the installed data tree (and its
// sub-folders), keeping every file the user already has. Only files whose names
// are ASCII letters and dots are copied; "main.xml" goes to the shared folder.
void CopyDataTree(const QString& installedFolder);
// Takes over options.ini and main.xml from an older version's data folder.
void MigrateOldData();

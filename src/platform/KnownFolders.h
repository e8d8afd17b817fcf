#pragma once

#include <QString>

// Where things live. An environment variable with the Windows name of a folder
// (APPDATA, CommonProgramFiles, USERPROFILE, Username) wins over the Linux default,
// so tests can give every process its own temporary folders. No path ends in "/".
namespace KnownFolders {

// Per-user data: options.ini, lang.ini, System/, Notes/ ($APPDATA/Tessaryn or
// $XDG_DATA_HOME/Tessaryn).
QString UserDataFolder();
// The installed data tree that the first-run copy fills the user's folder from.
QString InstallDataFolder();
// The program's own folder: Language/, Help/, Icons/ (installed share/tessaryn or
// the build tree's copy).
QString ProgramFolder();
// Folder shared by the machine's users: main.xml ($XDG_CONFIG_HOME/Tessaryn).
QString SharedDataFolder();
// $XDG_CONFIG_HOME, default ~/.config.
QString ConfigHome();
// Older versions' data. There is none on Linux unless TESSARYN_LEGACY_FOLDER names one.
QString LegacyDataFolder();
QString UserProfileFolder();
QString UserName();
// Absolute path of the running executable.
QString ExecutablePath();
// Whether a program file is an installed one, with its data in ../share/tessaryn
// beside it, rather than one in a build tree.
bool IsInstalledProgram(const QString& executable);

// For tests that run outside the build tree's program layout.
void SetProgramFolder(const QString& path);

}  // namespace KnownFolders

#pragma once

#include <QString>

// The program's registry values, by full path ("HKEY_CURRENT_USER\SOFTWARE\...").
// A path ending in "\" names a key. All values are text.

// The program's own key, ending in "\".
QString ProgramKey();
// The autostart value under the current user's Run key.
QString AutostartValuePath();

// False when the value could not be stored.
bool RegWrite(const QString& path, const QString& value, const QString& type = QStringLiteral("REG_SZ"));
// False when the value is missing.
bool RegRead(const QString& path, QString* value);
// Deletes a value, or a key with everything under it; false when it is missing or
// the store cannot be written.
bool RegDelete(const QString& path);
bool RegKeyExists(const QString& path);

// Path of the file behind the store, and of the autostart entry it keeps in step.
QString RegistryFilePath();
QString AutostartEntryPath();
// Registers an installed program to start at login (the autostart value and its
// desktop entry, written together). A program in a build tree never registers
// itself. An entry already there is replaced only when the program it starts is gone
// or lies in a build tree; one the user switched off is left alone.
void RegisterForLogin();
// An executable path quoted for the Exec line of a desktop entry.
QString DesktopExecArgument(const QString& path);

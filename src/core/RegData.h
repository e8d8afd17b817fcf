#pragma once

#include "platform/RegistryStore.h"

#include <QString>
#include <QStringList>

// The program's registry values, by full path ("HKEY_CURRENT_USER\SOFTWARE\...").
// A path ending in "\" names a key. All values are text, kept in the table
// "registry" of the events database on its shared connection, so that a change made
// between BeginTrans and CommitTrans there commits with the rows. The system's own
// values ("HKEY_CLASSES_ROOT\.pdf\") are answered from the system, never stored.

// The program's own key, ending in "\".
QString ProgramKey();
// The autostart value under the current user's Run key.
QString AutostartValuePath();

// False when the value could not be stored.
[[nodiscard]] bool RegWrite(const QString& path, const QString& value, const QString& type = QStringLiteral("REG_SZ"));
// Missing when the value is not there; Failed when the store gave no answer, which
// says nothing about the value: a caller neither writes it again nor deletes what
// depends on it.
[[nodiscard]] ReadResult RegRead(const QString& path, QString* value);
// Deletes a value, or a key with everything under it; false when it is missing or
// the store cannot be written.
[[nodiscard]] bool RegDelete(const QString& path);
// Found when the path reads (a value, or a key's default value).
[[nodiscard]] ReadResult RegKeyExists(const QString& path);
// The two values "NextType" and "NextInterval" of a repeat rule under a key (a path
// ending in "\"): Found only when both are there, Failed when a read failed.
[[nodiscard]] ReadResult RegReadRule(const QString& key, QString* nextType, QString* nextInterval);
// Names of the keys right below a key.
QStringList RegSubKeys(const QString& keyPath);

// Gives the events database its registry table where it has none and takes in, once
// and in one transaction, the file in which an earlier version kept the store
// (leaving out the entries of event rows that are gone), then keeps that file as
// "registry.reg.imported". False when it has to be tried again at the next use.
[[nodiscard]] bool PrepareRegistry(Connection& events);

// The earlier version's registry file, and the autostart entry the store keeps in step.
QString RegistryFilePath();
QString AutostartEntryPath();
// Registers an installed program to start at login (the autostart value and its
// desktop entry, written together). A program in a build tree never registers
// itself. An entry already there is replaced only when the program it starts is gone
// or lies in a build tree; one the user switched off is left alone.
void RegisterForLogin();
// An executable path quoted for the Exec line of a desktop entry.
QString DesktopExecArgument(const QString& path);

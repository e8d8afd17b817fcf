#pragma once

#include "platform/Connection.h"

class QComboBox;
class Recordset;

// Small helpers over the shared recordsets and their connections.

// Opens a closed recordset (it then stands on its first row) or connection. A file
// that is missing or damaged ends the program with a message naming it.
void OpenIfClosed(Recordset& recordset);
void OpenIfClosed(Connection& connection);
// Closes an open one; closing a recordset drops its filter and sort. A pending edit
// is stored first: the result is that store's.
DbResult CloseIfOpen(Recordset& recordset);
DbResult CloseIfOpen(Connection& connection);
// Stores the pending edit when the recordset has rows under its filter.
DbResult UpdateIfRecords(Recordset& recordset);

// Ends the program with the message that names a database file that is missing or
// damaged.
[[noreturn]] void DatabaseFailure(const Connection& connection, const DbResult& result);

// Writes a database failure to standard error, saying what was being done: the
// user is told in the words of a message, the database's own go there.
void LogDbFailure(const QString& what, const DbResult& result);

// Fills a combo box with the contact groups: "mes279" (all groups), the general
// group under "mes278" (its stored name goes to frmProcess.GeneralGroupName), then
// the other groups in table order; selects entry 0, which runs the box's handler.
void FillGroupCombo(QComboBox* combo);
// Appends the event categories in table order (the built-in ones under their own
// texts "evn1" to "evn3") and selects entry 0, which runs the box's handler.
void FillEventTypeCombo(QComboBox* combo);

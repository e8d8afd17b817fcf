#pragma once

class Connection;
class QComboBox;
class Recordset;

// Small helpers over the shared recordsets and their connections.

// Opens a closed recordset (it then stands on its first row) or connection. A file
// that is missing or damaged ends the program with a message naming it.
void OpenIfClosed(Recordset& recordset);
void OpenIfClosed(Connection& connection);
// Closes an open one; closing a recordset drops its filter and sort.
void CloseIfOpen(Recordset& recordset);
void CloseIfOpen(Connection& connection);
// Stores the pending edit when the recordset has rows under its filter.
void UpdateIfRecords(Recordset& recordset);

// Fills a combo box with the contact groups: "mes279" (all groups), the general
// group under "mes278" (its stored name goes to frmProcess.GeneralGroupName), then
// the other groups in table order; selects entry 0, which runs the box's handler.
void FillGroupCombo(QComboBox* combo);
// Appends the event categories in table order (the built-in ones under their own
// texts "evn1" to "evn3") and selects entry 0, which runs the box's handler.
void FillEventTypeCombo(QComboBox* combo);

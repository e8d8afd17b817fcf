#pragma once

#include "platform/Connection.h"
#include "platform/Recordset.h"
#include "platform/RegistryStore.h"

// The program's three databases and the recordsets that every window shares. Each
// recordset is one object for the whole program: its open state, filter, sort and
// current row stay as the last user left them until somebody closes it, and every
// bound grid follows its changes.
//   rsCommand1      lst_Measures (categories)
//   rsCommand2      lst_Dates, never filtered
//   rsCommand3      lst_Dates, filtered by the planner, takes every new or changed event
//   rstbl_Groupes   tbl_Groupes
//   rstbl_Phones    tbl_Phones (the phone-book grid)
//   rstbl_Business  tbl_Business (the task grid)
// Connections open when the first of their recordsets opens.
class DataEnvironment {
public:
    DataEnvironment() = default;
    DataEnvironment(const DataEnvironment&) = delete;
    DataEnvironment& operator=(const DataEnvironment&) = delete;

    // Ends the program with "mes281" when the events database is missing; sets the
    // three connection strings.
    void DataEnvironment_Initialize();

    // The registry store, in the table "registry" of the events database on
    // Connection1 (opened for it when closed). Its first use prepares the table
    // (PrepareRegistry).
    RegistryStore Registry();

    Connection Connection1;
    Connection Connection2;
    Connection Connection3;

    Recordset rsCommand1{Connection1, QStringLiteral("lst_Measures")};
    Recordset rsCommand2{Connection1, QStringLiteral("lst_Dates")};
    Recordset rsCommand3{Connection1, QStringLiteral("lst_Dates")};
    Recordset rstbl_Groupes{Connection2, QStringLiteral("tbl_Groupes")};
    Recordset rstbl_Phones{Connection2, QStringLiteral("tbl_Phones")};
    Recordset rstbl_Business{Connection3, QStringLiteral("tbl_Business")};

private:
    bool registryPrepared_ = false;
};

// The data environment, made (and initialised) on first use.
DataEnvironment& DataEnvironment1();
// Closes every recordset and connection and forgets the object: the next use makes a
// fresh one for the current folders (tests start each case this way).
void EndDataEnvironment();

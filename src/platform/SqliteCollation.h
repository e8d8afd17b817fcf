#pragma once

#include <QStringView>

struct sqlite3;

// Letter case as the old database engine treated it: every Unicode letter compares
// equal to its other case ("ОФИС" = "офис", "Work" = "work"). The same comparison
// serves the in-memory filters, finds and sorts and, registered on a connection
// under NoCaseCollationName, the unique indexes of the tables.
int CompareNoCase(QStringView a, QStringView b);

inline constexpr const char* NoCaseCollationName = "UNICODE_NOCASE";

// False when SQLite refused the registration.
[[nodiscard]] bool RegisterNoCaseCollation(sqlite3* db);

#pragma once

// The floor of a benchmark that reads a table: SQLite alone stepping the statement and
// reading each column into a local, texts as UTF-8 bytes.

#include <QtGlobal>

#include <sqlite3.h>

inline qint64 stepRaw(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    qint64 sum = 0;
    const int columns = sqlite3_column_count(statement);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int i = 0; i < columns; ++i) {
            if (sqlite3_column_type(statement, i) == SQLITE_INTEGER) {
                sum += sqlite3_column_int64(statement, i);
            } else {
                const unsigned char* text = sqlite3_column_text(statement, i);
                sum += sqlite3_column_bytes(statement, i) + (text ? text[0] : 0);
            }
        }
    }
    sqlite3_finalize(statement);
    return sum;
}

#pragma once

#include "Connection.h"

#include <QString>

// Checks a database file against the schema text it was built from (the CREATE
// TABLE statements and rows of db_meta): the file opens with the password that the
// schema gives, passes SQLite's integrity check and has each of the schema's tables
// with the same columns, in the same order, of the same declared types.
DbResult CheckDatabaseFile(const QString& path, const QString& schemaSql);

#pragma once

// A database that fails reads as one busy past its timeout, or with an I/O error,
// fails them: SQLite's authorizer refuses every statement that reads the named
// column of a table (any of its columns when none is named), the first `times` of
// them or all while the object lives. Statements that read nothing of it go on.

#include "platform/Connection.h"

#include <sqlite3.h>

#include <cstring>

class FailingReads {
public:
    FailingReads(Connection& db, const char* table, const char* column = nullptr, int times = -1)
        : db_(db.Handle()), table_(table), column_(column), left_(times)
    {
        sqlite3_set_authorizer(db_, &FailingReads::authorize, this);
    }
    ~FailingReads() { sqlite3_set_authorizer(db_, nullptr, nullptr); }
    FailingReads(const FailingReads&) = delete;
    FailingReads& operator=(const FailingReads&) = delete;

private:
    static int authorize(void* data, int action, const char* table, const char* column, const char*, const char*)
    {
        auto* self = static_cast<FailingReads*>(data);
        if (action != SQLITE_READ || self->left_ == 0 || !table || std::strcmp(table, self->table_) != 0
            || (self->column_ && (!column || std::strcmp(column, self->column_) != 0)))
            return SQLITE_OK;
        if (self->left_ > 0)
            --self->left_;
        return SQLITE_DENY;
    }

    sqlite3* db_;
    const char* table_;
    const char* column_;
    int left_;
};

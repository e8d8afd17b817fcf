#pragma once

#include "FieldValue.h"

#include <QString>
#include <QVariantList>

#include <sqlite3.h>

// One prepared statement, finalized when it goes out of scope.
class SqlStatement {
public:
    SqlStatement(sqlite3* db, const QString& sql)
    {
        status_ = sqlite3_prepare16_v2(db, sql.utf16(), static_cast<int>(sql.size() * 2), &statement_, nullptr);
    }
    ~SqlStatement() { sqlite3_finalize(statement_); }
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    sqlite3_stmt* get() const { return statement_; }
    bool Prepared() const { return status_ == SQLITE_OK; }

    bool Bind(const QVariantList& parameters)
    {
        for (int i = 0; i < parameters.size(); ++i)
            if (BindValue(statement_, i + 1, parameters[i]) != SQLITE_OK)
                return false;
        return true;
    }

private:
    sqlite3_stmt* statement_ = nullptr;
    int status_ = SQLITE_OK;
};

// A table or column name for SQL text: "name" with inner quotes doubled.
inline QString SqlName(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

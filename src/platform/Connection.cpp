#include "Connection.h"

#include "FieldValue.h"
#include "Recordset.h"
#include "SqlStatement.h"
#include "SqliteCollation.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace {

const QString DataSourceKey = QStringLiteral("Data Source");
const QString PasswordKey = QStringLiteral("Database Password");

QString quoteValue(const QString& value)
{
    return value.contains(QLatin1Char(';')) ? QLatin1Char('"') + value + QLatin1Char('"') : value;
}

// The value of key in a connection string; keys ignore letter case.
QString connectionValue(const QString& text, const QString& key)
{
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype equals = text.indexOf(QLatin1Char('='), pos);
        if (equals < 0)
            break;
        const QString name = text.mid(pos, equals - pos).trimmed();
        qsizetype end;
        QString value;
        if (equals + 1 < text.size() && text[equals + 1] == QLatin1Char('"')) {
            const qsizetype close = text.indexOf(QLatin1Char('"'), equals + 2);
            end = close < 0 ? text.size() : close + 1;
            value = text.mid(equals + 2, (close < 0 ? text.size() : close) - equals - 2);
            const qsizetype semicolon = text.indexOf(QLatin1Char(';'), end);
            end = semicolon < 0 ? text.size() : semicolon;
        } else {
            const qsizetype semicolon = text.indexOf(QLatin1Char(';'), equals);
            end = semicolon < 0 ? text.size() : semicolon;
            value = text.mid(equals + 1, end - equals - 1);
        }
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return value;
        pos = end + 1;
    }
    return {};
}

}  // namespace

Connection::Connection(QObject* parent) : QObject(parent) {}

Connection::~Connection()
{
    // The windows store their edits before the data environment ends; at this point
    // no one is left to hear of a failure.
    std::ignore = Close();
}

QString Connection::MakeConnectionString(const QString& path, const QString& password)
{
    return DataSourceKey + QLatin1Char('=') + quoteValue(path) + QLatin1Char(';') + PasswordKey + QLatin1Char('=')
           + quoteValue(password);
}

QString Connection::Path() const
{
    return connectionValue(connectionString_, DataSourceKey);
}

DbResult Connection::Open()
{
    return Open(Path(), connectionValue(connectionString_, PasswordKey));
}

DbResult Connection::Open(const QString& path, const QString& password)
{
    if (db_)
        return DbResult::Failure(DbStatus::Error, QStringLiteral("the connection is already open"));
    connectionString_ = MakeConnectionString(path, password);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return DbResult::Failure(DbStatus::Error, QStringLiteral("the database file %1 does not exist").arg(path));
    DbResult result = openFile(path, SQLITE_OPEN_READWRITE);
    if (result.Ok())
        result = checkPassword(password);
    if (!result.Ok())
        std::ignore = Close();  // no recordset was open on it to hold an edit
    return result;
}

DbResult Connection::OpenNew(const QString& path)
{
    if (db_)
        return DbResult::Failure(DbStatus::Error, QStringLiteral("the connection is already open"));
    if (QFileInfo::exists(path))
        return DbResult::Failure(DbStatus::Error, QStringLiteral("the file %1 exists already").arg(path));
    connectionString_ = MakeConnectionString(path, QString());
    const DbResult result = openFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!result.Ok())
        std::ignore = Close();  // no recordset was open on it to hold an edit
    return result;
}

DbResult Connection::openFile(const QString& path, int flags)
{
    // A connection serves the one thread of the windows: it locks nothing of its own.
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr)
        != SQLITE_OK)
        return LastError(QStringLiteral("cannot open %1").arg(path));
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 15000);
    if (!RegisterNoCaseCollation(db_))
        return LastError(QStringLiteral("cannot register the collation"));
    QList<QVariantList> rows;
    DbResult result = Query(QStringLiteral("PRAGMA journal_mode=DELETE"), {}, &rows);
    if (result.Ok())
        result = Execute(QStringLiteral("PRAGMA synchronous=FULL"));
    // Temporary tables and triggers in memory, set before any is made: a later change
    // of the setting would drop them.
    if (result.Ok())
        result = Execute(QStringLiteral("PRAGMA temp_store=MEMORY"));
    if (!result.Ok())
        result.text = QStringLiteral("%1 is damaged or not a database: %2").arg(path, result.text);
    return result;
}

DbResult Connection::checkPassword(const QString& password)
{
    QList<QVariantList> rows;
    const DbResult result =
        Query(QStringLiteral("SELECT value FROM db_meta WHERE name = 'password'"), {}, &rows);
    if (!result.Ok() || rows.size() != 1 || rows[0].value(0).toString() != password)
        return DbResult::Failure(DbStatus::BadPassword,
                                 QStringLiteral("%1: not a valid password").arg(Path()));
    return {};
}

DbResult Connection::Close()
{
    DbResult result;
    const QList<Recordset*> open = recordsets_;
    for (Recordset* recordset : open) {
        const DbResult closed = recordset->Close();
        if (result.Ok())
            result = closed;
    }
    if (!db_)
        return result;
    // Closing the file ends the transaction whether or not the rollback is heard.
    if (inTransaction_)
        std::ignore = Execute(QStringLiteral("ROLLBACK"));
    inTransaction_ = false;
    sqlite3_close_v2(db_);
    db_ = nullptr;
    return result;
}

DbResult Connection::BeginTrans()
{
    if (!db_)
        return DbResult::Failure(DbStatus::Error, QStringLiteral("the connection is closed"));
    if (inTransaction_)
        return DbResult::Failure(DbStatus::Error, QStringLiteral("a transaction is already open"));
    const DbResult result = Execute(QStringLiteral("BEGIN IMMEDIATE"));
    inTransaction_ = result.Ok();
    return result;
}

DbResult Connection::CommitTrans()
{
    if (!inTransaction_)
        return DbResult::Failure(DbStatus::Error, QStringLiteral("no transaction is open"));
    const DbResult result = Execute(QStringLiteral("COMMIT"));
    if (result.Ok()) {
        inTransaction_ = false;
        return result;
    }
    // The commit's failure is the one to report; the rollback only re-reads the rows.
    std::ignore = RollbackTrans();
    return result;
}

DbResult Connection::RollbackTrans()
{
    if (!inTransaction_)
        return DbResult::Failure(DbStatus::Error, QStringLiteral("no transaction is open"));
    inTransaction_ = false;
    const DbResult result = Execute(QStringLiteral("ROLLBACK"));
    const QList<Recordset*> open = recordsets_;
    for (Recordset* recordset : open)
        recordset->reload();
    return result;
}

DbResult Connection::Execute(const QString& sql, const QVariantList& parameters, int* rowsChanged)
{
    const DbResult result = ForEachRow(sql, parameters, [](const RowReader&) {});
    if (result.Ok() && rowsChanged)
        *rowsChanged = sqlite3_changes(db_);
    return result;
}

DbResult Connection::Query(const QString& sql, const QVariantList& parameters, QList<QVariantList>* rows)
{
    rows->clear();
    return ForEachRow(sql, parameters, [rows](const RowReader& reader) {
        QVariantList row;
        for (int i = 0; i < reader.ColumnCount(); ++i)
            row.append(reader.Value(i));
        rows->append(row);
    });
}

DbResult Connection::ForEachRow(const QString& sql, const QVariantList& parameters,
                                const std::function<void(const RowReader&)>& onRow)
{
    if (!db_)
        return DbResult::Failure(DbStatus::Error, QStringLiteral("the connection is closed"));
    SqlStatement statement(db_, sql);
    if (!statement.Prepared() || !statement.Bind(parameters))
        return LastError(sql);
    if (!sqlite3_stmt_readonly(statement.get()))
        beforeWrite();
    const RowReader reader(statement.get());
    int status;
    while ((status = sqlite3_step(statement.get())) == SQLITE_ROW)
        onRow(reader);
    if (status != SQLITE_DONE)
        return LastError(sql);
    return {};
}

bool RowReader::IsNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

QString RowReader::Text(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement_, column));
}

QByteArrayView RowReader::Utf8(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return QByteArrayView(text, text ? sqlite3_column_bytes(statement_, column) : 0);
}

QDate RowReader::Date(int column) const { return ParseIsoDate(Utf8(column)); }

qint64 RowReader::Integer(int column) const { return sqlite3_column_int64(statement_, column); }

int RowReader::ColumnCount() const { return sqlite3_column_count(statement_); }

QVariant RowReader::Value(int column) const
{
    const bool integer = sqlite3_column_type(statement_, column) == SQLITE_INTEGER;
    return ReadValue(statement_, column, integer ? ColumnType::Integer : ColumnType::Text);
}

DbResult Connection::ExecuteScript(const QString& sql)
{
    if (!db_)
        return DbResult::Failure(DbStatus::Error, QStringLiteral("the connection is closed"));
    beforeWrite();
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return LastError(QStringLiteral("script"));
    return {};
}

DbResult Connection::LastError(const QString& what) const
{
    if (!db_)
        return DbResult::Failure(DbStatus::Error, what);
    const int code = sqlite3_extended_errcode(db_);
    const DbStatus status = code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY
                                ? DbStatus::DuplicateKey
                                : DbStatus::Error;
    const QString message = QString::fromUtf8(sqlite3_errmsg(db_));
    return DbResult::Failure(status, QStringLiteral("%1: %2").arg(what, message), message);
}

void Connection::beforeWrite()
{
    // A recordset still reading its rows reads them before the file changes: its copy
    // stays the file as it was when it opened.
    const QList<Recordset*> open = recordsets_;
    for (Recordset* recordset : open)
        recordset->beforeWrite();
    ++writes_;
}

void Connection::attach(Recordset* recordset)
{
    if (!recordsets_.contains(recordset))
        recordsets_.append(recordset);
}

void Connection::detach(Recordset* recordset)
{
    recordsets_.removeAll(recordset);
}

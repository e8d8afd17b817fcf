#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <QByteArrayView>
#include <QDate>

#include <functional>
#include <tuple>

struct sqlite3;
struct sqlite3_stmt;
class Recordset;

// The current row of a query, read column by column without building values first
// (for readers that walk a whole table).
class RowReader {
public:
    explicit RowReader(sqlite3_stmt* statement)
        : statement_(statement)
    {
    }
    bool IsNull(int column) const;
    QString Text(int column) const;
    // The stored text as UTF-8, without decoding; null data for NULL.
    QByteArrayView Utf8(int column) const;
    QDate Date(int column) const;  // invalid for NULL or a text that is no date
    qint64 Integer(int column) const;
    bool Boolean(int column) const { return Integer(column) != 0; }
    int ColumnCount() const;
    // An INTEGER as qint64, NULL as an invalid QVariant, anything else as text.
    QVariant Value(int column) const;

private:
    sqlite3_stmt* statement_;
};

// The outcome of a database call. DuplicateKey is a write refused by a unique
// index (a second category or group of the same name, in any letter case).
enum class DbStatus { Ok, DuplicateKey, BadCriteria, BadPassword, Error };

struct [[nodiscard]] DbResult {
    DbStatus status = DbStatus::Ok;
    QString text;
    // The database's own words, without the statement that failed; empty where the
    // text is the whole story.
    QString description;

    bool Ok() const { return status == DbStatus::Ok; }
    // What a message to the user says about the failure.
    QString Description() const { return description.isEmpty() ? text : description; }
    static DbResult Failure(DbStatus status, const QString& text, const QString& description = {})
    {
        return {status, text, description};
    }
};

// One database file. Its password lives in the file's table db_meta (row
// "password"): it keeps the program from opening a foreign file and is no
// encryption. Every connection has the case-insensitive collation, writes its
// journal beside the file and deletes it at commit (journal mode DELETE) and syncs
// fully, so a byte copy of a closed file is a complete database.
class Connection : public QObject {
    Q_OBJECT
public:
    explicit Connection(QObject* parent = nullptr);
    ~Connection() override;

    // "Data Source=<path>;Database Password=<password>" (a value holding ";" is
    // written between double quotes).
    static QString MakeConnectionString(const QString& path, const QString& password);
    void SetConnectionString(const QString& text) { connectionString_ = text; }
    QString ConnectionString() const { return connectionString_; }
    // The file named by the connection string.
    QString Path() const;

    int State() const { return db_ ? 1 : 0; }
    DbResult Open();
    DbResult Open(const QString& path, const QString& password);
    // Creates a new, empty file and opens it without a password: for the tool that
    // builds the shipped databases.
    DbResult OpenNew(const QString& path);
    // Closes the open recordsets first, storing their pending edits (the first
    // failure among them is the result); an open transaction is rolled back.
    DbResult Close();

    // One transaction around the writes of every recordset of this connection until
    // CommitTrans or RollbackTrans; after a rollback the recordsets re-read the file.
    DbResult BeginTrans();
    DbResult CommitTrans();
    DbResult RollbackTrans();
    bool InTransaction() const { return inTransaction_; }

    // One statement with "?" parameters bound to values (never spliced into the
    // text). Open recordsets see its changes after their Resync.
    DbResult Execute(const QString& sql, const QVariantList& parameters = {}, int* rowsChanged = nullptr);
    // A query; every row as a list of its values (INTEGER as qint64, TEXT as QString).
    DbResult Query(const QString& sql, const QVariantList& parameters, QList<QVariantList>* rows);
    // A query whose rows are handed one at a time to onRow.
    DbResult ForEachRow(const QString& sql, const QVariantList& parameters,
                        const std::function<void(const RowReader&)>& onRow);
    // Several statements without parameters, as a schema file holds them.
    DbResult ExecuteScript(const QString& sql);

    // For reading: the open recordsets follow the writes of Execute and the other
    // members, not those made through the handle itself.
    sqlite3* Handle() const { return db_; }
    // The result of the last failed SQLite call, with its message.
    DbResult LastError(const QString& what) const;

private:
    friend class Recordset;
    void attach(Recordset* recordset);
    void detach(Recordset* recordset);
    DbResult openFile(const QString& path, int flags);
    DbResult checkPassword(const QString& password);

    // Readies the open recordsets for a write and counts it.
    void beforeWrite();

    QString connectionString_;
    sqlite3* db_ = nullptr;
    bool inTransaction_ = false;
    QList<Recordset*> recordsets_;
    quint64 writes_ = 0;  // statements that could write, so far
};

// Runs a write: inside the connection's open transaction, or else in one of its own,
// committed when work succeeds and rolled back when it fails.
template <class Work>
DbResult WriteInTransaction(Connection& connection, Work work)
{
    if (connection.InTransaction())
        return work();
    DbResult result = connection.Execute(QStringLiteral("BEGIN IMMEDIATE"));
    if (!result.Ok())
        return result;
    result = work();
    if (result.Ok())
        result = connection.Execute(QStringLiteral("COMMIT"));
    if (!result.Ok())
        std::ignore = connection.Execute(QStringLiteral("ROLLBACK"));  // the first failure is the one to report
    return result;
}

#include "SchemaCheck.h"

namespace {

const QString TablesQuery = QStringLiteral(
    "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY name");

DbResult columnsOf(Connection& connection, const QString& table, QList<QVariantList>* columns)
{
    return connection.Query(QStringLiteral("SELECT name, upper(type), pk FROM pragma_table_info(?)"), {table},
                            columns);
}

}  // namespace

DbResult CheckDatabaseFile(const QString& path, const QString& schemaSql)
{
    Connection reference;
    DbResult result = reference.OpenNew(QStringLiteral(":memory:"));
    if (result.Ok())
        result = reference.ExecuteScript(schemaSql);
    QList<QVariantList> rows;
    if (result.Ok())
        result = reference.Query(QStringLiteral("SELECT value FROM db_meta WHERE name = 'password'"), {}, &rows);
    if (!result.Ok())
        return DbResult::Failure(DbStatus::Error, QStringLiteral("the schema is not usable: %1").arg(result.text));

    Connection database;
    result = database.Open(path, rows.value(0).value(0).toString());
    if (!result.Ok())
        return result;
    result = database.Query(QStringLiteral("PRAGMA integrity_check"), {}, &rows);
    if (!result.Ok())
        return result;
    if (rows.size() != 1 || rows[0].value(0).toString() != QLatin1String("ok"))
        return DbResult::Failure(DbStatus::Error,
                                 QStringLiteral("%1 fails the integrity check: %2")
                                     .arg(path, rows.value(0).value(0).toString()));

    QList<QVariantList> tables;
    result = reference.Query(TablesQuery, {}, &tables);
    for (const QVariantList& table : tables) {
        const QString name = table.value(0).toString();
        QList<QVariantList> expected, actual;
        result = columnsOf(reference, name, &expected);
        if (result.Ok())
            result = columnsOf(database, name, &actual);
        if (!result.Ok())
            return result;
        if (actual.isEmpty())
            return DbResult::Failure(DbStatus::Error, QStringLiteral("%1 has no table %2").arg(path, name));
        if (actual != expected)
            return DbResult::Failure(DbStatus::Error,
                                     QStringLiteral("the table %1 of %2 has other columns").arg(name, path));
    }
    return result;
}

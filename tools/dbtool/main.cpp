// Builds and checks the program's database files. The stock sqlite3 shell cannot
// do either: the tables' unique names use the program's own collation.
//
//   tessaryn_dbtool create <schema.sql> <database>   build a new file from the schema text
//   tessaryn_dbtool check <schema.sql> <database>    integrity and tables; exit status 0 when good
#include "platform/Connection.h"
#include "platform/SchemaCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

int fail(const QString& text)
{
    std::fprintf(stderr, "tessaryn_dbtool: %s\n", text.toUtf8().constData());
    return 1;
}

bool readSchema(const QString& path, QString* schema)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *schema = QString::fromUtf8(file.readAll());
    return true;
}

// The file appears whole or not at all: it is built beside the target and renamed.
int create(const QString& schema, const QString& target)
{
    QDir().mkpath(QFileInfo(target).absolutePath());
    const QString building = target + QStringLiteral(".building");
    QFile::remove(building);
    {
        Connection connection;
        DbResult result = connection.OpenNew(building);
        if (result.Ok())
            result = connection.ExecuteScript(schema);
        if (!result.Ok()) {
            std::ignore = connection.Close();  // the half-built file goes next
            QFile::remove(building);
            return fail(result.text);
        }
    }
    QFile::remove(target);
    if (!QFile::rename(building, target))
        return fail(QStringLiteral("cannot write %1").arg(target));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return fail(QStringLiteral("usage: tessaryn_dbtool create|check <schema.sql> <database>"));
    const QString command = QString::fromLocal8Bit(argv[1]);
    const QString schemaPath = QString::fromLocal8Bit(argv[2]);
    const QString database = QString::fromLocal8Bit(argv[3]);
    QString schema;
    if (!readSchema(schemaPath, &schema))
        return fail(QStringLiteral("cannot read %1").arg(schemaPath));
    if (command == QLatin1String("create"))
        return create(schema, database);
    if (command == QLatin1String("check")) {
        const DbResult result = CheckDatabaseFile(database, schema);
        if (!result.Ok())
            return fail(result.text);
        std::printf("%s: ok\n", database.toUtf8().constData());
        return 0;
    }
    return fail(QStringLiteral("unknown command %1").arg(command));
}

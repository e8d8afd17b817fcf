#include "RegistryStore.h"

#include "FileSystem.h"

namespace {

const QChar Sep = QLatin1Char('\\');

// Rows below a key lie between "<key>\" and "<key>]": "]" follows "\" in the
// collation's order, which compares the case-folded texts.
QVariantList keyRange(QString keyPath)
{
    while (keyPath.endsWith(Sep))
        keyPath.chop(1);
    return {keyPath + Sep, keyPath + QLatin1Char(']')};
}

const QString InRange = QStringLiteral("path >= ? AND path < ?");

// Values are never NULL: an empty text is stored as such.
QVariant storedText(const QString& value) { return value.isNull() ? QStringLiteral("") : value; }

// A value's key must name at least one key, with no empty part.
bool validValuePath(const QString& path)
{
    const int cut = path.lastIndexOf(Sep);
    if (cut <= 0)
        return false;
    const QStringList parts = path.left(cut).split(Sep);
    for (const QString& part : parts) {
        if (part.isEmpty())
            return false;
    }
    return true;
}

// One quoted text of the earlier file form, starting at pos (on the opening quote);
// pos ends after the closing one.
bool unquote(const QString& line, int* pos, QString* text)
{
    if (*pos >= line.size() || line[*pos] != QLatin1Char('"'))
        return false;
    text->clear();
    for (int i = *pos + 1; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('"')) {
            *pos = i + 1;
            return true;
        }
        if (c == Sep && i + 1 < line.size()) {
            const QChar n = line[++i];
            switch (n.unicode()) {
            case 'n': text->append(QLatin1Char('\n')); break;
            case 'r': text->append(QLatin1Char('\r')); break;
            case 't': text->append(QLatin1Char('\t')); break;
            case '0': text->append(QChar(0)); break;
            default: text->append(n);
            }
            continue;
        }
        text->append(c);
    }
    return false;
}

}  // namespace

DbResult RegistryStore::CreateTable(Connection& connection)
{
    return connection.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS registry (path TEXT NOT NULL PRIMARY KEY "
                                             "COLLATE UNICODE_NOCASE, value TEXT NOT NULL)"));
}

bool RegistryStore::Write(const QString& path, const QString& value)
{
    return validValuePath(path)
           && connection_
                  .Execute(QStringLiteral("INSERT INTO registry (path, value) VALUES (?, ?) "
                                          "ON CONFLICT (path) DO UPDATE SET value = excluded.value"),
                           {path, storedText(value)})
                  .Ok();
}

bool RegistryStore::WriteNew(const QString& path, const QString& value)
{
    return validValuePath(path)
           && connection_
                  .Execute(QStringLiteral("INSERT OR IGNORE INTO registry (path, value) VALUES (?, ?)"),
                           {path, storedText(value)})
                  .Ok();
}

ReadResult RegistryStore::Read(const QString& path, QString* value) const
{
    QList<QVariantList> rows;
    if (!connection_.Query(QStringLiteral("SELECT value FROM registry WHERE path = ?"), {path}, &rows).Ok())
        return ReadResult::Failed;
    if (!rows.isEmpty()) {
        *value = rows[0].value(0).toString();
        return ReadResult::Found;
    }
    // A key that exists answers a read of its default value with "".
    if (!path.endsWith(Sep))
        return ReadResult::Missing;
    const ReadResult key = KeyExists(path);
    if (key == ReadResult::Found)
        value->clear();
    return key;
}

bool RegistryStore::Delete(const QString& path)
{
    int removed = 0;
    const DbResult result =
        path.endsWith(Sep)
            ? connection_.Execute(QStringLiteral("DELETE FROM registry WHERE ") + InRange, keyRange(path), &removed)
            : connection_.Execute(QStringLiteral("DELETE FROM registry WHERE path = ?"), {path}, &removed);
    return result.Ok() && removed > 0;
}

ReadResult RegistryStore::KeyExists(const QString& keyPath) const
{
    QList<QVariantList> rows;
    if (!connection_.Query(QStringLiteral("SELECT 1 FROM registry WHERE ") + InRange + QStringLiteral(" LIMIT 1"),
                           keyRange(keyPath), &rows)
             .Ok())
        return ReadResult::Failed;
    return rows.isEmpty() ? ReadResult::Missing : ReadResult::Found;
}

QStringList RegistryStore::SubKeys(const QString& keyPath) const
{
    const QVariantList range = keyRange(keyPath);
    const qsizetype below = range[0].toString().size();
    QStringList names;
    // A read that fails lists nothing, as a key without sub-keys does.
    std::ignore = connection_.ForEachRow(QStringLiteral("SELECT path FROM registry WHERE ") + InRange + QStringLiteral(" ORDER BY path"),
                           range, [&](const RowReader& row) {
                               const QString rest = row.Text(0).mid(below);
                               const qsizetype cut = rest.indexOf(Sep);
                               if (cut <= 0)
                                   return;
                               const QString name = rest.left(cut);
                               if (names.isEmpty() || names.last().compare(name, Qt::CaseInsensitive) != 0)
                                   names.append(name);
                           });
    return names;
}

bool ReadRegistryFile(const QString& path, QList<std::pair<QString, QString>>* values)
{
    values->clear();
    QByteArray bytes;
    if (!FileSystem::ReadAll(path, &bytes))
        return false;
    QString key;
    const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            key = line.mid(1, line.size() - 2);
            continue;
        }
        if (key.isEmpty())
            continue;
        QString name;
        int pos = 0;
        if (line.startsWith(QLatin1Char('@')))
            pos = 1;
        else if (!unquote(line, &pos, &name))
            continue;
        if (pos >= line.size() || line[pos] != QLatin1Char('='))
            continue;
        ++pos;
        QString text;
        if (!unquote(line, &pos, &text))
            continue;
        if (validValuePath(key + Sep + name))
            values->append({key + Sep + name, text});
    }
    return true;
}

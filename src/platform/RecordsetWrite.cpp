// Recordset: reading the table and storing writes.
#include "Recordset.h"

#include "SqlStatement.h"

#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>

namespace {

QString columnList(const QList<FieldInfo>& fields)
{
    QStringList names;
    for (const FieldInfo& field : fields)
        names.append(SqlName(field.name));
    return names.join(QLatin1String(", "));
}

// The largest id the table has handed out; ids are never reused, so no table holds
// more rows. 0 where the file does not say.
qint64 largestId(sqlite3* db, const QString& table)
{
    SqlStatement statement(db, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"));
    if (!statement.Prepared() || !statement.Bind({table}) || sqlite3_step(statement.get()) != SQLITE_ROW)
        return 0;
    return sqlite3_column_int64(statement.get(), 0);
}

}  // namespace

DbResult Recordset::readSchema()
{
    QList<QVariantList> columns;
    const DbResult result =
        connection_.Query(QStringLiteral("PRAGMA table_info(%1)").arg(SqlName(table_)), {}, &columns);
    if (!result.Ok())
        return result;
    fields_.clear();
    idField_ = -1;
    for (const QVariantList& column : columns) {
        FieldInfo field{column.value(1).toString(), ColumnTypeOf(column.value(2).toString())};
        if (column.value(5).toLongLong() == 1 && field.type == ColumnType::Integer)
            idField_ = static_cast<int>(fields_.size());
        fields_.append(field);
    }
    if (fields_.isEmpty())
        return DbResult::Failure(DbStatus::Error, QStringLiteral("%1 has no table %2").arg(connection_.Path(), table_));
    if (idField_ < 0)
        return DbResult::Failure(DbStatus::Error, QStringLiteral("the table %1 has no row id column").arg(table_));
    return {};
}

DbResult Recordset::readRows(Rows* rows, qint64 after, int maxRows, int milliseconds, bool* atEnd) const
{
    sqlite3* db = connection_.Handle();
    if (!db)
        return notOpen();
    // The list is sized once rather than grown: room not yet filled is address
    // space, not memory.
    if (rows->order.empty()) {
        const qint64 bound = std::clamp<qint64>(largestId(db, table_), 0, qint64(1) << 20);
        rows->order.reserve(std::max(rows_.order.size(), size_t(bound)));
    }
    const QString id = SqlName(fields_[idField_].name);
    SqlStatement statement(db, QStringLiteral("SELECT %1 FROM %2 WHERE %3 > ? ORDER BY %3")
                                   .arg(columnList(fields_), SqlName(table_), id));
    if (!statement.Prepared() || !statement.Bind({after}))
        return connection_.LastError(QStringLiteral("reading %1").arg(table_));
    QElapsedTimer clock;
    clock.start();
    int status = SQLITE_ROW;
    for (int read = 0; read != maxRows; ++read) {
        // The clock is read once in a while: a row takes microseconds.
        if (milliseconds >= 0 && read % 64 == 63 && clock.elapsed() >= milliseconds)
            break;
        if ((status = sqlite3_step(statement.get())) != SQLITE_ROW)
            break;
        Row* row = new (rows->store.Take(1)) Row;
        decodeRow(statement.get(), row, rows);
        rows->order.push_back(row);
    }
    if (status != SQLITE_ROW && status != SQLITE_DONE)
        return connection_.LastError(QStringLiteral("reading %1").arg(table_));
    if (atEnd)
        *atEnd = status == SQLITE_DONE;
    return {};
}

Recordset::FileStamp Recordset::fileStamp() const
{
    FileStamp stamp{connection_.writes_, -1};
    SqlStatement statement(connection_.Handle(), QStringLiteral("PRAGMA data_version"));
    if (statement.Prepared() && sqlite3_step(statement.get()) == SQLITE_ROW)
        stamp.version = sqlite3_column_int64(statement.get(), 0);
    return stamp;
}

DbResult Recordset::FetchMore(int milliseconds)
{
    return readOn(-1, milliseconds);
}

DbResult Recordset::readRest() const
{
    // Reading rows that are due changes nothing a whole read at Open would not
    // have given, so the const members may do it.
    return fetching_ ? const_cast<Recordset*>(this)->readOn(-1, -1) : DbResult();
}

void Recordset::beforeWrite()
{
    // The write reports its own failure; a row that cannot be read stays due.
    std::ignore = readRest();
}

DbResult Recordset::readOn(int maxRows, int milliseconds)
{
    if (!fetching_)
        return {};
    const FileStamp stamp = fileStamp();
    if (stamp != readStamp_) {
        // Another connection wrote between two reads: every row is read afresh, so that
        // the rows are of one state of the file.
        Rows rows;
        const DbResult result = readRows(&rows);
        if (!result.Ok())
            return result;
        const qint64 keep = IdAt(FetchedPosition());
        rows_ = std::move(rows);
        fetching_ = false;
        readStamp_ = stamp;
        rebuildView(keep);
        return {};
    }
    const size_t from = rows_.order.size();
    const int before = FetchedCount();
    const bool hadCurrent = FetchedPosition() >= 0;
    bool atEnd = false;
    const DbResult result =
        readRows(&rows_, from > 0 ? rows_.order.back()->id : 0, maxRows, milliseconds, &atEnd);
    for (size_t i = from; i < rows_.order.size(); ++i)
        if (rowVisible(*rows_.order[i]))
            view_.push_back(rows_.order[i]);
    fetching_ = !(result.Ok() && atEnd);
    if (FetchedCount() > before)
        emit RowsAppended(before, FetchedCount() - before);
    if (!hadCurrent && FetchedPosition() >= 0)
        emit CurrentChanged();
    return result;
}

DbResult Recordset::readRow(qint64 id, Row* row)
{
    SqlStatement statement(connection_.Handle(), QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                                     .arg(columnList(fields_), SqlName(table_),
                                                          SqlName(fields_[idField_].name)));
    if (!statement.Prepared() || !statement.Bind({id}) || sqlite3_step(statement.get()) != SQLITE_ROW)
        return connection_.LastError(QStringLiteral("reading back a row of %1").arg(table_));
    decodeRow(statement.get(), row, &rows_);
    return {};
}

void Recordset::decodeRow(sqlite3_stmt* statement, Row* row, Rows* rows) const
{
    const int count = static_cast<int>(fields_.size());
    // Each value is made in its place in the block.
    QVariant* values = rows->values.Take(count);
    for (int i = 0; i < count; ++i) {
        if (fields_[i].type != ColumnType::Text)
            new (values + i) QVariant(ReadValue(statement, i, fields_[i].type));
        else if (const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i)))
            new (values + i)
                QVariant(QVariant::fromValue(rows->texts.Add(QByteArrayView(text, sqlite3_column_bytes(statement, i)))));
        else
            new (values + i) QVariant();
    }
    row->values = values;
    row->id = row->values[idField_].toLongLong();
}

DbResult Recordset::AddNew()
{
    if (!open_)
        return notOpen();
    const DbResult stored = settle();
    if (!stored.Ok())
        return stored;
    idBeforeAdd_ = CurrentId();
    mode_ = Mode::Add;
    pendingValues_.assign(fields_.size(), QVariant());
    pendingSet_.assign(fields_.size(), false);
    emit CurrentChanged();
    return {};
}

DbResult Recordset::settle()
{
    const DbResult read = readRest();
    return read.Ok() ? storePending() : read;
}

DbResult Recordset::Update()
{
    if (!open_)
        return notOpen();
    return storePending();
}

DbResult Recordset::storePending()
{
    switch (mode_) {
    case Mode::None:
        return {};
    case Mode::Add:
        return storeAdded();
    case Mode::Edit:
        return storeEdited();
    }
    return {};
}

DbResult Recordset::storeAdded()
{
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (int i = 0; i < fields_.size(); ++i) {
        if (!pendingSet_[i])
            continue;
        names.append(SqlName(fields_[i].name));
        marks.append(QStringLiteral("?"));
        values.append(pendingValues_[i]);
    }
    const QString sql = names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(SqlName(table_))
                                        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                              .arg(SqlName(table_), names.join(QLatin1String(", ")),
                                                   marks.join(QLatin1String(", ")));
    Row row;
    const DbResult result = WriteInTransaction(connection_, [&] {
        const DbResult inserted = connection_.Execute(sql, values);
        if (!inserted.Ok())
            return inserted;
        return readRow(sqlite3_last_insert_rowid(connection_.Handle()), &row);
    });
    if (!result.Ok())
        return result;
    Row* added = new (rows_.store.Take(1)) Row(row);
    const auto at = std::lower_bound(rows_.order.begin(), rows_.order.end(), added->id,
                                     [](const Row* r, qint64 value) { return r->id < value; });
    rows_.order.insert(at, added);
    pinned_.insert(added->id);
    mode_ = Mode::None;
    insertIntoView(added);
    emit RowsChanged();
    emit CurrentChanged();
    return {};
}

DbResult Recordset::storeEdited()
{
    Row* row = current();
    if (!row) {
        mode_ = Mode::None;
        return DbResult::Failure(DbStatus::Error, QStringLiteral("%1 has no current row").arg(table_));
    }
    QStringList assignments;
    QVariantList values;
    for (int i = 0; i < fields_.size(); ++i) {
        if (!pendingSet_[i])
            continue;
        assignments.append(SqlName(fields_[i].name) + QStringLiteral(" = ?"));
        values.append(pendingValues_[i]);
    }
    values.append(row->id);
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                            .arg(SqlName(table_), assignments.join(QLatin1String(", ")),
                                 SqlName(fields_[idField_].name));
    const DbResult result = WriteInTransaction(connection_, [&] {
        int changed = 0;
        const DbResult updated = connection_.Execute(sql, values, &changed);
        if (updated.Ok() && changed != 1)
            return DbResult::Failure(DbStatus::Error,
                                     QStringLiteral("the row %1 of %2 no longer exists").arg(row->id).arg(table_));
        return updated;
    });
    if (!result.Ok())
        return result;
    for (int i = 0; i < fields_.size(); ++i)
        if (pendingSet_[i])
            row->values[i] = pendingValues_[i];
    pinned_.insert(row->id);
    mode_ = Mode::None;
    emit RowChanged(position_);
    return {};
}

void Recordset::CancelUpdate()
{
    const Mode mode = mode_;
    mode_ = Mode::None;
    if (mode == Mode::Add) {
        for (size_t i = 0; i < view_.size(); ++i)
            if (view_[i]->id == idBeforeAdd_)
                position_ = static_cast<int>(i);
        emit CurrentChanged();
    } else if (mode == Mode::Edit) {
        emit RowChanged(position_);
    }
}

DbResult Recordset::Delete()
{
    if (!open_)
        return notOpen();
    if (mode_ == Mode::Add) {
        CancelUpdate();
        return {};
    }
    if (const DbResult read = readRest(); !read.Ok())
        return read;
    Row* row = current();
    if (!row)
        return DbResult::Failure(DbStatus::Error, QStringLiteral("%1 has no current row").arg(table_));
    const qint64 id = row->id;
    const DbResult result = WriteInTransaction(connection_, [&] {
        return connection_.Execute(
            QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(SqlName(table_), SqlName(fields_[idField_].name)),
            {id});
    });
    if (!result.Ok())
        return result;
    mode_ = Mode::None;
    view_.erase(view_.begin() + position_);
    pinned_.remove(id);
    const auto at = std::lower_bound(rows_.order.begin(), rows_.order.end(), id,
                                     [](const Row* r, qint64 value) { return r->id < value; });
    // The blocks keep the row's place until the next read; its values go now.
    std::fill_n((*at)->values, fields_.size(), QVariant());
    rows_.order.erase(at);
    onDeleted_ = true;
    emit RowsChanged();
    emit CurrentChanged();
    return {};
}

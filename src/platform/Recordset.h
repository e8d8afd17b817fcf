#pragma once

#include "Connection.h"
#include "Criteria.h"
#include "FieldValue.h"
#include "RowBlocks.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QVariant>

#include <vector>

// A table of one connection as a client-side static cursor: Open reads every row
// into memory in table order (by row id); Filter and Sort act on that copy; Resync
// reads the file again. The current row is tracked by its id, so it stays the same
// row through sorts, updates and resyncs, and through a filter it still meets.
//
// Field writes are held on the current row (or on the row AddNew started) until
// Update stores them; moving to another row, AddNew, Find, SetFilter, SetSort,
// Resync and Close store them first, CancelUpdate drops them. Each stored write goes
// to the file at once, in one transaction (or in the connection's open one).
//
// A row added or changed through this recordset stays visible until the filter is
// set again, even when it does not meet the filter.
class Recordset : public QObject {
    Q_OBJECT
public:
    Recordset(Connection& connection, const QString& table, QObject* parent = nullptr);
    ~Recordset() override;

    Connection& ActiveConnection() const { return connection_; }

    int State() const { return open_ ? 1 : 0; }
    // Opens the connection when it is closed; the first row becomes current.
    DbResult Open();
    // Stores pending edits (the result tells how that went), then closes; the
    // filter and sort are dropped.
    DbResult Close();

    // Rows under the filter (a row started by AddNew counts once it is stored).
    int RecordCount() const { return static_cast<int>(view_.size()); }
    DbResult MoveFirst();
    DbResult MoveNext();
    DbResult MovePrevious();
    DbResult MoveLast();
    bool Eof() const;
    bool Bof() const;

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    const QList<FieldInfo>& Fields() const { return fields_; }
    int FieldIndex(const QString& name) const;
    // The current row's value, with a pending write in place; a null QVariant for
    // NULL and where there is no current row.
    QVariant Field(const QString& name) const;
    QVariant Field(int index) const;
    DbResult SetField(const QString& name, const QVariant& value);
    DbResult SetField(int index, const QVariant& value);
    bool EditPending() const { return mode_ != Mode::None; }

    DbResult AddNew();
    // Stores the pending edit; with nothing pending it does nothing and succeeds.
    // After an added row is stored it is current and carries its id.
    DbResult Update();
    void CancelUpdate();
    // Deletes the current row from the file; MoveNext then lands on the row after it.
    DbResult Delete();

    DbResult SetFilter(const QString& criteria);
    QString Filter() const { return filterText_; }
    DbResult SetSort(const QString& sort);
    QString Sort() const { return sortText_; }
    // The first row from the current one on (the current one included) that meets
    // criteria; EOF when there is none.
    DbResult Find(const QString& criteria);
    // Reads every row and value from the file again, keeping filter, sort and the
    // current row.
    DbResult Resync();

    // The current row's id; 0 when there is none (ids start at 1).
    qint64 CurrentId() const;
    // Makes the row with this id current when it is visible.
    bool MoveToId(qint64 id);
    // Position of the current row in the visible rows, -1 when there is none.
    int AbsolutePosition() const;
    DbResult MoveTo(int position);
    // A visible row's stored value, without moving.
    QVariant ValueAt(int position, int field) const;
    qint64 IdAt(int position) const;

signals:
    // The visible rows changed: opened, closed, filtered, sorted, re-read, a row
    // added or deleted.
    void RowsChanged();
    // The stored values of one visible row changed.
    void RowChanged(int position);
    void CurrentChanged();

private:
    friend class Connection;
    // A row as read from the file: one value per field, side by side in the value
    // blocks. A value handed out shares its text with the row; it is no copy.
    struct Row {
        qint64 id = 0;
        QVariant* values = nullptr;
    };
    // The rows read from the file, kept in blocks rather than one allocation each;
    // order holds them by ascending id (table order).
    struct Rows {
        RowBlocks<Row> store;
        std::vector<Row*> order;
        RowBlocks<QVariant> values;
        TextBlocks texts;
    };
    enum class Mode { None, Edit, Add };

    DbResult readSchema();
    DbResult readRows(Rows* rows) const;
    DbResult readRow(qint64 id, Row* row);
    void decodeRow(sqlite3_stmt* statement, Row* row, Rows* rows) const;
    void rebuildView(qint64 keepId);
    void reload();
    bool rowVisible(const Row& row) const;
    void insertIntoView(Row* row);
    Row* current() const;
    std::span<const QVariant> valuesOf(const Row& row) const { return {row.values, size_t(fields_.size())}; }
    DbResult storePending();
    DbResult storeAdded();
    DbResult storeEdited();
    DbResult notOpen() const;
    void setPosition(int position);

    Connection& connection_;
    QString table_;
    QList<FieldInfo> fields_;
    int idField_ = -1;
    bool open_ = false;

    Rows rows_;
    std::vector<Row*> view_;                  // rows under filter and sort
    int position_ = 0;                        // index into view_, -1 BOF, size() EOF
    bool onDeleted_ = false;                  // the current row was just deleted

    QString filterText_;
    Criteria filter_;
    QString sortText_;
    QList<SortKey> sort_;
    QSet<qint64> pinned_;  // added or changed here since the filter was set

    Mode mode_ = Mode::None;
    std::vector<QVariant> pendingValues_;
    std::vector<bool> pendingSet_;
    qint64 idBeforeAdd_ = 0;
};

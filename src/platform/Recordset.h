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
// Open reads only the first rows; the rest follow in table order as a grid asks for
// them (FetchMore), and at once when any other member needs them or before any write
// on the connection. The rows read so far under the filter are the head of the whole
// view, so a grid can show them meanwhile: every answer is the one a whole read gives.
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
    int RecordCount() const;
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

    // For a grid while rows are still to be read: the visible rows read so far, the
    // current row's position among them (-1 when it is not among them), and a read of
    // further rows for about the given time.
    bool Fetching() const { return fetching_; }
    int FetchedCount() const { return static_cast<int>(view_.size()); }
    int FetchedPosition() const;
    DbResult FetchMore(int milliseconds);

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
    // Rows read later met the filter: count rows were added at the end of the view.
    void RowsAppended(int first, int count);

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

    // The file as the rows were read: the connection's own writes and the version
    // that other connections' commits move.
    struct FileStamp {
        quint64 writes = 0;
        qint64 version = 0;
        bool operator==(const FileStamp&) const = default;
    };

    DbResult readSchema();
    // Rows after the id after, in table order, appended to rows: all of them, or at
    // most maxRows, or as many as the time allows; *atEnd tells whether the table's end
    // was met.
    DbResult readRows(Rows* rows, qint64 after = 0, int maxRows = -1, int milliseconds = -1,
                      bool* atEnd = nullptr) const;
    FileStamp fileStamp() const;
    // Reads the rows still to be read; any rows of a changed file are read afresh.
    DbResult readRest() const;
    DbResult readOn(int maxRows, int milliseconds);
    // The connection is about to write: the rows still to be read are read first.
    void beforeWrite();
    DbResult readRow(qint64 id, Row* row);
    void decodeRow(sqlite3_stmt* statement, Row* row, Rows* rows) const;
    void rebuildView(qint64 keepId);
    void reload();
    bool rowVisible(const Row& row) const;
    void insertIntoView(Row* row);
    Row* current() const;
    std::span<const QVariant> valuesOf(const Row& row) const { return {row.values, size_t(fields_.size())}; }
    DbResult storePending();
    // The rows still to be read, then the pending edit: what a move or a new view
    // needs first.
    DbResult settle();
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

    // Rows are still to be read. Until then there is no sort, no pinned row and no
    // pending edit; the current row is among the rows read, or is the first one to come.
    bool fetching_ = false;
    FileStamp readStamp_;

    Mode mode_ = Mode::None;
    std::vector<QVariant> pendingValues_;
    std::vector<bool> pendingSet_;
    qint64 idBeforeAdd_ = 0;
};

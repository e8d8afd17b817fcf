#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QString>
#include <QTimer>

#include <functional>

class Recordset;

// A grid's model bound to a shared recordset: it shows the visible rows in the
// recordset's filter and sort order, follows every change that any user of the
// recordset makes, and writes accepted cell edits straight through (SetField and
// Update on that row). The grid's current row is the recordset's current row.
// While the recordset still reads its rows the model shows those read and, once
// the grid has drawn them, reads the rest in short steps between its events.
class BoundGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit BoundGridModel(Recordset& recordset, QObject* parent = nullptr);

    // Grid column i shows field fields[i]; by default every field in table order.
    void SetColumns(const QList<int>& fields);
    int FieldOf(int column) const;
    void SetHeader(int column, const QString& caption);
    void SetEditable(int column, bool editable);
    // The text a column shows for a value (for example a flag as "Done").
    void SetDisplayFormat(int column, std::function<QString(const QVariant&)> format);
    // Asked before a cell edit is written; false refuses the value and nothing is
    // written.
    void SetValidator(std::function<bool(int column, const QVariant& value)> validator);

    int CurrentRow() const;
    void SetCurrentRow(int row);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // An accepted edit was stored.
    void CellWritten(int row, int column);
    // An edit could not be stored; the cell shows the stored value again.
    void WriteFailed(const QString& error);
    void CurrentRowChanged(int row);

private:
    void reset();
    void appendRows(int first, int count);

    Recordset& recordset_;
    int rows_ = 0;       // the rows shown
    // Reads further rows while the recordset has more, from the grid's first look at
    // its rows on: the first screen is drawn before them.
    mutable QTimer fetchStep_;
    QList<int> columns_;
    bool defaultColumns_ = true;
    QHash<int, QString> headers_;
    QHash<int, bool> editable_;
    QHash<int, std::function<QString(const QVariant&)>> formats_;
    std::function<bool(int, const QVariant&)> validator_;
};

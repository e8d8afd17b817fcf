#include "BoundGridModel.h"

#include "Recordset.h"

namespace {
// A step of reading keeps the grid's events waiting no longer than this.
constexpr int FetchStepMs = 8;
}  // namespace

BoundGridModel::BoundGridModel(Recordset& recordset, QObject* parent)
    : QAbstractTableModel(parent), recordset_(recordset)
{
    fetchStep_.setInterval(0);
    connect(&fetchStep_, &QTimer::timeout, this, [this] { fetchMore({}); });
    connect(&recordset_, &Recordset::RowsChanged, this, &BoundGridModel::reset);
    connect(&recordset_, &Recordset::RowsAppended, this, &BoundGridModel::appendRows);
    connect(&recordset_, &Recordset::RowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount())
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    connect(&recordset_, &Recordset::CurrentChanged, this,
            [this] { emit CurrentRowChanged(recordset_.FetchedPosition()); });
    reset();
}

void BoundGridModel::reset()
{
    beginResetModel();
    if (defaultColumns_) {
        columns_.clear();
        for (int i = 0; i < recordset_.FieldCount(); ++i)
            columns_.append(i);
    }
    rows_ = recordset_.FetchedCount();
    endResetModel();
}

void BoundGridModel::appendRows(int first, int count)
{
    if (first + count <= rows_)
        return;
    beginInsertRows({}, rows_, first + count - 1);
    rows_ = first + count;
    endInsertRows();
}

bool BoundGridModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && recordset_.Fetching();
}

void BoundGridModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid())
        return;
    // A row that cannot be read is tried again when the grid next draws its rows.
    if (!recordset_.FetchMore(FetchStepMs).Ok() || !recordset_.Fetching())
        fetchStep_.stop();
}

void BoundGridModel::SetColumns(const QList<int>& fields)
{
    beginResetModel();
    columns_ = fields;
    defaultColumns_ = false;
    endResetModel();
}

int BoundGridModel::FieldOf(int column) const
{
    return column >= 0 && column < columns_.size() ? columns_[column] : -1;
}

void BoundGridModel::SetHeader(int column, const QString& caption)
{
    headers_[column] = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void BoundGridModel::SetEditable(int column, bool editable)
{
    editable_[column] = editable;
}

void BoundGridModel::SetDisplayFormat(int column, std::function<QString(const QVariant&)> format)
{
    formats_[column] = std::move(format);
    if (rowCount() > 0)
        emit dataChanged(index(0, column), index(rowCount() - 1, column));
}

void BoundGridModel::SetValidator(std::function<bool(int, const QVariant&)> validator)
{
    validator_ = std::move(validator);
}

int BoundGridModel::CurrentRow() const
{
    return recordset_.FetchedPosition();
}

void BoundGridModel::SetCurrentRow(int row)
{
    // Cell edits are stored as they are made, so the move has no edit to store; a row
    // out of range leaves the current row where it was.
    if (row != recordset_.FetchedPosition())
        std::ignore = recordset_.MoveTo(row);
}

int BoundGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int BoundGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || recordset_.State() == 0 ? 0 : static_cast<int>(columns_.size());
}

QVariant BoundGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    if (recordset_.Fetching() && !fetchStep_.isActive())
        fetchStep_.start();
    const QVariant value = recordset_.ValueAt(index.row(), FieldOf(index.column()));
    if (role == Qt::DisplayRole) {
        const auto format = formats_.constFind(index.column());
        if (format != formats_.constEnd())
            return (*format)(value);
    }
    return value;
}

QVariant BoundGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const auto caption = headers_.constFind(section);
    if (caption != headers_.constEnd())
        return *caption;
    const int field = FieldOf(section);
    return field >= 0 && field < recordset_.FieldCount() ? recordset_.Fields()[field].name : QString();
}

Qt::ItemFlags BoundGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && editable_.value(index.column(), false))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool BoundGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !editable_.value(index.column(), false))
        return false;
    if (validator_ && !validator_(index.column(), value))
        return false;
    const qint64 id = recordset_.IdAt(index.row());
    DbResult result;
    if (!recordset_.MoveToId(id))
        result = DbResult::Failure(DbStatus::Error, QStringLiteral("the row is gone"));
    if (result.Ok())
        result = recordset_.SetField(FieldOf(index.column()), value);
    if (result.Ok())
        result = recordset_.Update();
    if (!result.Ok()) {
        recordset_.CancelUpdate();
        emit dataChanged(index, index);
        emit WriteFailed(result.text);
        return false;
    }
    emit CellWritten(recordset_.AbsolutePosition(), index.column());
    return true;
}

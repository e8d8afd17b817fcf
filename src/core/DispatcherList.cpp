#include "DispatcherList.h"

#include "Formats.h"

void DispatcherRows::Append(const DispatcherRow& row, QByteArrayView title, QByteArrayView comment)
{
    rows_.push_back({row.category, texts_.Add(title), texts_.Add(comment), row.date, row.id, row.time, row.oneOff});
}

DispatcherRow DispatcherRows::At(qsizetype index) const
{
    const Kept& row = rows_.at(size_t(index));
    return {row.category, row.title.ToString(), row.comment.ToString(), row.date, row.id, row.time, row.oneOff};
}

void DispatcherList::SetRows(DispatcherRows rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void DispatcherList::Clear() { SetRows({}); }

void DispatcherList::SetHeaders(const QStringList& headers)
{
    headers_ = headers;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QString DispatcherList::DateText(int number) const { return ::DateText(Item(number).date); }

QString DispatcherList::TimeText(int number) const { return ::TimeText(Item(number).time, timeFormat_); }

int DispatcherList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.Size());
}

int DispatcherList::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 7; }

QVariant DispatcherList::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const DispatcherRow row = rows_.At(index.row());
    switch (index.column()) {
    case 0: return row.category;
    case 1: return row.title;
    case 2: return ::DateText(row.date);
    case 3: return ::TimeText(row.time, timeFormat_);
    case 4: return QString::number(row.id);
    case 5: return row.comment;
    case 6: return row.oneOff ? QStringLiteral("True") : QStringLiteral("False");
    default: return {};
    }
}

QVariant DispatcherList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return headers_.value(section);
}

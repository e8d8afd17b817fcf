#include "DispatcherList.h"

#include "Formats.h"

#include <algorithm>

namespace {

// Texts of removed or replaced rows are given back once they outweigh the rest.
constexpr qsizetype SmallestCompaction = 64 * 1024;

int minuteOf(qint32 milliseconds) { return milliseconds < 0 ? 0 : milliseconds / 60000; }

QString textAt(const std::vector<char>& texts, quint32 start, quint32 size)
{
    return size == 0 ? QString() : QString::fromUtf8(texts.data() + start, size);
}

}  // namespace

quint32 DispatcherRows::categoryNumber(QByteArrayView storedName)
{
    const QByteArray key = QByteArray::fromRawData(storedName.data(), storedName.size());
    const auto known = numbers_.constFind(key);
    if (known != numbers_.constEnd())
        return *known;
    const auto number = quint32(categories_.size());
    categories_.append(storedName.toByteArray());
    numbers_.insert(categories_.last(), number);
    return number;
}

quint32 DispatcherRows::keepTexts(QByteArrayView title, QByteArrayView comment, quint32* titleSize,
                                  quint32* commentSize)
{
    const size_t start = texts_.size();
    // Offsets are 32 bits wide: texts beyond 4 GB of them (no real table) are kept empty.
    if (start + size_t(title.size()) + size_t(comment.size()) > std::numeric_limits<quint32>::max()) {
        *titleSize = *commentSize = 0;
        return 0;
    }
    texts_.insert(texts_.end(), title.begin(), title.end());
    texts_.insert(texts_.end(), comment.begin(), comment.end());
    *titleSize = quint32(title.size());
    *commentSize = quint32(comment.size());
    return quint32(start);
}

void DispatcherRows::Append(QByteArrayView storedCategory, QByteArrayView title, QByteArrayView comment,
                            const QDate& date, const QTime& time, qint64 id, bool oneOff)
{
    Kept row{};
    row.id = id;
    row.text = keepTexts(title, comment, &row.titleSize, &row.commentSize);
    row.day = date.isValid() ? qint32(date.toJulianDay()) : NoDay;
    row.time = time.isValid() ? time.msecsSinceStartOfDay() : -1;
    row.category = categoryNumber(storedCategory);
    row.oneOff = oneOff;
    rows_.push_back(row);
}

void DispatcherRows::Squeeze()
{
    rows_.shrink_to_fit();
    texts_.shrink_to_fit();
}

void DispatcherList::SetRows(DispatcherRows rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    shown_.clear();
    for (const QByteArray& stored : std::as_const(rows_.categories_))
        shown_.append(shownName(stored));
    garbage_ = 0;
    findEarliest();
    endResetModel();
}

qsizetype DispatcherList::positionOf(qint64 id) const
{
    const auto& rows = rows_.rows_;
    return std::lower_bound(rows.begin(), rows.end(), id, [](const Kept& row, qint64 key) { return row.id < key; })
           - rows.begin();
}

DispatcherList::Kept DispatcherList::adopted(const DispatcherRows& from, const Kept& row)
{
    Kept kept = row;
    kept.text = rows_.keepTexts(QByteArrayView(from.texts_.data() + row.text, row.titleSize),
                                QByteArrayView(from.texts_.data() + row.text + row.titleSize, row.commentSize),
                                &kept.titleSize, &kept.commentSize);
    const qsizetype known = rows_.categories_.size();
    kept.category = rows_.categoryNumber(from.categories_.at(row.category));
    if (rows_.categories_.size() > known)
        shown_.append(shownName(rows_.categories_.last()));
    return kept;
}

void DispatcherList::Update(const QList<qint64>& ids, const DispatcherRows& read)
{
    auto& rows = rows_.rows_;
    // Earlier by date, then minute, then id (the first of equals in table order).
    auto before = [](const Kept& a, const Kept& b) {
        return std::tuple(a.day, minuteOf(a.time), a.id) < std::tuple(b.day, minuteOf(b.time), b.id);
    };
    std::optional<Kept> earliest;
    if (earliestId_ != 0)
        earliest = rows[size_t(positionOf(earliestId_))];
    bool rescan = false;
    auto fresh = read.rows_.begin();
    for (const qint64 id : ids) {
        while (fresh != read.rows_.end() && fresh->id < id)
            ++fresh;
        const bool found = fresh != read.rows_.end() && fresh->id == id;
        const qsizetype position = positionOf(id);
        const bool listed = position < qsizetype(rows.size()) && rows[size_t(position)].id == id;
        if (listed)
            garbage_ += rows[size_t(position)].titleSize + rows[size_t(position)].commentSize;
        if (found && listed) {
            rows[size_t(position)] = adopted(read, *fresh);
            emit dataChanged(index(int(position), 0), index(int(position), columnCount() - 1));
        } else if (found) {
            beginInsertRows({}, int(position), int(position));
            rows.insert(rows.begin() + position, adopted(read, *fresh));
            endInsertRows();
        } else if (listed) {
            beginRemoveRows({}, int(position), int(position));
            rows.erase(rows.begin() + position);
            endRemoveRows();
        }
        // The earliest row moved later or went: another may be earliest now.
        if (earliest && earliest->id == id && (!found || fresh->day == DispatcherRows::NoDay || before(*earliest, *fresh)))
            rescan = true;
        else if (found && fresh->day != DispatcherRows::NoDay && (!earliest || before(*fresh, *earliest)))
            earliest = *fresh;
    }
    if (rescan)
        findEarliest();
    else
        earliestId_ = earliest ? earliest->id : 0;
    if (garbage_ > SmallestCompaction && garbage_ > qsizetype(rows_.texts_.size()) / 2)
        compactTexts();
}

void DispatcherList::findEarliest()
{
    const Kept* earliest = nullptr;
    for (const Kept& row : rows_.rows_) {
        if (row.day == DispatcherRows::NoDay)
            continue;
        if (!earliest || row.day < earliest->day
            || (row.day == earliest->day && minuteOf(row.time) < minuteOf(earliest->time)))
            earliest = &row;
    }
    earliestId_ = earliest ? earliest->id : 0;
}

void DispatcherList::compactTexts()
{
    std::vector<char> texts;
    texts.reserve(rows_.texts_.size() - size_t(garbage_));
    for (Kept& row : rows_.rows_) {
        const auto start = rows_.texts_.begin() + row.text;
        row.text = quint32(texts.size());
        texts.insert(texts.end(), start, start + row.titleSize + row.commentSize);
    }
    rows_.texts_ = std::move(texts);
    garbage_ = 0;
}

int DispatcherList::Earliest() const
{
    return earliestId_ == 0 ? 0 : int(positionOf(earliestId_)) + 1;
}

DispatcherRow DispatcherList::Item(int number) const
{
    const Kept& row = rows_.rows_.at(size_t(number - 1));
    const std::vector<char>& texts = rows_.texts_;
    return {shown_.at(row.category),
            textAt(texts, row.text, row.titleSize),
            textAt(texts, row.text + row.titleSize, row.commentSize),
            row.day == DispatcherRows::NoDay ? QDate() : QDate::fromJulianDay(row.day),
            row.id,
            row.time < 0 ? QTime() : QTime::fromMSecsSinceStartOfDay(row.time),
            bool(row.oneOff)};
}

QString DispatcherList::shownName(const QByteArray& stored) const
{
    const QString name = QString::fromUtf8(stored);
    for (int b = 0; b < 3; ++b) {
        if (!shownFor_[b].isEmpty() && name == shownFor_[b])
            return shownFor_[3 + b];
    }
    return name;
}

void DispatcherList::ShowCategories(const QString (&stored)[3], const QString (&shown)[3])
{
    if (std::equal(stored, stored + 3, shownFor_) && std::equal(shown, shown + 3, shownFor_ + 3))
        return;
    std::copy(stored, stored + 3, shownFor_);
    std::copy(shown, shown + 3, shownFor_ + 3);
    for (qsizetype number = 0; number < shown_.size(); ++number)
        shown_[number] = shownName(rows_.categories_.at(number));
    if (Count() > 0)
        emit dataChanged(index(0, 0), index(Count() - 1, 0));
}

void DispatcherList::SetHeaders(const QStringList& headers)
{
    headers_ = headers;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QString DispatcherList::DateText(int number) const { return ::DateText(Item(number).date); }

QString DispatcherList::TimeText(int number) const { return ::TimeText(Item(number).time, timeFormat_); }

int DispatcherList::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Count(); }

int DispatcherList::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 7; }

QVariant DispatcherList::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const DispatcherRow row = Item(index.row() + 1);
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

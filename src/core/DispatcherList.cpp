#include "DispatcherList.h"

#include "Formats.h"

#include <algorithm>

namespace {

// Texts of removed or replaced rows are given back once they outweigh the rest.
constexpr qsizetype SmallestCompaction = 64 * 1024;

// Rows a block holds as the reader fills it; a block that grows to twice this splits.
constexpr size_t BlockRows = 2048;

int minuteOf(qint32 milliseconds) { return milliseconds < 0 ? 0 : milliseconds / 60000; }

QString textAt(const std::vector<char>& texts, quint32 start, quint32 size)
{
    return size == 0 ? QString() : QString::fromUtf8(texts.data() + start, size);
}

}  // namespace

quint32 DispatcherRows::categoryNumber(QByteArrayView storedName)
{
    // A table holds few categories: the first ones are compared before any hashing.
    const qsizetype few = std::min<qsizetype>(categories_.size(), 16);
    for (qsizetype number = 0; number < few; ++number) {
        if (categories_[number] == storedName)
            return quint32(number);
    }
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
    if (blocks_.empty() || blocks_.back().rows.size() >= BlockRows) {
        blocks_.emplace_back();
        blocks_.back().rows.reserve(BlockRows);
    }
    insert({blocks_.size() - 1, blocks_.back().rows.size(), size_}, row);
}

void DispatcherRows::Squeeze()
{
    if (!blocks_.empty())
        blocks_.back().rows.shrink_to_fit();
    texts_.shrink_to_fit();
}

// Earlier by date, then by minute, then by id: the first of equals in table order.
bool DispatcherRows::before(const Kept& a, const Kept& b)
{
    return std::tuple(a.day, minuteOf(a.time), a.id) < std::tuple(b.day, minuteOf(b.time), b.id);
}

void DispatcherRows::findEarliest(Block& block)
{
    block.earliest = -1;
    for (size_t i = 0; i < block.rows.size(); ++i) {
        if (block.rows[i].day != NoDay
            && (block.earliest < 0 || before(block.rows[i], block.rows[size_t(block.earliest)])))
            block.earliest = qsizetype(i);
    }
}

DispatcherRows::Place DispatcherRows::placeOf(qint64 id) const
{
    Place place;
    for (; place.block < blocks_.size(); ++place.block) {
        const std::vector<Kept>& rows = blocks_[place.block].rows;
        if (rows.back().id >= id || place.block + 1 == blocks_.size()) {
            place.offset = size_t(std::lower_bound(rows.begin(), rows.end(), id,
                                                   [](const Kept& row, qint64 key) { return row.id < key; })
                                  - rows.begin());
            place.position += qsizetype(place.offset);
            return place;
        }
        place.position += qsizetype(rows.size());
    }
    return place;
}

const DispatcherRows::Kept& DispatcherRows::at(qsizetype position) const
{
    for (const Block& block : blocks_) {
        if (position < qsizetype(block.rows.size()))
            return block.rows[size_t(position)];
        position -= qsizetype(block.rows.size());
    }
    Q_UNREACHABLE();
}

void DispatcherRows::insert(const Place& place, const Kept& row)
{
    if (blocks_.empty())
        blocks_.emplace_back();
    Block& block = blocks_[place.block];
    block.rows.insert(block.rows.begin() + qsizetype(place.offset), row);
    ++size_;
    if (block.earliest >= qsizetype(place.offset))
        ++block.earliest;
    if (row.day != NoDay && (block.earliest < 0 || before(row, block.rows[size_t(block.earliest)])))
        block.earliest = qsizetype(place.offset);
    if (block.rows.size() >= 2 * BlockRows) {
        Block second;
        second.rows.assign(block.rows.begin() + BlockRows, block.rows.end());
        block.rows.resize(BlockRows);
        findEarliest(block);
        findEarliest(second);
        blocks_.insert(blocks_.begin() + qsizetype(place.block) + 1, std::move(second));
    }
}

void DispatcherRows::erase(const Place& place)
{
    Block& block = blocks_[place.block];
    block.rows.erase(block.rows.begin() + qsizetype(place.offset));
    --size_;
    if (block.rows.empty())
        blocks_.erase(blocks_.begin() + qsizetype(place.block));
    else if (block.earliest == qsizetype(place.offset))
        findEarliest(block);
    else if (block.earliest > qsizetype(place.offset))
        --block.earliest;
}

void DispatcherRows::replace(const Place& place, const Kept& row)
{
    Block& block = blocks_[place.block];
    const bool wasEarliest = block.earliest == qsizetype(place.offset);
    block.rows[place.offset] = row;
    if (wasEarliest)
        findEarliest(block);
    else if (row.day != NoDay && (block.earliest < 0 || before(row, block.rows[size_t(block.earliest)])))
        block.earliest = qsizetype(place.offset);
}

qsizetype DispatcherRows::earliest() const
{
    const Kept* best = nullptr;
    qsizetype position = -1;
    qsizetype start = 0;
    for (const Block& block : blocks_) {
        if (block.earliest >= 0 && (!best || before(block.rows[size_t(block.earliest)], *best))) {
            best = &block.rows[size_t(block.earliest)];
            position = start + block.earliest;
        }
        start += qsizetype(block.rows.size());
    }
    return position;
}

template <class Visit>
void DispatcherRows::forEach(Visit visit)
{
    for (Block& block : blocks_) {
        for (Kept& row : block.rows)
            visit(row);
    }
}

void DispatcherList::SetRows(DispatcherRows rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    shown_.clear();
    for (const QByteArray& stored : std::as_const(rows_.categories_))
        shown_.append(shownName(stored));
    garbage_ = 0;
    endResetModel();
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
    std::vector<const Kept*> fresh;
    fresh.reserve(size_t(read.Size()));
    for (const auto& block : read.blocks_) {
        for (const Kept& row : block.rows)
            fresh.push_back(&row);
    }
    auto next = fresh.begin();
    for (const qint64 id : ids) {
        while (next != fresh.end() && (*next)->id < id)
            ++next;
        const bool found = next != fresh.end() && (*next)->id == id;
        const DispatcherRows::Place place = rows_.placeOf(id);
        const bool listed = place.block < rows_.blocks_.size()
                            && place.offset < rows_.blocks_[place.block].rows.size()
                            && rows_.blocks_[place.block].rows[place.offset].id == id;
        const int position = int(place.position);
        if (listed) {
            const Kept& old = rows_.blocks_[place.block].rows[place.offset];
            garbage_ += old.titleSize + old.commentSize;
        }
        if (found && listed) {
            rows_.replace(place, adopted(read, **next));
            emit dataChanged(index(position, 0), index(position, columnCount() - 1));
        } else if (found) {
            beginInsertRows({}, position, position);
            rows_.insert(place, adopted(read, **next));
            endInsertRows();
        } else if (listed) {
            beginRemoveRows({}, position, position);
            rows_.erase(place);
            endRemoveRows();
        }
    }
    if (garbage_ > SmallestCompaction && garbage_ > qsizetype(rows_.texts_.size()) / 2)
        compactTexts();
}

void DispatcherList::compactTexts()
{
    std::vector<char> texts;
    texts.reserve(rows_.texts_.size() - size_t(garbage_));
    const std::vector<char>& old = rows_.texts_;
    rows_.forEach([&](Kept& row) {
        const auto start = old.begin() + row.text;
        row.text = quint32(texts.size());
        texts.insert(texts.end(), start, start + row.titleSize + row.commentSize);
    });
    rows_.texts_ = std::move(texts);
    garbage_ = 0;
}

int DispatcherList::Earliest() const { return int(rows_.earliest()) + 1; }

DispatcherRow DispatcherList::Item(int number) const
{
    const Kept& row = rows_.at(number - 1);
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

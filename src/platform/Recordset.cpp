#include "Recordset.h"

#include <algorithm>

namespace {
// Open reads this many rows, more than a grid shows at once; the rest come later.
constexpr int FirstRows = 1000;

// A filter, sort or find text parsed over the fields; a failure says which text and why.
template <typename Parse>
auto parsedText(const char* kind, const QString& text, const QList<FieldInfo>& fields, Parse parse, DbResult* failure)
{
    QString error;
    auto parsed = parse(text, fields, &error);
    if (!parsed)
        *failure = DbResult::Failure(DbStatus::BadCriteria,
                                     QStringLiteral("%1 \"%2\": %3").arg(QLatin1String(kind), text, error));
    return parsed;
}
}  // namespace

Recordset::Recordset(Connection& connection, const QString& table, QObject* parent)
    : QObject(parent), connection_(connection), table_(table)
{
}

Recordset::~Recordset()
{
    // The windows store their edits before the data environment ends; at this point
    // no one is left to hear of a failure.
    if (open_)
        std::ignore = Close();
}

DbResult Recordset::notOpen() const
{
    return DbResult::Failure(DbStatus::Error, QStringLiteral("the recordset %1 is closed").arg(table_));
}

DbResult Recordset::Open()
{
    if (open_)
        return DbResult::Failure(DbStatus::Error, QStringLiteral("the recordset %1 is already open").arg(table_));
    if (connection_.State() == 0) {
        const DbResult opened = connection_.Open();
        if (!opened.Ok())
            return opened;
    }
    DbResult result = readSchema();
    Rows rows;
    bool atEnd = false;
    const FileStamp stamp = fileStamp();
    if (result.Ok())
        result = readRows(&rows, 0, FirstRows, -1, &atEnd);
    if (!result.Ok())
        return result;
    rows_ = std::move(rows);
    fetching_ = !atEnd;
    readStamp_ = stamp;
    open_ = true;
    connection_.attach(this);
    filterText_.clear();
    filter_ = Criteria();
    sortText_.clear();
    sort_.clear();
    pinned_.clear();
    rebuildView(0);
    return {};
}

DbResult Recordset::Close()
{
    if (!open_)
        return {};
    const DbResult stored = storePending();
    mode_ = Mode::None;
    open_ = false;
    fetching_ = false;
    connection_.detach(this);
    rows_ = Rows();
    view_.clear();
    position_ = 0;
    onDeleted_ = false;
    filterText_.clear();
    filter_ = Criteria();
    sortText_.clear();
    sort_.clear();
    pinned_.clear();
    emit RowsChanged();
    emit CurrentChanged();
    return stored;
}

int Recordset::RecordCount() const
{
    // A row that cannot be read is not counted; the next write reports the failure.
    std::ignore = readRest();
    return static_cast<int>(view_.size());
}

bool Recordset::Eof() const
{
    if (view_.empty())
        std::ignore = readRest();  // the first row may be still to come
    if (mode_ == Mode::Add || onDeleted_)
        return false;
    return position_ >= static_cast<int>(view_.size());
}

bool Recordset::Bof() const
{
    if (view_.empty())
        std::ignore = readRest();
    if (mode_ == Mode::Add || onDeleted_)
        return false;
    return position_ < 0 || view_.empty();
}

void Recordset::setPosition(int position)
{
    position_ = std::clamp(position, -1, static_cast<int>(view_.size()));
    onDeleted_ = false;
    emit CurrentChanged();
}

DbResult Recordset::MoveFirst()
{
    if (!open_)
        return notOpen();
    const DbResult stored = settle();
    if (stored.Ok())
        setPosition(0);
    return stored;
}

DbResult Recordset::MoveLast()
{
    if (!open_)
        return notOpen();
    const DbResult stored = settle();
    if (stored.Ok())
        setPosition(view_.empty() ? 0 : static_cast<int>(view_.size()) - 1);
    return stored;
}

DbResult Recordset::MoveNext()
{
    if (!open_)
        return notOpen();
    const DbResult stored = settle();
    if (!stored.Ok())
        return stored;
    if (onDeleted_)
        setPosition(position_);
    else if (Eof())
        return DbResult::Failure(DbStatus::Error, QStringLiteral("MoveNext at the end of %1").arg(table_));
    else
        setPosition(position_ + 1);
    return {};
}

DbResult Recordset::MovePrevious()
{
    if (!open_)
        return notOpen();
    const DbResult stored = settle();
    if (!stored.Ok())
        return stored;
    if (onDeleted_)
        setPosition(position_ - 1);
    else if (position_ < 0)
        return DbResult::Failure(DbStatus::Error, QStringLiteral("MovePrevious at the start of %1").arg(table_));
    else
        setPosition(position_ - 1);
    return {};
}

DbResult Recordset::MoveTo(int position)
{
    if (!open_)
        return notOpen();
    // A grid moves among the rows it shows, which are read.
    DbResult stored = position >= 0 && position < FetchedCount() ? DbResult() : readRest();
    if (stored.Ok())
        stored = storePending();
    if (stored.Ok())
        setPosition(position);
    return stored;
}

bool Recordset::MoveToId(qint64 id)
{
    if (!open_ || !settle().Ok())
        return false;
    for (size_t i = 0; i < view_.size(); ++i) {
        if (view_[i]->id == id) {
            setPosition(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

Recordset::Row* Recordset::current() const
{
    if (fetching_ && position_ >= static_cast<int>(view_.size()))
        std::ignore = readRest();  // the current row is the first one still to come
    if (!open_ || mode_ == Mode::Add || onDeleted_ || position_ < 0 || position_ >= static_cast<int>(view_.size()))
        return nullptr;
    return view_[position_];
}

qint64 Recordset::CurrentId() const
{
    const Row* row = current();
    return row ? row->id : 0;
}

int Recordset::AbsolutePosition() const
{
    return current() ? position_ : -1;
}

int Recordset::FetchedPosition() const
{
    const bool among = mode_ != Mode::Add && !onDeleted_ && position_ >= 0 && position_ < FetchedCount();
    return open_ && among ? position_ : -1;
}

QVariant Recordset::ValueAt(int position, int field) const
{
    if (position >= FetchedCount())
        std::ignore = readRest();
    if (position < 0 || position >= static_cast<int>(view_.size()) || field < 0 || field >= FieldCount())
        return {};
    return Readable(view_[position]->values[field]);
}

qint64 Recordset::IdAt(int position) const
{
    if (position >= FetchedCount())
        std::ignore = readRest();
    if (position < 0 || position >= static_cast<int>(view_.size()))
        return 0;
    return view_[position]->id;
}

int Recordset::FieldIndex(const QString& name) const
{
    return FieldIndexOf(fields_, name);
}

QVariant Recordset::Field(const QString& name) const
{
    return Field(FieldIndex(name));
}

QVariant Recordset::Field(int index) const
{
    if (index < 0 || index >= FieldCount())
        return {};
    if (mode_ != Mode::None && pendingSet_[index])
        return pendingValues_[index];
    const Row* row = current();
    return row ? Readable(row->values[index]) : QVariant();
}

DbResult Recordset::SetField(const QString& name, const QVariant& value)
{
    const int index = FieldIndex(name);
    if (index < 0)
        return DbResult::Failure(DbStatus::Error, QStringLiteral("%1 has no field %2").arg(table_, name));
    return SetField(index, value);
}

DbResult Recordset::SetField(int index, const QVariant& value)
{
    if (!open_)
        return notOpen();
    if (index < 0 || index >= FieldCount())
        return DbResult::Failure(DbStatus::Error, QStringLiteral("%1 has no field %2").arg(table_).arg(index));
    if (index == idField_)
        return DbResult::Failure(DbStatus::Error, QStringLiteral("the database sets %1").arg(fields_[index].name));
    // An edit waits for the rest of the rows: a write keeps the whole copy in step.
    if (const DbResult read = readRest(); !read.Ok())
        return read;
    if (mode_ == Mode::None && !current())
        return DbResult::Failure(DbStatus::Error, QStringLiteral("%1 has no current row").arg(table_));
    QVariant stored;
    if (!ToColumnValue(fields_[index].type, value, &stored))
        return DbResult::Failure(DbStatus::Error,
                                 QStringLiteral("the value does not fit the field %1").arg(fields_[index].name));
    if (mode_ == Mode::None) {
        mode_ = Mode::Edit;
        pendingValues_.assign(fields_.size(), QVariant());
        pendingSet_.assign(fields_.size(), false);
    }
    pendingValues_[index] = stored;
    pendingSet_[index] = true;
    return {};
}

bool Recordset::rowVisible(const Row& row) const
{
    return (!pinned_.isEmpty() && pinned_.contains(row.id)) || filter_.Matches(valuesOf(row));
}

void Recordset::rebuildView(qint64 keepId)
{
    view_.clear();
    view_.reserve(rows_.order.size());
    for (Row* row : rows_.order)
        if (rowVisible(*row))
            view_.push_back(row);
    if (!sort_.isEmpty()) {
        std::stable_sort(view_.begin(), view_.end(), [this](const Row* a, const Row* b) {
            for (const SortKey& key : sort_) {
                const int order = CompareValues(a->values[key.field], b->values[key.field]);
                if (order != 0)
                    return key.descending ? order > 0 : order < 0;
            }
            return false;
        });
    }
    int position = 0;
    for (size_t i = 0; keepId != 0 && i < view_.size(); ++i) {
        if (view_[i]->id == keepId) {
            position = static_cast<int>(i);
            break;
        }
    }
    position_ = position;
    onDeleted_ = false;
    emit RowsChanged();
    emit CurrentChanged();
}

void Recordset::insertIntoView(Row* row)
{
    auto at = view_.end();
    if (!sort_.isEmpty()) {
        at = std::upper_bound(view_.begin(), view_.end(), row, [this](const Row* a, const Row* b) {
            for (const SortKey& key : sort_) {
                const int order = CompareValues(a->values[key.field], b->values[key.field]);
                if (order != 0)
                    return key.descending ? order > 0 : order < 0;
            }
            return false;
        });
    }
    position_ = static_cast<int>(at - view_.begin());
    view_.insert(at, row);
    onDeleted_ = false;
}

DbResult Recordset::SetFilter(const QString& criteria)
{
    if (!open_)
        return notOpen();
    DbResult result;
    const std::optional<Criteria> parsed = parsedText("filter", criteria, fields_, &Criteria::Parse, &result);
    if (!parsed)
        return result;
    // Without a sort the rows still to come join the new view in their order; a
    // current row still to come must be known to be kept.
    result = sort_.isEmpty() && FetchedPosition() >= 0 ? DbResult() : readRest();
    if (result.Ok())
        result = storePending();
    if (!result.Ok())
        return result;
    filterText_ = criteria;
    filter_ = *parsed;
    pinned_.clear();
    rebuildView(CurrentId());
    return {};
}

DbResult Recordset::SetSort(const QString& sort)
{
    if (!open_)
        return notOpen();
    DbResult result;
    const std::optional<QList<SortKey>> parsed = parsedText("sort", sort, fields_, &ParseSort, &result);
    if (!parsed || !(result = settle()).Ok())
        return result;
    sortText_ = sort;
    sort_ = *parsed;
    rebuildView(CurrentId());
    return {};
}

DbResult Recordset::Find(const QString& criteria)
{
    if (!open_)
        return notOpen();
    DbResult result;
    const std::optional<Criteria> parsed = parsedText("find", criteria, fields_, &Criteria::Parse, &result);
    if (!parsed || !(result = settle()).Ok())
        return result;
    const int count = static_cast<int>(view_.size());
    for (int i = std::max(position_, 0); i < count; ++i) {
        if (parsed->Matches(valuesOf(*view_[i]))) {
            setPosition(i);
            return {};
        }
    }
    setPosition(count);
    return {};
}

DbResult Recordset::Resync()
{
    if (!open_)
        return notOpen();
    const DbResult stored = storePending();
    if (!stored.Ok())
        return stored;
    // While rows are still to come the current row is among those read, or is the
    // first to come, which position 0 keeps.
    const qint64 keep = fetching_ ? IdAt(FetchedPosition()) : CurrentId();
    // A file that no write has touched since the rows were read gives the same rows.
    const FileStamp stamp = fileStamp();
    if (stamp == readStamp_) {
        rebuildView(keep);
        return {};
    }
    Rows rows;
    const DbResult result = readRows(&rows);
    if (!result.Ok())
        return result;
    rows_ = std::move(rows);
    fetching_ = false;
    readStamp_ = stamp;
    rebuildView(keep);
    return {};
}

void Recordset::reload()
{
    Rows rows;
    const FileStamp stamp = fileStamp();
    if (!readRows(&rows).Ok())
        return;
    const qint64 keep = mode_ == Mode::Add ? idBeforeAdd_ : fetching_ ? IdAt(FetchedPosition()) : CurrentId();
    const Mode mode = mode_;
    rows_ = std::move(rows);
    fetching_ = false;
    readStamp_ = stamp;
    rebuildView(keep);
    if (mode == Mode::Edit && CurrentId() != keep)
        mode_ = Mode::None;
}

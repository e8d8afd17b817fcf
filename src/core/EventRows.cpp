#include "EventRows.h"

#include "DBConfig.h"
#include "StepTime.h"

#include <QSocketNotifier>
#include <QTimer>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace {

const QString Columns = QStringLiteral(
    "SELECT Measure_Name, Step_Name, Step_Date, Step_Time, Step_Notes, Step_Rep, Step_Numeric FROM lst_Dates ");

DbResult readRows(Connection& db, const QString& sql, const QVariantList& parameters, DispatcherRows* rows)
{
    return db.ForEachRow(sql, parameters, [rows](const RowReader& row) {
        rows->Append(row.Utf8(0), row.Utf8(1), row.Utf8(4), row.Date(2),
                     row.IsNull(3) ? QTime() : ReadStepTime(row.Utf8(3)), row.Integer(6), row.Boolean(5));
    });
}

// The log's table and its triggers live in the connection's temporary schema, in
// memory: they never reach the file, nor any other connection.
const char* const ChangeLogScript = R"(
CREATE TEMP TABLE IF NOT EXISTS changed_events (id INTEGER PRIMARY KEY);
CREATE TEMP TRIGGER IF NOT EXISTS changed_events_added AFTER INSERT ON main.lst_Dates
BEGIN INSERT OR IGNORE INTO changed_events VALUES (new.Step_Numeric); END;
CREATE TEMP TRIGGER IF NOT EXISTS changed_events_changed AFTER UPDATE ON main.lst_Dates
BEGIN INSERT OR IGNORE INTO changed_events VALUES (old.Step_Numeric), (new.Step_Numeric); END;
CREATE TEMP TRIGGER IF NOT EXISTS changed_events_removed AFTER DELETE ON main.lst_Dates
BEGIN INSERT OR IGNORE INTO changed_events VALUES (old.Step_Numeric); END;
DELETE FROM changed_events;
)";

}  // namespace

DbResult ReadEventRows(Connection& db, DispatcherRows* rows)
{
    const DbResult result = readRows(db, Columns + QStringLiteral("ORDER BY Step_Numeric"), {}, rows);
    rows->Squeeze();
    return result;
}

DbResult ReadEventRows(Connection& db, const QList<qint64>& ids, DispatcherRows* rows)
{
    QByteArray list = "[";
    for (const qint64 id : ids)
        list += QByteArray::number(id) + ',';
    list.back() = ']';
    if (ids.isEmpty())
        list += ']';
    return readRows(db,
                    Columns + QStringLiteral("WHERE Step_Numeric IN (SELECT value FROM json_each(?)) "
                                             "ORDER BY Step_Numeric"),
                    {QString::fromLatin1(list)}, rows);
}

DbResult StartChangeLog(Connection& db)
{
    // Files made before the title and category indexes get them here, once; a file
    // that cannot take them is still read, only slower.
    for (const char* column : {"Step_Name", "Measure_Name"}) {
        const QString name = QStringLiteral("lst_Dates_") + QLatin1String(column);
        QList<QVariantList> found;
        if (db.Query(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?"), {name}, &found)
                .Ok()
            && found.isEmpty())
            std::ignore = db.Execute(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON lst_Dates (%2)")
                                         .arg(name, QLatin1String(column)));
    }
    return db.ExecuteScript(QString::fromLatin1(ChangeLogScript));
}

bool TakeChangedEvents(Connection& db, QList<qint64>* ids)
{
    QList<QVariantList> triggers;
    if (!db.Query(QStringLiteral("SELECT count(*) FROM sqlite_temp_master WHERE type = 'trigger' AND name IN "
                                 "('changed_events_added', 'changed_events_changed', 'changed_events_removed')"),
                  {}, &triggers)
             .Ok()
        || triggers.value(0).value(0).toInt() != 3)
        return false;
    ids->clear();
    if (!db.ForEachRow(QStringLiteral("SELECT id FROM temp.changed_events ORDER BY id"), {},
                       [ids](const RowReader& row) { ids->append(row.Integer(0)); })
             .Ok())
        return false;
    return ids->isEmpty() || db.Execute(QStringLiteral("DELETE FROM temp.changed_events")).Ok();
}

bool EventTitleStored(Connection& db, const QString& title)
{
    QList<QVariantList> rows;
    const DbResult found =
        db.Query(QStringLiteral("SELECT 1 FROM lst_Dates WHERE Step_Name = ? LIMIT 1"), {title}, &rows);
    // A failed look-up asks nothing: the question only warns, and the save that
    // follows meets the same database and says what it finds.
    if (!found.Ok())
        LogDbFailure(QStringLiteral("the look-up of an event title"), found);
    return found.Ok() && !rows.isEmpty();
}

// Shared by the reader and its worker, so that either may end first: a reader gone
// before its rows are in leaves the worker to finish and free them.
struct EventRowsReader::Work {
    QString connectionString;
    DbResult result;
    DispatcherRows rows;
    int done = -1;  // written once the rows are read

    ~Work()
    {
        if (done >= 0)
            ::close(done);
    }

    void read()
    {
        Connection db;
        db.SetConnectionString(connectionString);
        result = db.Open();
        if (result.Ok())
            result = ReadEventRows(db, &rows);
        std::ignore = db.Close();  // only read: nothing to store
    }
};

EventRowsReader::EventRowsReader(const QString& connectionString)
    : work_(std::make_shared<Work>())
{
    work_->connectionString = connectionString;
}

EventRowsReader::~EventRowsReader()
{
    if (notifier_) {
        notifier_->setEnabled(false);
        notifier_->deleteLater();  // its signal may be what ends this reader
    }
}

void EventRowsReader::Start(QObject* context, std::function<void()> done)
{
    work_->done = eventfd(0, EFD_CLOEXEC);
    if (work_->done < 0) {
        // Without a way to be woken, the rows are read at the next turn of the loop.
        QTimer::singleShot(0, context, std::move(done));
        return;
    }
    notifier_ = new QSocketNotifier(qintptr(work_->done), QSocketNotifier::Read, context);
    QObject::connect(notifier_, &QSocketNotifier::activated, context,
                     [notifier = notifier_, done = std::move(done)] {
                         notifier->setEnabled(false);
                         done();
                     });
    // The worker touches result and rows only until it writes the event that Take
    // waits for.
    std::thread([work = work_] {
        work->read();
        std::ignore = eventfd_write(work->done, 1);
    }).detach();
    started_ = true;
}

DbResult EventRowsReader::Take(DispatcherRows* rows)
{
    if (notifier_)
        notifier_->setEnabled(false);
    if (started_) {
        eventfd_t count = 0;
        while (eventfd_read(work_->done, &count) != 0 && errno == EINTR) {
        }
        started_ = false;
    } else {
        work_->read();
    }
    *rows = std::move(work_->rows);
    return work_->result;
}

#pragma once

#include "DispatcherList.h"
#include "platform/Connection.h"

#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>

// Every row of the events table, in table order.
DbResult ReadEventRows(Connection& db, DispatcherRows* rows);
// The rows with these ids (ascending) that the table holds.
DbResult ReadEventRows(Connection& db, const QList<qint64>& ids, DispatcherRows* rows);

// The events table's change log on one connection: the ids of the rows its
// statements have added, changed or removed, kept by triggers in the connection's
// memory. A write that is rolled back leaves nothing in it; the log ends with the
// connection. StartChangeLog begins an empty one (an older file also gets the title
// and category indexes here); TakeChangedEvents hands out the ids and empties the
// log, false when the connection has none (it was opened again since the log began).
DbResult StartChangeLog(Connection& db);
bool TakeChangedEvents(Connection& db, QList<qint64>* ids);

// True when some row's title is exactly this (letter case counts); the title index
// answers it.
bool EventTitleStored(Connection& db, const QString& title);

// Every row read on a connection of its own on a worker thread, so that the start
// need not wait for them. The worker shares nothing with the interface thread: the
// rows pass over when Take has waited for the worker's word that they are read.
class EventRowsReader {
public:
    // For the file the connection string names; nothing is read yet.
    explicit EventRowsReader(const QString& connectionString);
    ~EventRowsReader();
    EventRowsReader(const EventRowsReader&) = delete;
    EventRowsReader& operator=(const EventRowsReader&) = delete;

    // The worker starts reading; done runs on this thread's event loop, for as long
    // as context lives, once the rows are read.
    void Start(QObject* context, std::function<void()> done);
    // The rows, in *rows: waits for the worker, or reads them here when it was never
    // started.
    DbResult Take(DispatcherRows* rows);

private:
    struct Work;
    std::shared_ptr<Work> work_;
    QSocketNotifier* notifier_ = nullptr;
    bool started_ = false;
};

#pragma once

#include "platform/Connection.h"
#include "platform/RegistryStore.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTime>

// An event row of lst_Dates holds the moment its reminder shows (the event's own
// moment, or that moment less its advance notice), and two optional entries under
// the program's registry key, named by the row's id:
//   InAdvance\<id>                  the advance code "0".."4" of a row shown ahead
//   Special\<id>\NextType, \NextInterval   the event's own repeat rule
// The helpers below are the one place that knows these rules.

// A reminder moment; a null time means the event has no time of day.
struct EventMoment {
    QDate date;
    QTime time;
};

// Advance codes 0 to 4: 5 minutes, 10 minutes, 30 minutes, 1 hour, 1 day; 0 for
// any other code.
int AdvanceMinutes(int code);

// The moment an event shown ahead is reminded of. Without a time an advance of
// minutes or an hour counts from midnight (23:55, 23:50, 23:30, 23:00 of the day
// before); a day's advance keeps the time, or its absence. Seconds are dropped.
// Any other code leaves the moment as it is.
EventMoment CalcAdvanceTime(int code, const QDate& date, const QTime& time, bool hasTime);

// The event's own moment from a stored reminder moment and its advance code text
// ("0".."4" exactly; anything else moves nothing). The time given is the one to
// move (a row without a time passes whatever the editor's picker holds).
EventMoment AddAdvanceBack(const QString& code, const QDate& date, const QTime& time);

// Whether an entered moment lies in the past. An earlier day always does; a later
// day never does; today only with a time, which must lie more than two minutes
// (OK) or at least a second (Add) before now.
enum class PastThreshold { TwoMinutes, OneSecond };
bool IsPastMoment(const QDate& date, const QTime& time, bool hasTime, const QDateTime& now,
                  PastThreshold threshold);

// The date of day and month in year, a day past the month's end rolling into the
// next month (29 February becomes 1 March in a year without it). Not the clamping
// addition of repeat steps.
QDate DateWithDayOverflow(int year, int month, int day);
// A past date moved to the next occurrence of its day and month that is not
// before today: this year while it is still ahead, otherwise next year.
QDate NextOccurrenceOfDay(const QDate& date, const QDate& today);
// The comment of an event whose past date was moved: the note, then the user's
// own comment on a line of its own.
QString MovedDateComment(const QString& note, const QString& comment);

// The fields of a row to add; a null time or comment is stored as NULL.
struct EventRow {
    QString category;  // stored name, "_QM_" for a quick reminder
    QString title;
    QDate date;
    QVariant time;
    QVariant notes;
    bool oneOff = false;
};
// Adds a row and gives its id: through rsCommand3 while it is open, so that the
// views over it follow, else by one statement that reads no other row. Inside the
// events connection's open transaction it commits with the rest.
DbResult AddEventRow(const EventRow& row, qint64* id);

// Deletes a row: through rsCommand3 while it is open and shows the row, else by one
// statement. found tells whether the row was there.
DbResult DeleteEventRow(qint64 id, bool* found);

// Adds a reminder without a time of day: a category's stored name, the title, the
// date and, when not empty, the comment. No registry entries are written and the
// event list is not refreshed: the dispatcher picks the row up at its next refresh.
DbResult AddDayReminder(const QString& storedCategory, const QString& title, const QDate& date,
                        const QString& notes);

// Registry names of an event's entries.
QString InAdvanceValuePath(qint64 id);
QString SpecialKeyPath(qint64 id);  // ends in "\"

// The event's own rule; Found only when both values exist.
[[nodiscard]] ReadResult ReadEventRule(qint64 id, QString* nextType, QString* nextInterval);
// The advance code text; Missing when the row is not shown ahead.
[[nodiscard]] ReadResult ReadAdvanceCode(qint64 id, QString* code);

// A change of the registry store: a value written, or a value or key (a path
// ending in "\") removed when it is there; one that cannot be read fails the change.
struct EntryChange {
    QString path;
    QString value;
    bool remove = false;
};
// The advance entry of a row: written for a code 0..4, removed for -1.
QList<EntryChange> AdvanceEntryChanges(qint64 id, int code);
// The own rule of a row: written for a non-empty letter (count as decimal text),
// removed for an empty one.
QList<EntryChange> SpecialEntryChanges(qint64 id, const QString& letter, int count);
// Both entries of a row removed.
QList<EntryChange> RemoveEventEntries(qint64 id);
// Applies every change on the events connection: inside its open transaction, where
// they commit with the rows, or else in one of their own; all of them or none.
DbResult WriteEntries(const QList<EntryChange>& changes);

// Ends the transaction of a save that touches rows and entries: committed when every
// step worked, else rolled back, the failure's own words written to standard error.
// True when the save is stored.
[[nodiscard]] bool EndSave(Connection& db, const DbResult& result);

#include "EventRecord.h"

#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/RegData.h"

namespace {

constexpr int MinutesPerDay = 24 * 60;

int minuteOfDay(const QTime& time) { return time.hour() * 60 + time.minute(); }

QTime timeOfMinute(int minute)
{
    const int wrapped = ((minute % MinutesPerDay) + MinutesPerDay) % MinutesPerDay;
    return QTime(wrapped / 60, wrapped % 60);
}

int advanceCodeOf(const QString& text)
{
    static const QString codes[] = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                                    QStringLiteral("3"), QStringLiteral("4")};
    for (int code = 0; code < 5; ++code) {
        if (text == codes[code])
            return code;
    }
    return -1;
}

}  // namespace

int AdvanceMinutes(int code)
{
    static const int minutes[] = {5, 10, 30, 60, MinutesPerDay};
    return code >= 0 && code < 5 ? minutes[code] : 0;
}

EventMoment CalcAdvanceTime(int code, const QDate& date, const QTime& time, bool hasTime)
{
    const QTime plain = hasTime && time.isValid() ? QTime(time.hour(), time.minute()) : QTime();
    if (code == 4)
        return {date.addDays(-1), plain};
    const int advance = AdvanceMinutes(code);
    if (advance == 0)
        return {date, plain};
    if (!plain.isValid())
        return {date.addDays(-1), timeOfMinute(MinutesPerDay - advance)};
    const int minute = minuteOfDay(plain);
    return {minute < advance ? date.addDays(-1) : date, timeOfMinute(minute - advance)};
}

EventMoment AddAdvanceBack(const QString& codeText, const QDate& date, const QTime& time)
{
    const int code = advanceCodeOf(codeText);
    if (code == 4)
        return {date.addDays(1), time};
    const int advance = AdvanceMinutes(code);
    if (advance == 0 || !time.isValid())
        return {date, time};
    const int minute = minuteOfDay(time);
    return {minute + advance >= MinutesPerDay ? date.addDays(1) : date, timeOfMinute(minute + advance)};
}

bool IsPastMoment(const QDate& date, const QTime& time, bool hasTime, const QDateTime& now,
                  PastThreshold threshold)
{
    const QDate today = now.date();
    if (date != today)
        return date < today;
    if (!hasTime || !time.isValid())
        return false;
    if (threshold == PastThreshold::TwoMinutes)
        return minuteOfDay(now.time()) - minuteOfDay(time) > 2;
    return time.secsTo(now.time()) >= 1;
}

QDate DateWithDayOverflow(int year, int month, int day) { return QDate(year, month, 1).addDays(day - 1); }

QDate NextOccurrenceOfDay(const QDate& date, const QDate& today)
{
    const QDate thisYear = DateWithDayOverflow(today.year(), date.month(), date.day());
    return thisYear >= today ? thisYear : DateWithDayOverflow(today.year() + 1, date.month(), date.day());
}

QString MovedDateComment(const QString& note, const QString& comment)
{
    return comment.isEmpty() ? note : note + QLatin1Char('\n') + comment;
}

DbResult AddEventRow(const EventRow& row, qint64* id)
{
    const QVariant values[] = {row.category, row.title, row.date, row.time, row.notes, row.oneOff};
    static const char* const names[] = {"Measure_Name", "Step_Name", "Step_Date", "Step_Time", "Step_Notes", "Step_Rep"};
    Recordset& rs = DataEnvironment1().rsCommand3;
    if (rs.State() == 0) {
        Connection& db = rs.ActiveConnection();
        OpenIfClosed(db);
        QList<QVariantList> added;
        const DbResult result = db.Query(QStringLiteral("INSERT INTO lst_Dates (Measure_Name, Step_Name, Step_Date, "
                                                        "Step_Time, Step_Notes, Step_Rep) VALUES (?, ?, ?, ?, ?, ?) "
                                                        "RETURNING Step_Numeric"),
                                         {values[0], values[1], values[2], values[3], values[4], values[5]}, &added);
        if (result.Ok())
            *id = added.value(0).value(0).toLongLong();
        return result;
    }
    DbResult result = rs.AddNew();
    for (int i = 0; i < 6 && result.Ok(); ++i) {
        if (!IsNullValue(values[i]))
            result = rs.SetField(QString::fromLatin1(names[i]), values[i]);
    }
    if (result.Ok())
        result = rs.Update();
    if (!result.Ok()) {
        rs.CancelUpdate();
        return result;
    }
    *id = rs.CurrentId();
    return result;
}

DbResult DeleteEventRow(qint64 id, bool* found)
{
    Recordset& rs = DataEnvironment1().rsCommand3;
    if (rs.State() != 0 && rs.MoveToId(id)) {
        *found = true;
        return rs.Delete();
    }
    Connection& db = rs.ActiveConnection();
    OpenIfClosed(db);
    int deleted = 0;
    const DbResult result =
        db.Execute(QStringLiteral("DELETE FROM lst_Dates WHERE Step_Numeric = ?"), {id}, &deleted);
    *found = deleted > 0;
    return result;
}

DbResult AddDayReminder(const QString& storedCategory, const QString& title, const QDate& date,
                        const QString& notes)
{
    qint64 id = 0;
    return AddEventRow({storedCategory, title, date, QVariant(), notes.isEmpty() ? QVariant() : QVariant(notes)}, &id);
}

QString InAdvanceValuePath(qint64 id) { return ProgramKey() + QStringLiteral("InAdvance\\") + QString::number(id); }

QString SpecialKeyPath(qint64 id)
{
    return ProgramKey() + QStringLiteral("Special\\") + QString::number(id) + QLatin1Char('\\');
}

ReadResult ReadEventRule(qint64 id, QString* nextType, QString* nextInterval)
{
    return RegReadRule(SpecialKeyPath(id), nextType, nextInterval);
}

ReadResult ReadAdvanceCode(qint64 id, QString* code) { return RegRead(InAdvanceValuePath(id), code); }

QList<EntryChange> AdvanceEntryChanges(qint64 id, int code)
{
    if (code >= 0 && code < 5)
        return {{InAdvanceValuePath(id), QString::number(code)}};
    return {{InAdvanceValuePath(id), QString(), true}};
}

QList<EntryChange> SpecialEntryChanges(qint64 id, const QString& letter, int count)
{
    if (letter.isEmpty())
        return {{SpecialKeyPath(id), QString(), true}};
    return {{SpecialKeyPath(id) + QStringLiteral("NextType"), letter},
            {SpecialKeyPath(id) + QStringLiteral("NextInterval"), QString::number(count)}};
}

QList<EntryChange> RemoveEventEntries(qint64 id)
{
    return {{SpecialKeyPath(id), QString(), true}, {InAdvanceValuePath(id), QString(), true}};
}

DbResult WriteEntries(const QList<EntryChange>& changes)
{
    Connection& db = DataEnvironment1().Connection1;
    OpenIfClosed(db);
    return WriteInTransaction(db, [&] {
        for (const EntryChange& change : changes) {
            QString current;
            const ReadResult there = change.remove ? RegRead(change.path, &current) : ReadResult::Missing;
            if (there == ReadResult::Failed)
                return DbResult::Failure(DbStatus::Error, QStringLiteral("the registry entry %1 could not be read").arg(change.path));
            const bool done = change.remove ? there == ReadResult::Missing || RegDelete(change.path)
                                            : RegWrite(change.path, change.value);
            if (!done)
                return DbResult::Failure(DbStatus::Error, QStringLiteral("the registry entry %1 was refused").arg(change.path));
        }
        return DbResult();
    });
}

bool EndSave(Connection& db, const DbResult& result)
{
    const DbResult ended = result.Ok() ? db.CommitTrans() : result;
    if (ended.Ok())
        return true;
    LogDbFailure(QStringLiteral("save"), ended);
    // The failure to report is the save's; the rollback only takes its rows back.
    if (db.InTransaction())
        std::ignore = db.RollbackTrans();
    return false;
}

#include "CrashCases.h"

#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/MeasureNames.h"
#include "core/Options.h"
#include "core/RegData.h"
#include "core/SourceText.h"
#include "core/StartCleanUp.h"
#include "core/clsINI.h"
#include "core/frmProcess.h"
#include "events/EventRecord.h"
#include "mainwin/CategoryRename.h"
#include "mainwin/MeasureRecord.h"
#include "events/frmCaseMsr.h"
#include "events/frmMesAdd.h"
#include "events/frmOptions.h"
#include "events/frmOrg.h"
#include "events/frmWindow.h"
#include "phonebook/ContactRecord.h"
#include "phonebook/frmCntTable.h"
#include "platform/Clock.h"
#include "platform/Connection.h"
#include "platform/Controls.h"
#include "platform/DateField.h"
#include "platform/FileDialog.h"
#include "platform/KnownFolders.h"
#include "platform/MsgBox.h"
#include "platform/Recordset.h"
#include "support/Require.h"
#include "support/SaveCases.h"
#include "support/TestEnv.h"
#include "tools/BackupRestore.h"
#include "tools/frmBus.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHash>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSet>
#include <QTimeEdit>

#include <optional>

namespace {

// A token no other child hands out: the child's process id and the save's number.
QString token(int number) { return QStringLiteral("%1-%2").arg(QCoreApplication::applicationPid()).arg(number); }

QString systemFile(const char* name) { return KnownFolders::UserDataFolder() + s("/System/") + s(name); }

// The last acknowledged token that starts with prefix, without the prefix.
QString lastAcknowledged(const QStringList& acknowledged, const QString& prefix = QString())
{
    for (qsizetype i = acknowledged.size() - 1; i >= 0; --i) {
        if (acknowledged[i].startsWith(prefix))
            return acknowledged[i].mid(prefix.size());
    }
    return {};
}

StoreFaults fault(StoreFaults faults, bool StoreFaults::*kind, const QString& detail)
{
    if (!(faults.*kind) && faults.detail.isEmpty())
        faults.detail = detail;
    faults.*kind = true;
    return faults;
}

// ---- The events database as a kill left it, read without the program's code -----

struct SeenRow {
    qint64 id = 0;
    QString title;
    QDateTime moment;  // date and time of day (midnight for none)
    QString time;
    bool oneOff = false;
};

struct SeenEntries {
    QString type;
    QString interval;
    QString advance;
    bool operator==(const SeenEntries&) const = default;
};

struct EventStores {
    StoreFaults faults;
    QList<SeenRow> rows;
    QHash<qint64, SeenEntries> entries;
};

bool openWhole(Connection* db, const char* file, const char* password, StoreFaults* faults)
{
    QList<QVariantList> rows;
    if (!db->Open(systemFile(file), s(password)).Ok() || !db->Query(s("PRAGMA integrity_check"), {}, &rows).Ok()
        || rows.value(0).value(0).toString() != s("ok")) {
        *faults = fault(*faults, &StoreFaults::damaged, s("%1 does not read back whole").arg(s(file)));
        return false;
    }
    return true;
}

QTime storedTime(const QString& text)
{
    const QTime time = QTime::fromString(text, s("HH:mm:ss"));
    return time.isValid() ? time : QTime::fromString(text, s("HH:mm"));
}

// Every event row and every Special and InAdvance entry; an entry whose row is gone
// puts the stores out of step whatever the case.
EventStores readEventStores()
{
    EventStores stores;
    Connection db;
    if (!openWhole(&db, "tesryn.db", "qk_mirtolven", &stores.faults))
        return stores;
    QSet<qint64> ids;
    Require(db.ForEachRow(s("SELECT Step_Numeric, Step_Name, Step_Date, Step_Time, Step_Rep FROM lst_Dates ORDER BY Step_Numeric"),
                  {}, [&](const RowReader& row) {
                      SeenRow seen{row.Integer(0), row.Text(1), {}, row.Text(3), row.Boolean(4)};
                      const QTime time = storedTime(seen.time);
                      seen.moment = QDateTime(row.Date(2), time.isValid() ? time : QTime(0, 0));
                      stores.rows.append(seen);
                      ids.insert(seen.id);
                  }));
    const QString special = ProgramKey() + s("Special\\");
    const QString advance = ProgramKey() + s("InAdvance\\");
    Require(db.ForEachRow(s("SELECT path, value FROM registry"), {}, [&](const RowReader& row) {
        const QString path = row.Text(0);
        const bool isSpecial = path.startsWith(special, Qt::CaseInsensitive);
        if (!isSpecial && !path.startsWith(advance, Qt::CaseInsensitive))
            return;
        const QString rest = path.mid(isSpecial ? special.size() : advance.size());
        const qint64 id = rest.section(QLatin1Char('\\'), 0, 0).toLongLong();
        SeenEntries& entry = stores.entries[id];
        const QString name = rest.section(QLatin1Char('\\'), 1);
        if (!isSpecial)
            entry.advance = row.Text(1);
        else if (name.compare(s("NextType"), Qt::CaseInsensitive) == 0)
            entry.type = row.Text(1);
        else
            entry.interval = row.Text(1);
        if (!ids.contains(id))
            stores.faults = fault(stores.faults, &StoreFaults::outOfStep, s("an entry of the gone row %1").arg(id));
    }));
    return stores;
}

QList<SeenRow> rowsTitled(const EventStores& stores, const QString& prefix, bool oneOff = false)
{
    QList<SeenRow> found;
    for (const SeenRow& row : stores.rows) {
        if (row.title.startsWith(prefix) && row.oneOff == oneOff)
            found.append(row);
    }
    return found;
}

void expectEntries(EventStores* stores, qint64 id, const SeenEntries& expected)
{
    if (stores->entries.value(id) != expected)
        stores->faults = fault(stores->faults, &StoreFaults::outOfStep, s("row %1 without its own entries").arg(id));
}

// A row with its entries, committed together; its id.
qint64 writeEventRow(const QString& title, const QString& time, const SeenEntries& entries)
{
    Connection& db = DataEnvironment1().Connection1;
    OpenIfClosed(db);
    Require(db.BeginTrans());
    qint64 id = 0;
    Require(AddEventRow({s("Meetings"), title, Clock::Today().addDays(30), time, QVariant()}, &id));
    QList<EntryChange> changes;
    if (!entries.type.isEmpty())
        changes = SpecialEntryChanges(id, entries.type, entries.interval.toInt());
    if (!entries.advance.isEmpty())
        changes += AdvanceEntryChanges(id, entries.advance.toInt());
    Require(WriteEntries(changes));
    Require(db.CommitTrans());
    return id;
}

const SeenEntries WeeklyAhead{s("w"), s("1"), s("1")};
const SeenEntries Weekly{s("w"), s("1"), QString()};

// A new event of the built-in Meetings in 30 days at 10:00, ten minutes ahead.
frmMesAdd& editorFor(const QString& title, bool ahead)
{
    frmMesAdd& editor = Forms::Get<frmMesAdd>();
    editor.SetCategory(GetOwnText(s("evn2")), s("Meetings"));
    editor.Text1->setText(title);
    editor.DTPicker1->setDate(Clock::Today().addDays(30));
    editor.Check1->setChecked(true);
    editor.DTPicker2->setTime(QTime(10, 0));
    if (ahead) {
        editor.Option2->setChecked(true);
        SelectEntry(editor.Combo1, 1);
    } else {
        editor.Option1->setChecked(true);
    }
    editor.Check3->setChecked(ahead);
    if (ahead)
        SelectEntry(editor.Combo2, 2);
    return editor;
}

// The window closed: the save went through.
template <class Window>
QString acknowledgedIfClosed(const QString& ack)
{
    if (!Forms::IsLoaded<Window>())
        return ack;
    Forms::Unload<Window>();
    return {};
}

// ---- Event editor: a new event, two separate rows, a weekly rule, 10 minutes ahead -

QString saveNewEvent(int number, const std::function<void()>& begin)
{
    const QString ack = token(number);
    frmMesAdd& editor = editorFor(s("Save ") + ack, true);
    editor.Check2->setChecked(true);
    begin();
    editor.Command0_Click();
    return acknowledgedIfClosed<frmMesAdd>(ack);
}

StoreFaults checkNewEvents(const QStringList& acknowledged)
{
    EventStores stores = readEventStores();
    QHash<QString, QList<SeenRow>> saves;
    for (const SeenRow& row : rowsTitled(stores, s("Save ")))
        saves[row.title.mid(5)].append(row);
    for (const auto& [ack, rows] : saves.asKeyValueRange()) {
        if (rows.size() != 2 || rows[1].id != rows[0].id + 1 || rows[0].time != s("10:00")
            || rows[1].time != s("09:50")) {
            stores.faults = fault(stores.faults, &StoreFaults::outOfStep, s("the save %1 without both rows").arg(ack));
            continue;
        }
        expectEntries(&stores, rows[0].id, Weekly);
        expectEntries(&stores, rows[1].id, WeeklyAhead);
    }
    for (const QString& ack : acknowledged) {
        if (!saves.contains(ack))
            stores.faults = fault(stores.faults, &StoreFaults::lost, s("the save %1").arg(ack));
    }
    return stores.faults;
}

// ---- Event editor: the planner's row edited, by turns ahead with a rule and not ---

void prepareEditedEvent() { writeEventRow(s("Edit 0"), s("10:00"), {}); }

QString saveEditedEvent(int, const std::function<void()>& begin)
{
    Recordset& rs = DataEnvironment1().rsCommand3;
    OpenIfClosed(rs);
    QList<QVariantList> found;
    Require(rs.ActiveConnection().Query(s("SELECT Step_Numeric, Step_Name FROM lst_Dates WHERE Step_Name LIKE 'Edit %'"), {},
                                &found));
    if (found.size() != 1 || !rs.MoveToId(found[0][0].toLongLong()))
        return {};
    const int next = found[0][1].toString().mid(5).toInt() + 1;
    frmMesAdd& editor = editorFor(s("Edit %1").arg(next), next % 2 == 0);
    editor.SetEditMode(found[0][0].toLongLong(), found[0][1].toString());
    begin();
    editor.Command3_Click();
    return acknowledgedIfClosed<frmMesAdd>(QString::number(next));
}

StoreFaults checkEditedEvent(const QStringList& acknowledged)
{
    EventStores stores = readEventStores();
    const QList<SeenRow> rows = rowsTitled(stores, s("Edit "));
    if (rows.size() != 1)
        return fault(stores.faults, &StoreFaults::outOfStep, s("%1 edited rows").arg(rows.size()));
    const int number = rows[0].title.mid(5).toInt();
    const bool ahead = number % 2 == 0 && number > 0;
    if (rows[0].time != (ahead ? s("09:50") : s("10:00")))
        stores.faults = fault(stores.faults, &StoreFaults::outOfStep, s("the edit %1 at %2").arg(number).arg(rows[0].time));
    expectEntries(&stores, rows[0].id, ahead ? WeeklyAhead : SeenEntries());
    if (number < lastAcknowledged(acknowledged).toInt())
        stores.faults = fault(stores.faults, &StoreFaults::lost, s("the edit %1").arg(lastAcknowledged(acknowledged)));
    return stores.faults;
}

// ---- Planner: Delete of a row with both entries, answered Yes ----------------------

QString deletePlannerRow(int number, const std::function<void()>& begin)
{
    frmOrg& planner = Forms::Get<frmOrg>();
    Recordset& rs = DataEnvironment1().rsCommand3;
    const qint64 id = writeEventRow(s("Del ") + token(number), s("09:50"), WeeklyAhead);
    if (!rs.MoveToId(id))
        return {};
    begin();
    planner.DeleteEvent();
    return rs.MoveToId(id) ? QString() : QString::number(id);
}

StoreFaults checkPlannerRows(const QStringList& acknowledged)
{
    EventStores stores = readEventStores();
    QSet<qint64> ids;
    for (const SeenRow& row : rowsTitled(stores, s("Del "))) {
        expectEntries(&stores, row.id, WeeklyAhead);
        ids.insert(row.id);
    }
    for (const QString& ack : acknowledged) {
        if (ids.contains(ack.toLongLong()))
            stores.faults = fault(stores.faults, &StoreFaults::lost, s("the delete of row %1").arg(ack));
    }
    return stores.faults;
}

// ---- Contact card: Remind, the anniversary as a day's reminder ---------------------

QString remindOfContact(int number, const std::function<void()>& begin)
{
    frmCaseMsr& dialog = Forms::Get<frmCaseMsr>();
    dialog.Surname = s("Card");
    dialog.GivenName = token(number);
    dialog.Anniversary = QDate(1990, 5, 17);
    begin();
    dialog.Command1_Click();
    return acknowledgedIfClosed<frmCaseMsr>(dialog.GivenName);
}

StoreFaults checkContactReminders(const QStringList& acknowledged)
{
    EventStores stores = readEventStores();
    QSet<QString> saved;
    for (const SeenRow& row : rowsTitled(stores, s("Card "))) {
        saved.insert(row.title.section(QLatin1Char(' '), 1, 1));
        expectEntries(&stores, row.id, {});
    }
    for (const QString& ack : acknowledged) {
        if (!saved.contains(ack))
            stores.faults = fault(stores.faults, &StoreFaults::lost, s("the reminder of %1").arg(ack));
    }
    return stores.faults;
}

// ---- Reminder window: close and snooze of a weekly event 10 minutes ahead ----------

void prepareWeekly(const QString& title) { writeEventRow(title, s("09:50"), WeeklyAhead); }
void prepareClosed() { prepareWeekly(s("Closed")); }
void prepareSnoozed() { prepareWeekly(s("Snoozed")); }

// Brings the event's reminder up at its moment and answers it: a snooze by 5
// minutes, or the title bar's close. The acknowledgement is the moved row's date.
QString answerReminder(const QString& title, bool snooze, const std::function<void()>& begin)
{
    Connection& db = DataEnvironment1().Connection1;
    OpenIfClosed(db);
    // The copies of earlier snoozes would come up first.
    Require(db.Execute(s("DELETE FROM lst_Dates WHERE Step_Name = ? AND Step_Rep = 1"), {title}));
    const auto regular = [&] {
        QList<QVariantList> found;
        Require(db.Query(s("SELECT Step_Date, Step_Time FROM lst_Dates WHERE Step_Name = ? AND Step_Rep = 0"), {title}, &found));
        return found.size() == 1 ? std::optional(QDateTime(QDate::fromString(found[0][0].toString(), Qt::ISODate),
                                                           storedTime(found[0][1].toString())))
                                 : std::nullopt;
    };
    const std::optional<QDateTime> fired = regular();
    if (!fired)
        return {};
    Clock::SetFixed(*fired);
    frmProcess& process = Forms::Get<frmProcess>();
    process.DateRefresh();
    process.Timer1_Timer();
    frmWindow* window = Forms::Find<frmWindow>();
    if (!window || CurrentReminderStage() != ReminderStage::Showing)
        return {};
    begin();
    if (snooze)
        window->Command1_Click(0);
    else
        window->close();
    QCoreApplication::processEvents();
    const std::optional<QDateTime> moved = regular();
    return moved && *moved > *fired && !Forms::Find<frmWindow>() ? moved->date().toString(Qt::ISODate) : QString();
}

QString closeReminder(int, const std::function<void()>& begin) { return answerReminder(s("Closed"), false, begin); }
QString snoozeReminder(int, const std::function<void()>& begin) { return answerReminder(s("Snoozed"), true, begin); }

StoreFaults checkAnswered(const QString& title, const QStringList& acknowledged)
{
    EventStores stores = readEventStores();
    const QList<SeenRow> regular = rowsTitled(stores, title);
    if (regular.size() != 1)
        return fault(stores.faults, &StoreFaults::outOfStep, s("%1 rows of the event").arg(regular.size()));
    expectEntries(&stores, regular[0].id, WeeklyAhead);
    for (const SeenRow& copy : rowsTitled(stores, title, true)) {
        expectEntries(&stores, copy.id, {});
        if (copy.moment >= regular[0].moment)
            stores.faults = fault(stores.faults, &StoreFaults::outOfStep, s("a snooze copy beside the fired row"));
    }
    const QDate last = QDate::fromString(lastAcknowledged(acknowledged), Qt::ISODate);
    if (last.isValid() && regular[0].moment.date() < last)
        stores.faults = fault(stores.faults, &StoreFaults::lost, s("the answer that moved it to %1").arg(last.toString()));
    return stores.faults;
}

StoreFaults checkClosed(const QStringList& acknowledged) { return checkAnswered(s("Closed"), acknowledged); }
StoreFaults checkSnoozed(const QStringList& acknowledged) { return checkAnswered(s("Snoozed"), acknowledged); }

// ---- Task list: Add, Done, Delete of one task after the other ----------------------

QString taskCommand(int number, const std::function<void()>& begin)
{
    frmBus& tasks = Forms::Get<frmBus>();
    Recordset& rs = TaskRecords();
    const QString text = s("Task ") + token(number / 3);
    if (number % 3 == 0) {
        tasks.Text1->setText(text);
        tasks.DTPicker1->setDate(Clock::Today());
        begin();
        tasks.AddTask();
        return tasks.Text1->text().isEmpty() ? s("add ") + text : QString();
    }
    if (rs.Field(s("bsn_Text")).toString() != text)
        return {};
    const qint64 id = rs.CurrentId();
    begin();
    if (number % 3 == 1) {
        tasks.SetTaskStatus(true);
        return rs.CurrentId() == id && rs.Field(s("bsn_Status")).toBool() ? s("done ") + text : QString();
    }
    tasks.DeleteTask();
    return rs.MoveToId(id) ? QString() : s("del ") + text;
}

StoreFaults checkTasks(const QStringList& acknowledged)
{
    StoreFaults faults;
    Connection db;
    if (!openWhole(&db, "tesbus.db", "qk_lam", &faults))
        return faults;
    QHash<QString, bool> done;
    Require(db.ForEachRow(s("SELECT bsn_Text, bsn_Status FROM tbl_Business"), {},
                  [&](const RowReader& row) { done.insert(row.Text(0), row.Boolean(1)); }));
    QHash<QString, QString> lastCommand;
    for (const QString& ack : acknowledged)
        lastCommand.insert(ack.section(QLatin1Char(' '), 1), ack.section(QLatin1Char(' '), 0, 0));
    for (const auto& [text, command] : lastCommand.asKeyValueRange()) {
        // The command after the last acknowledged one may have gone through too.
        const bool kept = command == s("add") ? done.contains(text)
                          : command == s("done") ? !done.contains(text) || done.value(text)
                                                 : !done.contains(text);
        if (!kept)
            faults = fault(faults, &StoreFaults::lost, s("%1 of %2").arg(command, text));
    }
    return faults;
}

// ---- Settings: the column chooser's OK and the reminder options' OK by turns --------
// Each OK stores a count one above the one it finds, so that a later save is told
// from an earlier one: the chooser in its first 20 ticks, its low nine bits again in
// the last nine; the options in the sound's path and, again, in its title.

constexpr int CountTicks = 20;

QList<bool> ticksOf(int count)
{
    QList<bool> ticks;
    for (int bit = 0; bit < CountTicks; ++bit)
        ticks.append((count >> bit) & 1);
    for (int bit = 0; bit < 9; ++bit)
        ticks.append((count >> bit) & 1);
    return ticks;
}

// The count the ticks hold; -1 for ticks that no one OK wrote.
int countOf(const QList<bool>& ticks)
{
    int count = 0;
    for (int bit = 0; bit < CountTicks && bit < ticks.size(); ++bit)
        count |= int(ticks[bit]) << bit;
    return ticks == ticksOf(count) ? count : -1;
}

QString soundOf(int count) { return qEnvironmentVariable("HOME") + s("/%1.wav").arg(count); }

QString saveSettings(int number, const std::function<void()>& begin)
{
    if (number % 2 == 0) {
        frmCntTable& chooser = Forms::Get<frmCntTable>();
        QList<bool> shown;
        for (int i = 0; i < chooser.List1->count(); ++i)
            shown.append(chooser.List1->item(i)->checkState() == Qt::Checked);
        const int count = std::max(countOf(shown), 0) + 1;
        const QList<bool> ticks = ticksOf(count);
        for (int i = 0; i < chooser.List1->count() && i < ticks.size(); ++i)
            chooser.List1->item(i)->setCheckState(ticks[i] ? Qt::Checked : Qt::Unchecked);
        begin();
        chooser.Command0_Click();
        return acknowledgedIfClosed<frmCntTable>(s("columns %1").arg(count));
    }
    frmOptions& options = Forms::Get<frmOptions>();
    const int count = ReadOption(s("RemWindow"), s("musictitle")).section(QLatin1Char('.'), 0, 0).toInt() + 1;
    FileDialog::PushResult(soundOf(count));
    options.cmdMusic_Click();
    begin();
    options.cmdOK_Click();
    return acknowledgedIfClosed<frmOptions>(s("options %1").arg(count));
}

StoreFaults checkSettings(const QStringList& acknowledged)
{
    StoreFaults faults;
    clsINI ini;
    ini.SetFileName(KnownFolders::UserDataFolder() + s("/options.ini"));
    if (!ini.SectionExists(s("PhoneGridView")) || !ini.SectionExists(s("RemWindow")))
        return fault(faults, &StoreFaults::damaged, s("options.ini without its sections"));
    QList<bool> ticks;
    for (int column : ChoosableGridColumns())
        ticks.append(ini.Value(s("PhoneGridView"), ColumnChoiceKey(column)) == s("True"));
    const QString lastColumns = lastAcknowledged(acknowledged, s("columns "));
    if (!lastColumns.isEmpty() && countOf(ticks) < 0)
        faults = fault(faults, &StoreFaults::outOfStep, s("column ticks of no one OK"));
    else if (!lastColumns.isEmpty() && countOf(ticks) < lastColumns.toInt())
        faults = fault(faults, &StoreFaults::lost, s("the column ticks %1").arg(lastColumns));
    const QString title = ini.Value(s("RemWindow"), s("musictitle"));
    const int count = title.section(QLatin1Char('.'), 0, 0).toInt();
    const QString lastOptions = lastAcknowledged(acknowledged, s("options "));
    if (!lastOptions.isEmpty() && ini.Value(s("RemWindow"), s("musicpath")) != soundOf(count))
        faults = fault(faults, &StoreFaults::outOfStep, s("the reminder options of no one OK"));
    else if (count < lastOptions.toInt())
        faults = fault(faults, &StoreFaults::lost, s("the reminder options %1").arg(lastOptions));
    return faults;
}

// ---- Category editor and menu: new, rename with a new picture, delete --------------

QString picture(const char* name) { return KnownFolders::ProgramFolder() + s("/Icons/") + s(name) + s(".ico"); }

QString saveCategory(int number, const std::function<void()>& begin)
{
    const QString ack = token(number / 3);
    begin();
    switch (number % 3) {
    case 0:
        return SaveNewCategory(s("Garden ") + ack, picture("Home"), s("w"), 1) ? s("new ") + ack : QString();
    case 1:
        return SaveEditedCategory(s("Garden ") + ack, s("Office ") + ack, picture("Star"), s("d"), 2)
                   ? s("rename ") + ack
                   : QString();
    default:
        return DeleteCategory(s("Office ") + ack) ? s("delete ") + ack : QString();
    }
}

// What a start finds, once it has cleaned up after the kill.
StoreFaults categoryFaults()
{
    StoreFaults faults = readEventStores().faults;
    LoadForSaveCases();
    RemoveLeftOvers();
    const QStringList found = CategoryStoreFaults();
    if (!found.isEmpty())
        faults = fault(faults, &StoreFaults::outOfStep, found.first());
    return faults;
}

}  // namespace

void EndProgramState()
{
    for (Form* form : Forms::Loaded())
        delete form;
    EndDataEnvironment();
    MsgBoxScript::Clear();
}

namespace {

bool categoryShown(const QString& name)
{
    Recordset& categories = DataEnvironment1().rsCommand1;
    OpenIfClosed(categories);
    bool shown = false;
    for (int row = 0; row < categories.RecordCount(); ++row)
        shown = shown || categories.ValueAt(row, 0).toString() == name;
    Require(CloseIfOpen(categories));
    return shown;
}

StoreFaults checkCategories(const QStringList& acknowledged)
{
    StoreFaults faults = categoryFaults();
    QHash<QString, QString> lastCommand;
    for (const QString& ack : acknowledged)
        lastCommand.insert(ack.section(QLatin1Char(' '), 1), ack.section(QLatin1Char(' '), 0, 0));
    for (const auto& [ack, command] : lastCommand.asKeyValueRange()) {
        const bool garden = categoryShown(s("Garden ") + ack);
        const bool office = categoryShown(s("Office ") + ack);
        const bool kept = command == s("new") ? garden || office
                          : command == s("rename") ? !garden
                                                   : !garden && !office;
        if (!kept)
            faults = fault(faults, &StoreFaults::lost, s("%1 of %2").arg(command, ack));
    }
    EndProgramState();
    return faults;
}

// ---- Category editor: a built-in category renamed, one save after the other -------
// Each OK renames "<base> k" to "<base> k+1" in its own text. Meetings and Holidays
// carry an own rule whose count follows k, Birthdays its default yearly rule; the
// default writer of the category list would hide a lost one, so the rule is looked
// for as the start finds it, before the list loads.

struct BuiltIn {
    const char* base;
    const char* letter;
    int counts;
};
constexpr BuiltIn BuiltIns[] = {{"Birthdays", "yyyy", 1}, {"Meetings", "d", 300}, {"Holidays", "M", 99}};

QString builtInName(int number, int k) { return s("%1 %2").arg(s(BuiltIns[number - 1].base)).arg(k); }
int builtInCount(int number, int k) { return k % BuiltIns[number - 1].counts + 1; }
QString ownTextKey(int number) { return s("evn%1").arg(number); }

template <int N>
void prepareBuiltInRename()
{
    Require(SetOwnTextOf(s("English"), ownTextKey(N), builtInName(N, 0)));
    Require(WriteCategoryRule(builtInName(N, 0), s(BuiltIns[N - 1].letter), builtInCount(N, 0), false));
}

template <int N>
QString renameBuiltIn(int, const std::function<void()>& begin)
{
    const QString shown = GetOwnText(ownTextKey(N));
    const int next = shown.section(QLatin1Char(' '), -1).toInt() + 1;
    begin();
    return SaveEditedCategory(shown, builtInName(N, next), QString(), s(BuiltIns[N - 1].letter), builtInCount(N, next))
               ? QString::number(next)
               : QString();
}

// The rule of the shown name must be the one its save wrote, and no other name of the
// category may hold one.
StoreFaults builtInRuleFaults(StoreFaults faults, int number, const QString& shown, int k)
{
    QString type;
    QString interval;
    const ReadResult read = ReadCategoryRule(shown, &type, &interval);
    if (read != ReadResult::Found || type != s(BuiltIns[number - 1].letter)
        || interval.toInt() != builtInCount(number, k))
        faults = fault(faults, &StoreFaults::outOfStep, s("%1 without the rule of its save").arg(shown));
    for (const QString& name : CategoryRuleNames()) {
        if (name.startsWith(s(BuiltIns[number - 1].base)) && name != shown)
            faults = fault(faults, &StoreFaults::outOfStep, s("a rule left under %1").arg(name));
    }
    return faults;
}

template <int N>
StoreFaults checkBuiltInRename(const QStringList& acknowledged)
{
    StoreFaults faults = readEventStores().faults;
    if (faults.damaged)
        return faults;
    // The start's own steps before its category list loads.
    RemoveLeftOvers();
    FinishBuiltInRenames();
    clsINI texts;
    texts.SetFileName(OwnTextsFilePath(s("English")));
    const QString shown = texts.Value(s("Values"), ownTextKey(N));
    const int k = shown.section(QLatin1Char(' '), -1).toInt();
    faults = builtInRuleFaults(faults, N, shown, k);
    if (RegKeyExists(ProgramKey() + s("Renaming\\")) != ReadResult::Missing)
        faults = fault(faults, &StoreFaults::outOfStep, s("a rename record the start left"));
    if (k < lastAcknowledged(acknowledged).toInt())
        faults = fault(faults, &StoreFaults::lost, s("the rename to %1").arg(builtInName(N, lastAcknowledged(acknowledged).toInt())));
    const StoreFaults listed = categoryFaults();
    if (!listed.detail.isEmpty())
        faults = fault(faults, &StoreFaults::outOfStep, listed.detail);
    faults = builtInRuleFaults(faults, N, shown, k);
    EndProgramState();
    return faults;
}

// ---- Backup wizard: a restore of the events from a backup made at the start -------

QString backupFile() { return qEnvironmentVariable("HOME") + s("/events.tssv"); }

void prepareRestore()
{
    writeEventRow(s("Backed up"), s("09:50"), WeeklyAhead);
    Require(BackUp(DataKind::Events, backupFile()) == CopyOutcome::Done);
}

QString restoreEvents(int number, const std::function<void()>& begin)
{
    begin();
    return RestoreBackup(backupFile()) ? QString::number(number) : QString();
}

StoreFaults checkRestored(const QStringList&)
{
    StoreFaults faults = categoryFaults();
    // The next restore, as the user would try it after the kill.
    if (!RestoreBackup(backupFile()))
        faults = fault(faults, &StoreFaults::refused, s("the backup was refused"));
    EndProgramState();
    if (faults.damaged || faults.refused)
        return faults;
    const EventStores stores = readEventStores();
    const QList<SeenRow> rows = rowsTitled(stores, s("Backed up"));
    if (rows.size() != 1 || stores.entries.value(rows[0].id) != WeeklyAhead)
        faults = fault(faults, &StoreFaults::outOfStep, s("the restored event without its entries"));
    return faults;
}

}  // namespace

const QList<CrashCase>& CrashCases()
{
    static const QList<CrashCase> cases = {
        {"event save with an advance notice and a weekly rule",
         "both rows, and their rule and advance entries, or none", nullptr, saveNewEvent, checkNewEvents},
        {"event edit in the planner", "the row's moment, rule and advance notice of one save",
         prepareEditedEvent, saveEditedEvent, checkEditedEvent},
        {"planner Delete", "the row goes with its entries", nullptr, deletePlannerRow, checkPlannerRows},
        {"contact-date reminder", "one row per acknowledged Remind", nullptr, remindOfContact, checkContactReminders},
        {"reminder close, next occurrence", "one row of the event, with its entries", prepareClosed, closeReminder,
         checkClosed},
        {"reminder snooze", "the copy only beside the moved row, which keeps its entries", prepareSnoozed,
         snoozeReminder, checkSnoozed},
        {"task Add, Done, Delete", "each acknowledged command kept", nullptr, taskCommand, checkTasks},
        {"column chooser and reminder options", "the keys of one OK, never a mix", nullptr, saveSettings,
         checkSettings},
        {"category new, rename with its picture, delete", "rows, icon files and rules agree; a start asks nothing",
         nullptr, saveCategory, checkCategories},
        {"built-in rename of Birthdays, its default yearly rule", "own text and rule of one save; a start asks nothing",
         prepareBuiltInRename<1>, renameBuiltIn<1>, checkBuiltInRename<1>},
        {"built-in rename of Meetings, its own rule", "own text and rule of one save; a start asks nothing",
         prepareBuiltInRename<2>, renameBuiltIn<2>, checkBuiltInRename<2>},
        {"built-in rename of Holidays, its own rule", "own text and rule of one save; a start asks nothing",
         prepareBuiltInRename<3>, renameBuiltIn<3>, checkBuiltInRename<3>},
        {"restore of the events", "the backup's rows with their entries; the next restore succeeds", prepareRestore,
         restoreEvents, checkRestored},
    };
    return cases;
}

const CrashCase* FindCrashCase(const QString& name)
{
    for (const CrashCase& crashCase : CrashCases()) {
        if (name == QLatin1String(crashCase.name))
            return &crashCase;
    }
    return nullptr;
}

void PrepareCrashChild() { LoadForSaveCases(); }

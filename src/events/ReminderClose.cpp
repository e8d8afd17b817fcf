// The reminder window's answers: a snooze copy, and the close sequence that
// replaces the fired row by its next occurrence.
#include "NextOccurrence.h"
#include "frmWindow.h"

#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Fatal.h"
#include "core/MeasureNames.h"
#include "core/Options.h"
#include "core/RegData.h"
#include "core/StepTime.h"
#include "core/frmProcess.h"
#include "mainwin/frmMain.h"
#include "platform/Clock.h"
#include "platform/MsgBox.h"
#include "platform/SoundPlayer.h"

#include <QPlainTextEdit>
#include <QTimer>

namespace {

QString specialKey(qint64 id)
{
    return ProgramKey() + QStringLiteral("Special\\") + QString::number(id) + QLatin1Char('\\');
}

QString inAdvanceValue(qint64 id) { return ProgramKey() + QStringLiteral("InAdvance\\") + QString::number(id); }

QString measuresKey(const QString& shownCategory)
{
    return ProgramKey() + QStringLiteral("Measures\\") + shownCategory + QLatin1Char('\\');
}

// Both values of a rule key, or nothing when either is missing.
std::optional<std::pair<QString, QString>> readRule(const QString& key)
{
    QString type;
    QString count;
    if (!RegRead(key + QStringLiteral("NextType"), &type) || !RegRead(key + QStringLiteral("NextInterval"), &count))
        return std::nullopt;
    return std::make_pair(type, count);
}

// The next occurrence of a fired row, worked out before anything is written.
struct NextPlan {
    RepeatRule rule;
    bool ownRule = false;  // from the event's own Special pair
    QDate date;
    QVariant time;         // "HH:mm", or NULL for an event without a time
};

std::optional<NextPlan> planNextOccurrence(const DispatcherRow& fired)
{
    if (fired.oneOff)
        return std::nullopt;
    NextPlan plan;
    std::optional<std::pair<QString, QString>> stored = readRule(specialKey(fired.id));
    plan.ownRule = stored.has_value();
    if (!stored)
        stored = readRule(measuresKey(fired.category));
    if (!stored)
        return std::nullopt;
    const std::optional<int> count = RepeatCount(stored->second);
    if (stored->first.isEmpty() || !count)
        return std::nullopt;
    if (!IsRepeatType(stored->first)) {
        MsgBox(GetLangText(QStringLiteral("mes277")), 48, ProductName());
        return std::nullopt;
    }
    plan.rule = {stored->first, *count};

    QString code;
    const int advance = RegRead(inAdvanceValue(fired.id), &code) ? AdvanceMinutes(code) : 0;
    const std::optional<QDateTime> next = NextReminderMoment(fired.date, fired.time, plan.rule, advance, Clock::Now());
    if (!next)
        return std::nullopt;
    plan.date = next->date();
    const QTime time = next->time();
    // A day rule keeps an event at midnight as an event without a time.
    if (!IsDayRule(plan.rule.type) || time != QTime(0, 0))
        plan.time = StepTimeText(time);
    return plan;
}

// Sets the fields of the row being added; the first failure wins.
DbResult setFields(Recordset& rs, const QList<std::pair<QString, QVariant>>& fields)
{
    for (const auto& [name, value] : fields) {
        const DbResult result = rs.SetField(name, value);
        if (!result.Ok())
            return result;
    }
    return {};
}

// Deletes the fired row and adds its next occurrence in one transaction; a failure
// leaves the table as it was. A fired row that is no longer there gets no successor.
// The id of the new row; 0 when none was written.
qint64 replaceFiredRow(const DispatcherRow& fired, const std::optional<NextPlan>& plan)
{
    DataEnvironment& data = DataEnvironment1();
    Recordset& rows = data.rsCommand2;
    Recordset& writer = data.rsCommand3;
    OpenIfClosed(rows);
    if (!rows.MoveToId(fired.id)) {
        CloseIfOpen(rows);
        return 0;
    }
    Connection& db = data.Connection1;
    qint64 newId = 0;
    DbResult result = db.BeginTrans();
    if (result.Ok())
        result = rows.Delete();
    if (result.Ok() && plan) {
        OpenIfClosed(writer);
        result = writer.AddNew();
        if (result.Ok())
            result = setFields(writer, {{QStringLiteral("Measure_Name"), StoredMeasureName(fired.category)},
                                        {QStringLiteral("Step_Name"), fired.title},
                                        {QStringLiteral("Step_Date"), plan->date},
                                        {QStringLiteral("Step_Time"), plan->time},
                                        {QStringLiteral("Step_Notes"),
                                         fired.comment.isEmpty() ? QVariant() : QVariant(fired.comment)},
                                        {QStringLiteral("Step_Rep"), false}});
        if (result.Ok())
            result = writer.Update();
        if (result.Ok())
            newId = writer.CurrentId();
        else
            writer.CancelUpdate();
    }
    if (result.Ok())
        result = db.CommitTrans();
    else if (db.InTransaction())
        db.RollbackTrans();
    CloseIfOpen(writer);
    CloseIfOpen(rows);
    if (!result.Ok()) {
        MsgBox(GetLangText(QStringLiteral("mes329")), 48, ProductName());
        return 0;
    }
    return newId;
}

// The event's registry entries follow it to the new row: written under the new id
// first, removed from the old one only once that worked.
void moveRegistryEntries(qint64 oldId, qint64 newId, const NextPlan& plan)
{
    if (plan.ownRule) {
        const QString key = specialKey(newId);
        if (RegWrite(key + QStringLiteral("NextType"), plan.rule.type)
            && RegWrite(key + QStringLiteral("NextInterval"), QString::number(plan.rule.count)))
            RegDelete(specialKey(oldId));
    }
    QString code;
    if (RegRead(inAdvanceValue(oldId), &code) && RegWrite(inAdvanceValue(newId), code))
        RegDelete(inAdvanceValue(oldId));
}

}  // namespace

void frmWindow::Command1_Click(int index)
{
    const int minutes = SnoozeMinutes(index);
    if (minutes == 0 || CurrentReminderStage() != ReminderStage::Showing || Fired.id == 0)
        return;
    // One reading of the clock gives both the date and the time of the copy.
    const QDateTime when = Clock::Now().addSecs(qint64(minutes) * 60);
    Recordset& writer = DataEnvironment1().rsCommand3;
    OpenIfClosed(writer);
    DbResult result = writer.AddNew();
    if (result.Ok())
        result = setFields(writer, {{QStringLiteral("Measure_Name"), StoredMeasureName(Fired.category)},
                                    {QStringLiteral("Step_Name"), Fired.title},
                                    {QStringLiteral("Step_Date"), when.date()},
                                    {QStringLiteral("Step_Time"), StepTimeTextSeconds(when.time())},
                                    {QStringLiteral("Step_Notes"), Label5->toPlainText()},
                                    {QStringLiteral("Step_Rep"), true}});
    if (result.Ok())
        result = writer.Update();
    if (!result.Ok())
        writer.CancelUpdate();
    CloseIfOpen(writer);
    if (!result.Ok()) {
        // The reminder stays up: nothing is closed that was not put off.
        MsgBox(GetLangText(QStringLiteral("mes329")), 48, ProductName());
        return;
    }
    Forms::Unload(this);
}

void frmWindow::closeSequence()
{
    SetStage(ReminderStage::Closing);
    Timer1->stop();
    Timer2->stop();
    fadeTimer_->stop();
    frmMain* main = Forms::Find<frmMain>();
    if (main && DisabledWindows.contains(QPointer<QWidget>(main)))
        main->setEnabled(true);
    hide();
    playSound::StopSound();

    const std::optional<NextPlan> plan = planNextOccurrence(Fired);
    const qint64 newId = replaceFiredRow(Fired, plan);
    if (newId != 0)
        moveRegistryEntries(Fired.id, newId, *plan);

    Forms::Get<frmProcess>().DateRefresh();
    for (const QPointer<QWidget>& window : DisabledWindows) {
        if (window)
            window->setEnabled(true);
    }
    DisabledWindows.clear();
    main = Forms::Find<frmMain>();
    if (main && !main->isVisible())
        Forms::Unload(main);
}

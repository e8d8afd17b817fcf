// The reminder window's answers: a snooze copy, and the close sequence that
// replaces the fired row by its next occurrence; each answer is one transaction.
#include "EventRecord.h"
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
#include "mainwin/MeasureRecord.h"
#include "mainwin/frmMain.h"
#include "platform/Clock.h"
#include "platform/MsgBox.h"
#include "platform/SoundPlayer.h"

#include <QPlainTextEdit>
#include <QTimer>

namespace {

// The next occurrence of a fired row, worked out before anything is written.
struct NextPlan {
    RepeatRule rule;
    bool ownRule = false;  // from the event's own Special pair
    QString advanceCode;   // the event's InAdvance value, "" for none
    QDate date;
    QVariant time;         // "HH:mm", or NULL for an event without a time
};

// The plan of a fired row, nothing when it does not come back; false when a rule or
// notice could not be read: the row must then stay as it is, not end without a
// successor.
bool planNextOccurrence(const DispatcherRow& fired, std::optional<NextPlan>* next)
{
    next->reset();
    if (fired.oneOff)
        return true;
    NextPlan plan;
    QString type;
    QString count;
    ReadResult read = ReadEventRule(fired.id, &type, &count);
    plan.ownRule = read == ReadResult::Found;
    if (read == ReadResult::Missing)
        read = RegReadRule(CategoryRuleKey(fired.category), &type, &count);
    if (read != ReadResult::Found)
        return read == ReadResult::Missing;
    const std::optional<int> steps = RepeatCount(count);
    if (type.isEmpty() || !steps)
        return true;
    if (!IsRepeatType(type)) {
        MsgBox(GetLangText(QStringLiteral("mes277")), 48, ProductName());
        return true;
    }
    plan.rule = {type, *steps};

    if (ReadAdvanceCode(fired.id, &plan.advanceCode) == ReadResult::Failed)
        return false;
    const std::optional<QDateTime> moment =
        NextReminderMoment(fired.date, fired.time, plan.rule, AdvanceMinutes(plan.advanceCode), Clock::Now());
    if (!moment)
        return true;
    plan.date = moment->date();
    const QTime time = moment->time();
    // A day rule keeps an event at midnight as an event without a time.
    if (!IsDayRule(plan.rule.type) || time != QTime(0, 0))
        plan.time = StepTimeText(time);
    *next = plan;
    return true;
}

ReadResult firedRowExists(qint64 id)
{
    Connection& db = DataEnvironment1().Connection1;
    OpenIfClosed(db);
    QList<QVariantList> rows;
    if (!db.Query(QStringLiteral("SELECT 1 FROM lst_Dates WHERE Step_Numeric = ?"), {id}, &rows).Ok())
        return ReadResult::Failed;
    return rows.isEmpty() ? ReadResult::Missing : ReadResult::Found;
}

// One answer to a reminder in one transaction: the snooze copy when there is one,
// the fired row replaced by its next occurrence, and the event's entries moved to
// the new row, or removed where it gets none, so that no entry outlives its row. A
// fired row that is no longer there is left alone. False when nothing was stored,
// a read that failed included.
bool storeAnswer(const DispatcherRow& fired, const std::optional<EventRow>& snoozeCopy)
{
    const ReadResult there = firedRowExists(fired.id);
    if (there == ReadResult::Failed)
        return false;
    const bool firedThere = there == ReadResult::Found;
    if (!firedThere && !snoozeCopy)
        return true;
    // The rule is read (and a bad one reported) before the transaction begins.
    std::optional<NextPlan> plan;
    if (firedThere && !planNextOccurrence(fired, &plan))
        return false;
    Connection& db = DataEnvironment1().Connection1;
    DbResult result = db.BeginTrans();
    qint64 id = 0;
    if (result.Ok() && snoozeCopy)
        result = AddEventRow(*snoozeCopy, &id);
    if (result.Ok() && firedThere) {
        bool found = false;
        result = DeleteEventRow(fired.id, &found);
        if (result.Ok())
            result = WriteEntries(RemoveEventEntries(fired.id));
    }
    if (result.Ok() && plan) {
        result = AddEventRow({StoredMeasureName(fired.category), fired.title, plan->date, plan->time,
                              fired.comment.isEmpty() ? QVariant() : QVariant(fired.comment)},
                             &id);
        QList<EntryChange> moved;
        if (plan->ownRule)
            moved += SpecialEntryChanges(id, plan->rule.type, plan->rule.count);
        if (!plan->advanceCode.isEmpty())
            moved.append({InAdvanceValuePath(id), plan->advanceCode});
        if (result.Ok())
            result = WriteEntries(moved);
    }
    return EndSave(db, result);
}

}  // namespace

void frmWindow::Command1_Click(int index)
{
    const int minutes = SnoozeMinutes(index);
    if (minutes == 0 || CurrentReminderStage() != ReminderStage::Showing || Fired.id == 0)
        return;
    // One reading of the clock gives both the date and the time of the copy.
    const QDateTime when = Clock::Now().addSecs(qint64(minutes) * 60);
    const EventRow copy{StoredMeasureName(Fired.category), Fired.title, when.date(),
                        StepTimeTextSeconds(when.time()), Label5->toPlainText(), true};
    if (!storeAnswer(Fired, copy)) {
        // The reminder stays up: nothing is closed that was not put off.
        MsgBox(GetLangText(QStringLiteral("mes329")), 48, ProductName());
        return;
    }
    answerStored_ = true;
    Forms::Unload(this);
}

bool frmWindow::Form_QueryUnload(UnloadMode)
{
    if (CurrentReminderStage() != ReminderStage::Showing || Fired.id == 0 || answerStored_)
        return false;
    // The answer is stored before the window goes: one that could not be stored
    // keeps the fired row, its entries and the window, to be closed again.
    if (storeAnswer(Fired, std::nullopt)) {
        answerStored_ = true;
        return false;
    }
    MsgBox(GetLangText(QStringLiteral("mes329")), 48, ProductName());
    return true;
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

    Forms::Get<frmProcess>().DateRefreshChanged();
    for (const QPointer<QWidget>& window : DisabledWindows) {
        if (window)
            window->setEnabled(true);
    }
    DisabledWindows.clear();
    main = Forms::Find<frmMain>();
    if (main && !main->isVisible())
        Forms::Unload(main);
}

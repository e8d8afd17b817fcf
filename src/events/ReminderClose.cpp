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
#include "mainwin/frmMain.h"
#include "platform/Clock.h"
#include "platform/MsgBox.h"
#include "platform/SoundPlayer.h"

#include <QPlainTextEdit>
#include <QTimer>

namespace {

QString measuresKey(const QString& shownCategory)
{
    return ProgramKey() + QStringLiteral("Measures\\") + shownCategory + QLatin1Char('\\');
}

// Both values of a category's rule, or nothing when either is missing.
std::optional<std::pair<QString, QString>> readCategoryRule(const QString& shownCategory)
{
    const QString key = measuresKey(shownCategory);
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
    QString advanceCode;   // the event's InAdvance value, "" for none
    QDate date;
    QVariant time;         // "HH:mm", or NULL for an event without a time
};

std::optional<NextPlan> planNextOccurrence(const DispatcherRow& fired)
{
    if (fired.oneOff)
        return std::nullopt;
    NextPlan plan;
    std::optional<std::pair<QString, QString>> stored;
    QString ownType;
    QString ownCount;
    plan.ownRule = ReadEventRule(fired.id, &ownType, &ownCount);
    if (plan.ownRule)
        stored = std::make_pair(ownType, ownCount);
    else
        stored = readCategoryRule(fired.category);
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

    ReadAdvanceCode(fired.id, &plan.advanceCode);
    const std::optional<QDateTime> next =
        NextReminderMoment(fired.date, fired.time, plan.rule, AdvanceMinutes(plan.advanceCode), Clock::Now());
    if (!next)
        return std::nullopt;
    plan.date = next->date();
    const QTime time = next->time();
    // A day rule keeps an event at midnight as an event without a time.
    if (!IsDayRule(plan.rule.type) || time != QTime(0, 0))
        plan.time = StepTimeText(time);
    return plan;
}

bool firedRowExists(qint64 id)
{
    Connection& db = DataEnvironment1().Connection1;
    OpenIfClosed(db);
    QList<QVariantList> rows;
    return db.Query(QStringLiteral("SELECT 1 FROM lst_Dates WHERE Step_Numeric = ?"), {id}, &rows).Ok()
           && !rows.isEmpty();
}

// One answer to a reminder in one transaction: the snooze copy when there is one,
// the fired row replaced by its next occurrence, and the event's entries moved to
// the new row, or removed where it gets none, so that no entry outlives its row. A
// fired row that is no longer there is left alone. False when nothing was stored.
bool storeAnswer(const DispatcherRow& fired, const std::optional<EventRow>& snoozeCopy)
{
    const bool firedThere = firedRowExists(fired.id);
    if (!firedThere && !snoozeCopy)
        return true;
    // The rule is read (and a bad one reported) before the transaction begins.
    const std::optional<NextPlan> plan = firedThere ? planNextOccurrence(fired) : std::nullopt;
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

    // After a snooze the answer is stored already: the fired row is gone.
    if (!storeAnswer(Fired, std::nullopt))
        MsgBox(GetLangText(QStringLiteral("mes329")), 48, ProductName());

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

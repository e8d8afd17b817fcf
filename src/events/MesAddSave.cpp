// The event editor's saves: OK for a new event, Add (save and go on) and OK for an
// edit of the planner's current row. A save is all or nothing: its rows and its
// registry entries go in one transaction of the events connection.
#include "frmMesAdd.h"

#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Fatal.h"
#include "core/Formats.h"
#include "core/Options.h"
#include "core/SourceText.h"
#include "core/StepTime.h"
#include "core/TypedDate.h"
#include "core/frmProcess.h"
#include "platform/Clock.h"
#include "platform/DateField.h"
#include "platform/MsgBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTimeEdit>

namespace {

const QString QuickReminderCategory = QStringLiteral("_QM_");

QVariant timeValue(const QTime& time) { return time.isValid() ? QVariant(StepTimeText(time)) : QVariant(); }

// The fields an edit writes.
const char* const EditedNames[] = {"Step_Name", "Step_Date", "Step_Time", "Step_Notes"};

DbResult writeFields(Recordset& rs, const QVariant (&values)[4])
{
    DbResult result;
    for (int i = 0; i < 4 && result.Ok(); ++i)
        result = rs.SetField(s(EditedNames[i]), values[i]);
    if (result.Ok())
        result = rs.Update();
    if (!result.Ok())
        rs.CancelUpdate();
    return result;
}

void reportNotSaved(const char* key) { MsgBox(GetLangText(s(key)), 48, ProductName()); }

// Rows that were written but whose registry entries were refused say so; any other
// failed save is the plain "not saved".
const char* notSavedKey(bool rowsWritten, const DbResult& result)
{
    return rowsWritten && !result.Ok() ? "mes327" : "mes331";
}

}  // namespace

void frmMesAdd::CalcAdvanceTime()
{
    const EventMoment moment = ::CalcAdvanceTime(Combo1->currentIndex(), AdvanceDate, AdvanceTime, Check1->isChecked());
    AdvanceDate = moment.date;
    AdvanceTime = moment.time;
}

QList<EntryChange> frmMesAdd::SaveInAdvance(qint64 id) const
{
    return AdvanceEntryChanges(id, Option2->isChecked() ? Combo1->currentIndex() : -1);
}

QList<EntryChange> frmMesAdd::SaveSpecialRepeat(qint64 id) const
{
    QString letter;
    int count = 0;
    GetRepeatCode(&letter, &count);
    if (!Check3->isChecked())
        letter.clear();
    return SpecialEntryChanges(id, letter, count);
}

frmMesAdd::Entered frmMesAdd::entered() const
{
    return {Text1->text(), DTPicker1->date(), DTPicker2->time(), Check1->isChecked(), Text3->toPlainText()};
}

void frmMesAdd::showEntered(const Entered& event)
{
    DTPicker1->setDate(event.date);
    Text3->setPlainText(event.comment);
}

bool frmMesAdd::applyPastDateRule(Entered* event, PastThreshold threshold) const
{
    if (!IsPastMoment(event->date, event->time, event->hasTime, Clock::Now(), threshold))
        return true;
    if (IsQuickReminder() || categoryShown_ != GetLangText(s("rpt12"))) {
        reportNotSaved("mes185");
        return false;
    }
    // The protected category's past dates are anniversaries: they move on to the
    // next time the day comes round, the former date noted in the comment.
    const QString note = GetLangText(s("mes97")) + s(" - ") + DateText(event->date);
    event->comment = MovedDateComment(note, event->comment);
    event->date = NextOccurrenceOfDay(event->date, Clock::Today());
    return true;
}

bool frmMesAdd::SaveNewEvent(PastThreshold threshold)
{
    if (!TakeTypedDate(DTPicker1))
        return false;
    Entered event = entered();
    if (EventTitleExists(event.title)
        && MsgBox(s("Одно или несколько событий с таким названием уже существуют. Продолжить?"), 36, ProductName())
               != vbYes)
        return false;
    if (!applyPastDateRule(&event, threshold))
        return false;

    const bool ahead = Option2->isChecked();
    const bool plainRow = !ahead || Check2->isChecked();
    const QString category = IsQuickReminder() ? QuickReminderCategory : categoryStored_;
    Connection& db = DataEnvironment1().Connection1;
    OpenIfClosed(db);

    qint64 plainId = 0;
    qint64 advanceId = 0;
    DbResult result = db.BeginTrans();
    if (result.Ok() && plainRow) {
        result = AddEventRow({category, event.title, event.date, event.hasTime ? timeValue(event.time) : QVariant(),
                              event.comment.isEmpty() ? QVariant() : QVariant(event.comment)},
                             &plainId);
    }
    if (result.Ok() && ahead) {
        AdvanceDate = event.date;
        AdvanceTime = event.time;
        CalcAdvanceTime();
        result = AddEventRow({category, event.title, AdvanceDate, timeValue(AdvanceTime), event.comment}, &advanceId);
    }
    const bool rowsWritten = result.Ok();
    if (result.Ok()) {
        const qint64 lastId = ahead ? advanceId : plainId;
        QList<EntryChange> changes = SaveInAdvance(lastId) + SaveSpecialRepeat(lastId);
        if (ahead && plainRow)
            changes += SaveSpecialRepeat(plainId);
        result = WriteEntries(changes);
    }
    if (!EndSave(db, result)) {
        reportNotSaved(notSavedKey(rowsWritten, result));
        return false;
    }
    showEntered(event);
    return true;
}

bool frmMesAdd::saveEditedEvent()
{
    if (!TakeTypedDate(DTPicker1))
        return false;
    Entered event = entered();
    if (!applyPastDateRule(&event, PastThreshold::TwoMinutes))
        return false;
    Recordset& rs = DataEnvironment1().rsCommand3;
    if (rs.State() == 0 || !rs.MoveToId(EditedRowId)) {
        reportNotSaved("mes331");
        return false;
    }
    QDate date = event.date;
    QVariant time = event.hasTime ? timeValue(event.time) : QVariant();
    if (Option2->isChecked()) {
        AdvanceDate = event.date;
        AdvanceTime = event.time;
        CalcAdvanceTime();
        date = AdvanceDate;
        time = timeValue(AdvanceTime);
    }
    const QVariant after[4] = {event.title, date, time, event.comment};
    Connection& db = rs.ActiveConnection();
    DbResult result = db.BeginTrans();
    if (result.Ok())
        result = writeFields(rs, after);
    const bool rowsWritten = result.Ok();
    if (result.Ok())
        result = WriteEntries(SaveInAdvance(EditedRowId) + SaveSpecialRepeat(EditedRowId));
    if (!EndSave(db, result)) {
        reportNotSaved(notSavedKey(rowsWritten, result));
        return false;
    }
    showEntered(event);
    return true;
}

void frmMesAdd::Command0_Click()
{
    QPointer<frmMesAdd> self(this);
    if (!SaveNewEvent(PastThreshold::TwoMinutes))
        return;
    Forms::Get<frmProcess>().DateRefreshChanged();
    if (self)
        Forms::Unload(self.data());
}

void frmMesAdd::Command2_Click()
{
    QPointer<frmMesAdd> self(this);
    if (!SaveNewEvent(PastThreshold::OneSecond))
        return;
    Forms::Get<frmProcess>().DateRefreshChanged();
    if (!self)
        return;
    Text1->clear();
    Text3->clear();
}

void frmMesAdd::Command3_Click()
{
    QPointer<frmMesAdd> self(this);
    if (!saveEditedEvent())
        return;
    Forms::Get<frmProcess>().DateRefreshChanged();
    if (self)
        Forms::Unload(self.data());
}

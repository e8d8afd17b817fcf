// The planner's commands on its current row. Edit: the row into the event editor,
// shown at the event's own moment (a row shown ahead holds its moment less the
// advance) with the event's own rule, then the editor modal over the planner.
// Delete: the row and its registry entries in one transaction.
#include "frmOrg.h"

#include "EventRecord.h"
#include "frmMesAdd.h"
#include "core/DataEnvironment.h"
#include "core/Fatal.h"
#include "core/frmProcess.h"
#include "core/Options.h"
#include "core/StepTime.h"
#include "platform/Controls.h"
#include "platform/DateField.h"
#include "platform/MsgBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTimeEdit>

void frmOrg::EditEvent()
{
    Recordset& rs = DataEnvironment1().rsCommand3;
    if (rs.State() == 0 || rs.RecordCount() == 0 || (rs.AbsolutePosition() < 0 && !rs.MoveFirst().Ok())) {
        MsgBox(GetLangText(QStringLiteral("mes295")), 48, ProductName());
        return;
    }
    const qint64 id = rs.CurrentId();
    const QString title = rs.Field(QStringLiteral("Step_Name")).toString();
    const QDate date = rs.Field(QStringLiteral("Step_Date")).toDate();
    const QTime time = ReadStepTime(rs.Field(QStringLiteral("Step_Time")));
    const QVariant notes = rs.Field(QStringLiteral("Step_Notes"));
    // A rule or notice that cannot be read would go into the editor as none, and its
    // OK would delete it.
    QString nextType;
    QString nextInterval;
    QString code;
    const ReadResult ownRule = ReadEventRule(id, &nextType, &nextInterval);
    const ReadResult advance = ReadAdvanceCode(id, &code);
    if (ownRule == ReadResult::Failed || advance == ReadResult::Failed) {
        MsgBox(GetLangText(QStringLiteral("mes396")), 48, ProductName());
        return;
    }

    QPointer<frmMesAdd> editor(&Forms::Get<frmMesAdd>());
    editor->Text1->setText(title);
    if (date.isValid())
        editor->DTPicker1->setDate(date);
    editor->Check1->setChecked(time.isValid());
    if (time.isValid())
        editor->DTPicker2->setTime(time);
    if (!notes.isNull())
        editor->Text3->setPlainText(notes.toString());
    editor->SetEditMode(id, title);

    editor->ShowOwnRule(ownRule == ReadResult::Found, nextType, nextInterval);

    if (advance == ReadResult::Found) {
        // Choosing the option resets the advance list, so the list comes after it.
        editor->Option2->setChecked(true);
        const int index = code.toInt();
        if (index >= 0 && index < editor->Combo1->count())
            SelectEntry(editor->Combo1, index);
        const EventMoment shown = AddAdvanceBack(code, editor->DTPicker1->date(), editor->DTPicker2->time());
        editor->DTPicker2->setTime(shown.time);
        editor->DTPicker1->setDate(shown.date);
    }
    editor->Check2->hide();
    editor->SetCategory(Label1->text(), ChosenStoredName());
    editor->ShowModal(this);
}

void frmOrg::DeleteEvent()
{
    Recordset& rs = DataEnvironment1().rsCommand3;
    if (rs.State() == 0 || rs.RecordCount() == 0 || (rs.AbsolutePosition() < 0 && !rs.MoveFirst().Ok())) {
        MsgBox(GetLangText(QStringLiteral("mes224")), 48, ProductName());
        Combo1->setFocus();
        return;
    }
    const QString question = GetLangText(QStringLiteral("mes225")) + QStringLiteral(" \"")
                             + rs.Field(QStringLiteral("Step_Name")).toString() + QStringLiteral("\" ?");
    const int answer = MsgBox(question, 36, ProductName());
    Combo1->setFocus();
    if (answer == vbYes) {
        const qint64 id = rs.CurrentId();
        Connection& db = rs.ActiveConnection();
        DbResult result = db.BeginTrans();
        if (result.Ok())
            result = rs.Delete();
        if (result.Ok())
            result = WriteEntries(RemoveEventEntries(id));
        if (!EndSave(db, result)) {
            MsgBox(GetLangText(QStringLiteral("mes332")), 48, ProductName());
        } else {
            // The grid goes on with the row that took the deleted one's place; an
            // empty view has none to stand on.
            if (!rs.MoveNext().Ok() || rs.Eof())
                std::ignore = rs.MoveLast();
        }
    }
    Forms::Get<frmProcess>().DateRefreshChanged();
}

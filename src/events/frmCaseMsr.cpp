#include "frmCaseMsr.h"

#include "EventRecord.h"
#include "core/DBConfig.h"
#include "core/Fatal.h"
#include "core/Formats.h"
#include "core/MeasureNames.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/SourceText.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/MsgBox.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>

frmCaseMsr::frmCaseMsr()
    : Form(s("frmCaseMsr"), DialogWindow)
{
    setFixedSize(Px(4620), Px(2430));
    Frame1 = MakeControl<QGroupBox>(this, "Frame1", 120, 120, 4380, 1500);
    Label1 = MakeControl<QLabel>(Frame1, "Label1", 180, 330, 4020, 255);
    ComboM = MakeControl<QComboBox>(Frame1, "ComboM", 180, 690, 4020, 330);
    Command1 = MakeControl<QPushButton>(this, "Command1", 1920, 1800, 1215, 375);
    CommandCancel = MakeControl<QPushButton>(this, "CommandCancel", 3285, 1800, 1215, 375);
    Command1->setText(s("OK"));
    connect(Command1, &QPushButton::clicked, this, &frmCaseMsr::Command1_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &frmCaseMsr::CommandCancel_Click);
    SetCancelButton(CommandCancel);
    SetDefaultButton(Command1);
}

void frmCaseMsr::Form_Load()
{
    SetFormIcon(this, s("RES_0"), true);
    FillEventTypeCombo(ComboM);
    // The table's first category is never offered.
    {
        const QSignalBlocker blocker(ComboM);
        ComboM->removeItem(0);
    }
    if (ComboM->count() > 0)
        SelectEntry(ComboM, 0);
    Command1->setEnabled(ComboM->count() > 0);
    setWindowTitle(GetLangText(s("mnu0")));
    Frame1->setTitle(GetLangText(s("mes79")));
    Label1->setText(GetLangText(s("mes80")));
    CommandCancel->setText(GetLangText(s("cmd2")));
}

void frmCaseMsr::ShowFor(Form* card, const QString& surname, const QString& givenName, const QDate& anniversary)
{
    frmCaseMsr& dialog = Forms::Get<frmCaseMsr>();
    dialog.Surname = surname;
    dialog.GivenName = givenName;
    dialog.Anniversary = anniversary;
    dialog.ShowModal(card);
}

void frmCaseMsr::Command1_Click()
{
    const QString mark = GetLangText(s("mes82"));
    const QString title = Surname + s(" ") + GivenName + s(" (") + mark + s(")");
    const QDate today = Clock::Today();
    QDate date = Anniversary;
    QString notes;
    if (Anniversary < today) {
        date = NextOccurrenceOfDay(Anniversary, today);
        notes = mark + s(" ") + DateText(Anniversary);
    }

    const DbResult result = AddDayReminder(StoredMeasureName(ComboM->currentText()), title, date, notes);
    if (!result.Ok()) {
        MsgBox(GetLangText(s("mes331")), 48, ProductName());
        return;
    }
    QPointer<frmCaseMsr> self(this);
    MsgBox(GetLangText(s("mes81")), 64, ProductName());
    if (self)
        Forms::Unload(self.data());
}

void frmCaseMsr::CommandCancel_Click() { Forms::Unload(this); }

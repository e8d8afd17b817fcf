#include "frmNoteGroupes.h"

#include "NoteStore.h"
#include "core/Fatal.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "frmNote.h"
#include "platform/Controls.h"
#include "platform/MsgBox.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

constexpr int MaxNameLength = 1024;

QPushButton* button(QWidget* parent, const char* name, int left, int top)
{
    auto* b = MakeControl<QPushButton>(parent, name, left, top, 1200, 375);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

frmNoteGroupes::frmNoteGroupes()
    : Form(s("frmNoteGroupes"), DialogWindow)
{
    setFixedSize(Px(5400), Px(4260));
    tbsOptions = MakeControl<QTabWidget>(this, "tbsOptions", 120, 120, 5160, 3480);
    picOptions = new QWidget;
    picOptions->setObjectName(s("picOptions"));
    tbsOptions->addTab(picOptions, QString());
    Frame1 = MakeControl<QGroupBox>(picOptions, "Frame1", 120, 120, 4800, 2880);
    Option1 = MakeControl<QRadioButton>(Frame1, "Option1", 240, 330, 4320, 300);
    Option1->setChecked(true);
    Label2 = MakeControl<QLabel>(Frame1, "Label2", 480, 690, 3840, 270);
    Text1Name = MakeControl<QLineEdit>(Frame1, "Text1Name", 480, 990, 2760, 345);
    Text1Name->setMaxLength(MaxNameLength);
    Command2 = button(Frame1, "Command2", 3360, 975);
    Option2 = MakeControl<QRadioButton>(Frame1, "Option2", 240, 1560, 4320, 300);
    Label1 = MakeControl<QLabel>(Frame1, "Label1", 480, 1920, 3840, 270);
    Combo1 = MakeControl<QComboBox>(Frame1, "Combo1", 480, 2220, 2760, 345);
    Command1 = button(Frame1, "Command1", 3360, 2205);
    Command0 = button(this, "Command0", 4080, 3720);
    // Until the first refresh nothing can be created or chosen.
    Command2->setEnabled(false);
    Combo1->setEnabled(false);
    Label1->setEnabled(false);

    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option1_Click();
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option2_Click();
    });
    connect(Text1Name, &QLineEdit::textChanged, this,
            [this](const QString& text) { Command2->setEnabled(!text.isEmpty()); });
    connect(Command2, &QPushButton::clicked, this, &frmNoteGroupes::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmNoteGroupes::Command1_Click);
    connect(Command0, &QPushButton::clicked, this, &frmNoteGroupes::Command0_Click);
    SetCancelButton(Command0);
}

void frmNoteGroupes::ShowFor(frmNote* owner)
{
    Forms::Get<frmNoteGroupes>().ShowModal(owner);
    Forms::Unload<frmNoteGroupes>();
}

void frmNoteGroupes::Form_Load()
{
    SetFormIcon(this, s("RES_0"), false);
    ApplyLanguage();
    RefreshGroups();
}

void frmNoteGroupes::ApplyLanguage()
{
    setWindowTitle(GetLangText(s("mes146")));
    tbsOptions->setTabText(0, GetLangText(s("mes323")));
    Frame1->setTitle(GetLangText(s("mes148")));
    Option1->setText(GetLangText(s("opt9")));
    Label2->setText(GetLangText(s("mes149")));
    Command2->setText(GetLangText(s("cmd12")));
    Option2->setText(GetLangText(s("opt10")));
    Label1->setText(GetLangText(s("mes150")));
    Command1->setText(GetLangText(s("cmd6")));
    Command0->setText(GetLangText(s("cmd1")));
}

void frmNoteGroupes::RefreshGroups()
{
    const QStringList groups = GroupNames();
    {
        const QSignalBlocker blocker(Combo1);
        Combo1->clear();
        Combo1->addItems(groups);
    }
    Combo1->setEnabled(!groups.isEmpty());
    Command1->setEnabled(!groups.isEmpty());
    if (!groups.isEmpty())
        Combo1->setCurrentIndex(0);
    if (frmNote* note = Forms::Find<frmNote>())
        note->FillGroups();
}

void frmNoteGroupes::Option1_Click()
{
    Text1Name->setEnabled(true);
    Label2->setEnabled(true);
    Command2->setEnabled(!Text1Name->text().isEmpty());
    Combo1->setEnabled(false);
    Label1->setEnabled(false);
    Command1->setEnabled(false);
}

void frmNoteGroupes::Option2_Click()
{
    Text1Name->setEnabled(false);
    Label2->setEnabled(false);
    Command2->setEnabled(false);
    Label1->setEnabled(true);
    const bool any = Combo1->count() > 0;
    Combo1->setEnabled(any);
    Command1->setEnabled(any);
    if (any)
        Combo1->setCurrentIndex(0);
}

void frmNoteGroupes::Command2_Click()
{
    const QString name = Text1Name->text().trimmed();
    switch (CreateGroup(name)) {
    case GroupChange::Exists:
        message("mes155", 48);
        return;
    case GroupChange::Refused:
        message("mes358", 48);
        return;
    case GroupChange::Failed:
        message("mes249", 16);
        return;
    case GroupChange::Done:
        break;
    }
    RefreshGroups();
    // By position: a group named like the root group's text is still itself.
    if (frmNote* note = Forms::Find<frmNote>())
        note->ChooseGroup(static_cast<int>(GroupNames().indexOf(name)) + 1);
    message("mes153", 64);
}

void frmNoteGroupes::Command1_Click()
{
    if (Combo1->currentText().isEmpty())
        return;
    const QString name = Combo1->currentText();
    if (MsgBox(GetLangText(s("mes324")), 36, ProductName()) != vbYes)
        return;
    if (DeleteGroup(name) != GroupChange::Done) {
        message("mes249", 16);
        return;
    }
    RefreshGroups();
    message("mes154", 64);
}

void frmNoteGroupes::Command0_Click() { Forms::Unload(this); }

void frmNoteGroupes::message(const char* key, int buttons) { MsgBox(GetLangText(s(key)), buttons, ProductName()); }

#include "frmNoteGroupes.h"

#include "NoteStore.h"
#include "core/Resources.h"
#include "core/SourceText.h"
#include "frmNote.h"
#include "platform/Controls.h"
#include "platform/MsgBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int MaxNameLength = 1024;

const GroupManagerLayout Layout{.page = "picOptions",
                                .width = 5400,
                                .height = 4260,
                                .tabs = {120, 120, 5160, 3480},
                                .frame = {120, 120, 4800, 2880},
                                .option1 = {240, 330, 4320, 300},
                                .label2 = {480, 690, 3840, 270},
                                .name = {480, 990, 2760, 345},
                                .create = {3360, 975, 1200, 375},
                                .option2 = {240, 1560, 4320, 300},
                                .label1 = {480, 1920, 3840, 270},
                                .list = {480, 2220, 2760, 345},
                                .remove = {3360, 2205, 1200, 375},
                                .exit = {4080, 3720, 1200, 375}};

}  // namespace

frmNoteGroupes::frmNoteGroupes()
    : Form(s("frmNoteGroupes"), DialogWindow)
{
    BuildGroupManager(*this, *this, Layout);
    Option1->setChecked(true);
    Text1Name->setMaxLength(MaxNameLength);
    // Enter clicks no button here.
    for (QPushButton* button : {Command2, Command1, Command0})
        button->setAutoDefault(false);
    // Until the first refresh nothing can be created or chosen.
    Command2->setEnabled(false);
    Combo1->setEnabled(false);
    Label1->setEnabled(false);

    OnOptionClick(Option1, this, [this] { Option1_Click(); });
    OnOptionClick(Option2, this, [this] { Option2_Click(); });
    connect(Text1Name, &QLineEdit::textChanged, this,
            [this](const QString& text) { Command2->setEnabled(!text.isEmpty()); });
    connect(Command2, &QPushButton::clicked, this, &frmNoteGroupes::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmNoteGroupes::Command1_Click);
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

void frmNoteGroupes::ApplyLanguage() { ApplyGroupManagerTexts(*this, *this, "mes323"); }

void frmNoteGroupes::RefreshGroups()
{
    const QStringList groups = GroupNames();
    {
        const QSignalBlocker blocker(Combo1);
        Combo1->clear();
        Combo1->addItems(groups);
    }
    ShowDeletable(*this);
    if (frmNote* note = Forms::Find<frmNote>())
        note->FillGroups();
}

void frmNoteGroupes::Option1_Click() { ShowCreateHalf(*this); }

void frmNoteGroupes::Option2_Click() { ShowDeleteHalf(*this); }

void frmNoteGroupes::Command2_Click()
{
    const QString name = Text1Name->text().trimmed();
    switch (CreateGroup(name)) {
    case GroupChange::Exists:
        GroupManagerMessage("mes155", 48);
        return;
    case GroupChange::Refused:
        GroupManagerMessage("mes358", 48);
        return;
    case GroupChange::Failed:
        GroupManagerMessage("mes249", 16);
        return;
    case GroupChange::Done:
        break;
    }
    RefreshGroups();
    // By position: a group named like the root group's text is still itself.
    if (frmNote* note = Forms::Find<frmNote>())
        note->ChooseGroup(static_cast<int>(GroupNames().indexOf(name)) + 1);
    GroupManagerMessage("mes153", 64);
}

void frmNoteGroupes::Command1_Click()
{
    if (Combo1->currentText().isEmpty())
        return;
    const QString name = Combo1->currentText();
    if (GroupManagerMessage("mes324", 36) != vbYes)
        return;
    if (DeleteGroup(name) != GroupChange::Done) {
        GroupManagerMessage("mes249", 16);
        return;
    }
    RefreshGroups();
    GroupManagerMessage("mes154", 64);
}

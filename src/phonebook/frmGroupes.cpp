#include "frmGroupes.h"

#include "ContactRecord.h"
#include "core/SourceText.h"
#include "frmPhones.h"
#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Fatal.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/cTabStripPane.h"
#include "core/frmProcess.h"
#include "platform/Controls.h"
#include "platform/MsgBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

Recordset& groups() { return DataEnvironment1().rstbl_Groupes; }

const GroupManagerLayout Layout{.page = "picOptions0",
                                .width = 5820,
                                .height = 4440,
                                .tabs = {120, 120, 5580, 3660},
                                .frame = {120, 120, 5220, 2940},
                                .option1 = {180, 300, 4860, 300},
                                .label2 = {480, 690, 4560, 255},
                                .name = {480, 960, 3180, 330},
                                .create = {3780, 937, 1260, 375},
                                .option2 = {180, 1530, 4860, 300},
                                .label1 = {480, 1920, 4560, 255},
                                .list = {480, 2190, 3180, 330},
                                .remove = {3780, 2167, 1260, 375},
                                .exit = {4485, 3900, 1215, 375}};

}  // namespace

QString ProperCase(const QString& text)
{
    QString result = text;
    bool wordStart = true;
    for (QChar& c : result) {
        c = wordStart ? c.toUpper() : c.toLower();
        wordStart = c.isSpace();
    }
    return result;
}

frmGroupes::frmGroupes()
    : Form(s("frmGroupes"), DialogWindow)
{
    BuildGroupManager(*this, *this, Layout);
    Command1->setEnabled(false);
    OnOptionClick(Option1, this, [this] { Option1_Click(); });
    OnOptionClick(Option2, this, [this] { Option2_Click(); });
    connect(Text1Name, &QLineEdit::textChanged, this, &frmGroupes::Text1Name_Change);
    connect(Command2, &QPushButton::clicked, this, &frmGroupes::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmGroupes::Command1_Click);
    SetDefaultButton(Command2);
}

frmGroupes::~frmGroupes() = default;

void frmGroupes::Form_Load()
{
    TabPane = std::make_unique<cTabStripPane>(tbsOptions);
    SetFormIcon(this, s("RES_0"), true);
    fillList();
    ApplyLanguage();
    Option1->setChecked(true);
}

void frmGroupes::ApplyLanguage() { ApplyGroupManagerTexts(*this, *this, "mes147"); }

void frmGroupes::Form_Unload()
{
    if (frmPhones* phones = Forms::Find<frmPhones>()) {
        FillGroupCombo(phones->Combo1);
        Forms::DoEvents();
    }
}

void frmGroupes::fillList()
{
    FillGroupCombo(Combo1);
    const QSignalBlocker blocker(Combo1);
    Combo1->removeItem(1);
    Combo1->removeItem(0);
    Combo1->setCurrentIndex(-1);
}

void frmGroupes::Option1_Click()
{
    ShowCreateHalf(*this);
    Text1Name_Change();
}

void frmGroupes::Option2_Click() { ShowDeleteHalf(*this); }

void frmGroupes::Text1Name_Change()
{
    const QString name = Text1Name->text();
    const QString proper = ProperCase(name);
    if (proper == QLatin1String("System") || proper == s("Общая") || proper == QLatin1String("General")
        || name == Forms::Get<frmProcess>().GeneralGroupName) {
        // Emptying the box is a change of its own, which runs the rule again.
        Text1Name->clear();
        return;
    }
    Command2->setEnabled(Option1->isChecked() && !name.isEmpty());
}

void frmGroupes::Command2_Click()
{
    if (Text1Name->text().isEmpty())
        return;
    Recordset& rs = groups();
    OpenIfClosed(rs);
    DbResult result = rs.AddNew();
    if (result.Ok())
        result = rs.SetField(0, Text1Name->text());
    if (result.Ok())
        result = rs.Update();
    if (!result.Ok())
        rs.CancelUpdate();
    std::ignore = CloseIfOpen(rs);  // its edit was stored or cancelled above
    if (!result.Ok()) {
        if (result.status == DbStatus::DuplicateKey)
            GroupManagerMessage("mes155", 48);
        else
            MsgBox(GetLangText(s("mes65")) + s(" ") + result.Description(), 48, ProductName());
        return;
    }
    fillList();
    QPointer<frmGroupes> self(this);
    GroupManagerMessage("mes153", 64);
    if (self)
        Text1Name->clear();
}

void frmGroupes::Command1_Click()
{
    if (Combo1->count() == 0) {
        GroupManagerMessage("mes151", 48);
        return;
    }
    const QString name = Combo1->currentText();
    QPointer<frmGroupes> self(this);
    const int answer = MsgBox(GetLangText(s("mes152")) + s(" \"") + name + s("\" ?"), 4 + 32, ProductName());
    if (!self)
        return;
    if (answer == vbYes) {
        // The search starts from the first row, whoever had the table open before.
        Recordset& rs = groups();
        OpenIfClosed(rs);
        DbResult result = rs.MoveFirst();
        if (result.Ok())
            result = rs.Find(GroupFilter(name));
        const bool found = result.Ok() && !rs.Eof();
        if (found)
            result = rs.Delete();
        std::ignore = CloseIfOpen(rs);  // the manager leaves no edit pending
        if (!result.Ok()) {
            LogDbFailure(s("contact groups"), result);
            GroupManagerMessage("mes342", 48);
        } else if (found) {
            GroupManagerMessage("mes154", 64);
        }
        if (!self)
            return;
        fillList();
        ShowDeletable(*this);
    }
    // Deleting a group changes no contact: a grid that could not read them again
    // still shows what the file holds.
    std::ignore = DataEnvironment1().rstbl_Phones.Resync();
}

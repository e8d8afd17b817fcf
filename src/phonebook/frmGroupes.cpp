#include "frmGroupes.h"

#include "ContactRecord.h"
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
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

Recordset& groups() { return DataEnvironment1().rstbl_Groupes; }

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
    setFixedSize(Px(5820), Px(4440));
    tbsOptions = MakeControl<QTabWidget>(this, "tbsOptions", 120, 120, 5580, 3660);
    picOptions = new QWidget(tbsOptions);
    picOptions->setObjectName(s("picOptions0"));
    tbsOptions->addTab(picOptions, QString());
    Frame1 = MakeControl<QGroupBox>(picOptions, "Frame1", 120, 120, 5220, 2940);
    Option1 = MakeControl<QRadioButton>(Frame1, "Option1", 180, 300, 4860, 300);
    Label2 = MakeControl<QLabel>(Frame1, "Label2", 480, 690, 4560, 255);
    Text1Name = MakeControl<QLineEdit>(Frame1, "Text1Name", 480, 960, 3180, 330);
    Command2 = MakeControl<QPushButton>(Frame1, "Command2", 3780, 937, 1260, 375);
    Option2 = MakeControl<QRadioButton>(Frame1, "Option2", 180, 1530, 4860, 300);
    Label1 = MakeControl<QLabel>(Frame1, "Label1", 480, 1920, 4560, 255);
    Combo1 = MakeControl<QComboBox>(Frame1, "Combo1", 480, 2190, 3180, 330);
    Command1 = MakeControl<QPushButton>(Frame1, "Command1", 3780, 2167, 1260, 375);
    Command0 = MakeControl<QPushButton>(this, "Command0", 4485, 3900, 1215, 375);
    Command1->setEnabled(false);
    OnOptionClick(Option1, this, [this] { Option1_Click(); });
    OnOptionClick(Option2, this, [this] { Option2_Click(); });
    connect(Text1Name, &QLineEdit::textChanged, this, &frmGroupes::Text1Name_Change);
    connect(Command2, &QPushButton::clicked, this, &frmGroupes::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmGroupes::Command1_Click);
    connect(Command0, &QPushButton::clicked, this, [this] { Forms::Unload(this); });
    SetCancelButton(Command0);
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

void frmGroupes::ApplyLanguage()
{
    setWindowTitle(GetLangText(s("mes146")));
    tbsOptions->setTabText(0, GetLangText(s("mes147")));
    Frame1->setTitle(GetLangText(s("mes148")));
    Option1->setText(GetLangText(s("opt9")));
    Label2->setText(GetLangText(s("mes149")));
    Command2->setText(GetLangText(s("cmd12")));
    Option2->setText(GetLangText(s("opt10")));
    Label1->setText(GetLangText(s("mes150")));
    Command1->setText(GetLangText(s("cmd6")));
    Command0->setText(GetLangText(s("cmd1")));
}

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
    Label2->setEnabled(true);
    Text1Name->setEnabled(true);
    Label1->setEnabled(false);
    Combo1->setEnabled(false);
    Command1->setEnabled(false);
    Text1Name_Change();
}

void frmGroupes::Option2_Click()
{
    Label2->setEnabled(false);
    Text1Name->setEnabled(false);
    Command2->setEnabled(false);
    Label1->setEnabled(true);
    showDeletable();
}

void frmGroupes::showDeletable()
{
    const bool any = Combo1->count() > 0;
    Combo1->setEnabled(any);
    Command1->setEnabled(any);
    if (any)
        Combo1->setCurrentIndex(0);
}

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
            MsgBox(GetLangText(s("mes155")), 48, ProductName());
        else
            MsgBox(GetLangText(s("mes65")) + s(" ") + result.Description(), 48, ProductName());
        return;
    }
    fillList();
    QPointer<frmGroupes> self(this);
    MsgBox(GetLangText(s("mes153")), 64, ProductName());
    if (self)
        Text1Name->clear();
}

void frmGroupes::Command1_Click()
{
    if (Combo1->count() == 0) {
        MsgBox(GetLangText(s("mes151")), 48, ProductName());
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
            MsgBox(GetLangText(s("mes342")), 48, ProductName());
        } else if (found) {
            MsgBox(GetLangText(s("mes154")), 64, ProductName());
        }
        if (!self)
            return;
        fillList();
        showDeletable();
    }
    // Deleting a group changes no contact: a grid that could not read them again
    // still shows what the file holds.
    std::ignore = DataEnvironment1().rstbl_Phones.Resync();
}

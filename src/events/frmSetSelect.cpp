#include "frmSetSelect.h"

#include "core/SourceText.h"
#include "frmOptions.h"
#include "frmOrg.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/cTabStripPane.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmMainPopUp.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

enum Choice { CategoryRule = 0, ReminderOptions = 1 };

}  // namespace

frmSetSelect::frmSetSelect()
    : Form(s("frmSetSelect"), DialogWindow)
{
    BuildChooser(this, 2, this);
    connect(cmdOK, &QPushButton::clicked, this, &frmSetSelect::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSetSelect::cmdCancel_Click);
}

frmSetSelect::~frmSetSelect() = default;

void frmSetSelect::Form_Load()
{
    SetFormIcon(this, s("RES_0"), true);
    TabPane = std::make_unique<cTabStripPane>(tbsOptions);
    setWindowTitle(GetLangText(s("mes253")));
    tbsOptions->setTabText(0, GetLangText(s("mes253")));
    Frame1->setTitle(GetLangText(s("mes187")) + s(":"));
    Option1[CategoryRule]->setText(GetLangText(s("opt19")));
    Option1[ReminderOptions]->setText(GetLangText(s("opt17")));
    cmdCancel->setText(GetLangText(s("cmd2")));
}

void frmSetSelect::ShowFor(frmOrg* planner)
{
    const QString storedName = planner->ChosenStoredName();
    const QPointer<frmOrg> owner(planner);
    int choice = -1;
    QPointer<frmSetSelect> chooser(&Forms::Get<frmSetSelect>());
    chooser->choice_ = &choice;
    chooser->ShowModal(planner);
    if (chooser)
        chooser->choice_ = nullptr;
    if (choice == CategoryRule)
        EditCategoryRule(storedName);
    else if (choice == ReminderOptions && owner)
        Forms::Get<frmOptions>().ShowModal(owner);
}

void frmSetSelect::cmdOK_Click()
{
    if (choice_)
        *choice_ = ChosenOption(*this);
    Forms::Unload(this);
}

void frmSetSelect::cmdCancel_Click() { Forms::Unload(this); }

void frmSetSelect::EditCategoryRule(const QString& storedName)
{
    // The planner lists the main window's categories in the same order; the
    // category is found by its stored name all the same, so that a list changed
    // meanwhile cannot make it another one.
    frmMain& main = Forms::Get<frmMain>();
    for (int row = 0; row < main.ListView1->count(); ++row) {
        if (frmMain::StoredNameOf(main.ListView1->item(row)) != storedName)
            continue;
        main.ListView1->setCurrentRow(row);
        QPointer<frmMainPopUp> menu(&Forms::Get<frmMainPopUp>());
        menu->mnuOptions_Click();
        Forms::Unload<frmMainPopUp>();
        return;
    }
}

#include "frmMesSelect.h"

#include "core/SourceText.h"
#include "frmMesAdd.h"
#include "frmOptions.h"
#include "frmOrg.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/cTabStripPane.h"
#include "mainwin/frmIconAdd.h"
#include "mainwin/frmMain.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/DateField.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimeEdit>

namespace {

enum Choice { QuickReminder = 0, Planner = 1, ReminderOptions = 2, NewCategory = 3 };

}  // namespace

frmMesSelect::frmMesSelect()
    : Form(s("frmMesSelect"), DialogWindow)
{
    BuildChooser(this, 4, this);
    connect(cmdOK, &QPushButton::clicked, this, &frmMesSelect::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmMesSelect::cmdCancel_Click);
}

frmMesSelect::~frmMesSelect() = default;

void frmMesSelect::Form_Load()
{
    SetFormIcon(this, s("RES_0"), true);
    TabPane = std::make_unique<cTabStripPane>(tbsOptions);
    setWindowTitle(GetLangText(s("mes1")));
    tbsOptions->setTabText(0, GetLangText(s("mes1")));
    Frame1->setTitle(GetLangText(s("mes187")) + s(":"));
    for (int i = 0; i < 4; ++i)
        Option1[i]->setText(GetLangText(QStringLiteral("opt%1").arg(15 + i)));
    cmdCancel->setText(GetLangText(s("cmd2")));
}

void frmMesSelect::ShowFor(Form* owner)
{
    int choice = -1;
    QPointer<frmMesSelect> chooser(&Forms::Get<frmMesSelect>());
    chooser->choice_ = &choice;
    chooser->ShowModal(owner);
    if (chooser)
        chooser->choice_ = nullptr;
    switch (choice) {
    case QuickReminder:
        ShowQuickReminder();
        break;
    case Planner:
        OpenPlanner();
        break;
    case ReminderOptions:
        Forms::Get<frmOptions>().ShowModal(&Forms::Get<frmMain>());
        break;
    case NewCategory:
        frmIconAdd::ShowNew(&Forms::Get<frmMain>());
        break;
    default:
        break;
    }
}

void frmMesSelect::cmdOK_Click()
{
    const int option = ChosenOption(*this);
    if (choice_)
        *choice_ = option >= QuickReminder && option <= ReminderOptions ? option : NewCategory;
    Forms::Unload(this);
}

void frmMesSelect::cmdCancel_Click() { Forms::Unload(this); }

void frmMesSelect::ShowQuickReminder()
{
    frmMain& main = Forms::Get<frmMain>();
    QPointer<frmMesAdd> editor(&Forms::Get<frmMesAdd>());
    editor->setWindowTitle(GetLangText(s("mes188")));
    editor->DTPicker1->setDate(Clock::Today());
    editor->DTPicker2->setTime(Clock::TimeOfDay());
    editor->Check1->setChecked(true);
    editor->Command2->hide();
    editor->Command1->move(Px(4440), editor->Command1->y());
    editor->Command0->move(Px(3000), editor->Command0->y());
    // One tab left is what makes the editor save a quick reminder.
    editor->tbsOptions->removeTab(2);
    editor->tbsOptions->removeTab(1);
    editor->tbsOptions->tabBar()->hide();
    editor->tbsOptions->setFocusPolicy(Qt::NoFocus);
    editor->ShowModal(&main);
}

void frmMesSelect::OpenPlanner()
{
    frmMain& main = Forms::Get<frmMain>();
    if (main.ListView1->count() == 0)
        return;
    main.HandOffPosition();
    frmOrg& planner = Forms::Get<frmOrg>();
    planner.FillCategories(main.ListView1);
    planner.SelectCategory(0);
    Forms::Unload<frmMain>();
    planner.ShowModeless();
}

#include "frmCntSearch.h"

#include "ContactRecord.h"
#include "core/SourceText.h"
#include "frmPhones.h"
#include "core/DataEnvironment.h"
#include "core/Fatal.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "platform/Controls.h"
#include "platform/MsgBox.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The windows that stand over the phone book while they are open.
const char* const PhoneBookDialogs[] = {"frmCntAdd", "frmGroupes", "frmCntTable", "frmWAB"};

// Column entries: the entry's caption and the description of its search.
const char* const ColumnKeys[] = {"mes92", "mes93", "mes96"};
const char* const DescriptionKeys[] = {"mes136", "mes137", "mes138"};

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

}  // namespace

frmCntSearch::frmCntSearch()
    : Form(s("frmCntSearch"), DialogWindow)
{
    setFixedSize(Px(5400), Px(2400));
    Frame1 = MakeControl<QGroupBox>(this, "Frame1", 120, 120, 5160, 1560);
    Label1 = MakeControl<QLabel>(Frame1, "Label1", 180, 345, 1800, 255);
    Combo1 = MakeControl<QComboBox>(Frame1, "Combo1", 2040, 300, 2940, 330);
    Label2 = MakeControl<QLabel>(Frame1, "Label2", 180, 780, 4800, 255);
    Text1 = MakeControl<QLineEdit>(Frame1, "Text1", 180, 1050, 4800, 330);
    cmdOK = MakeControl<QPushButton>(this, "cmdOK", 390, 1860, 1560, 375);
    CmdReset = MakeControl<QPushButton>(this, "CmdReset", 2055, 1860, 1560, 375);
    cmdCancel = MakeControl<QPushButton>(this, "cmdCancel", 3720, 1860, 1560, 375);
    cmdOK->setEnabled(false);
    connect(Text1, &QLineEdit::textChanged, this, &frmCntSearch::Text1_Change);
    connect(Text1, &QLineEdit::returnPressed, this, [this] {
        if (!Text1->text().isEmpty())
            cmdOK_Click();
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmCntSearch::cmdOK_Click);
    connect(CmdReset, &QPushButton::clicked, this, &frmCntSearch::CmdReset_Click);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { Forms::Unload(this); });
    SetCancelButton(cmdCancel);
    qApp->installEventFilter(this);
}

frmCntSearch::~frmCntSearch() = default;

void frmCntSearch::Form_Load()
{
    SetFormIcon(this, s("RES_0"), true);
    ApplyLanguage();
}

void frmCntSearch::ApplyLanguage()
{
    setWindowTitle(GetLangText(s("mes132")));
    Frame1->setTitle(GetLangText(s("mes133")) + s(":"));
    Label1->setText(GetLangText(s("mes135")) + s(":"));
    Label2->setText(GetLangText(s("mes134")) + s(":"));
    cmdOK->setText(GetLangText(s("cmd10")));
    CmdReset->setText(GetLangText(s("cmd11")));
    cmdCancel->setText(GetLangText(s("cmd2")));
    Combo1->clear();
    for (const char* key : ColumnKeys)
        Combo1->addItem(GetLangText(s(key)));
}

void frmCntSearch::Form_Activate()
{
    Combo1->setCurrentIndex(0);
    Text1->setFocus();
}

bool frmCntSearch::TakesInput()
{
    for (const Form* form : Forms::Loaded()) {
        for (const char* name : PhoneBookDialogs) {
            if (form->isVisible() && form->objectName() == QLatin1String(name))
                return false;
        }
    }
    return true;
}

bool frmCntSearch::eventFilter(QObject* watched, QEvent* event)
{
    if (isInput(event->type()) && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this
        && !TakesInput())
        return true;
    return Form::eventFilter(watched, event);
}

void frmCntSearch::Text1_Change() { cmdOK->setEnabled(!Text1->text().isEmpty()); }

void frmCntSearch::cmdOK_Click()
{
    frmPhones* phones = Forms::Find<frmPhones>();
    if (!TakesInput() || !phones)
        return;
    const int column = std::max(Combo1->currentIndex(), 0);
    const QString text = Text1->text();
    if (!DataEnvironment1().rstbl_Phones.SetFilter(SearchFilter(column, text)).Ok()) {
        MsgBox(GetLangText(s("mes139")), 48, ProductName());
        Text1->clear();
        Text1->setFocus();
        return;
    }
    phones->LabelFilter->setText(GetLangText(s(DescriptionKeys[column])) + s(": '") + text + s("'"));
}

void frmCntSearch::CmdReset_Click()
{
    frmPhones* phones = Forms::Find<frmPhones>();
    if (!TakesInput() || !phones)
        return;
    // A fixed filter, and edits are stored as they are made: it has nothing to fail on.
    std::ignore = DataEnvironment1().rstbl_Phones.SetFilter(AllContactsFilter());
    phones->LabelFilter->clear();
    Text1->clear();
}

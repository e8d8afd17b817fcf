#include "frmSupport.h"

#include "WizardControls.h"
#include "core/Fatal.h"
#include "core/NewVersion.h"
#include "core/OpenURL.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/SourceText.h"
#include "core/XMLParser.h"
#include "mainwin/frmMain.h"
#include "platform/MsgBox.h"
#include "platform/Web.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int WindowWidth = 6600;
constexpr int PageHeight = 3000;

// The support pages of the web site; with no zone the home page ends in "/" already.
QString contactsPageUrl()
{
    QString url = HomePageUrl();
    if (!url.endsWith(QLatin1Char('/')))
        url += QLatin1Char('/');
    return url + s("contacts.php");
}

}  // namespace

frmSupport::frmSupport()
    : Form(s("frmSupport"), DialogWindow)
{
    setFixedSize(Px(WindowWidth), Px(3780));

    Page1 = AddPage(this, "Page1", WindowWidth, PageHeight, &lblHeading1);
    lblDescription = AddDescription(Page1, "lblDescription", 240, 720, WindowWidth - 480, 780);
    QList<QRadioButton*> options;
    fraOptions = AddOptionFrame(Page1, "fraOptions", 240, 1560, WindowWidth - 480, 2, &options);
    optUpdate = options[0];
    optSupport = options[1];

    // Page 2 covers page 1 while it shows.
    Page2 = AddPage(this, "Page2", WindowWidth, PageHeight, &lblHeading2);
    lblInstalledCaption = MakeControl<QLabel>(Page2, "lblInstalledCaption", 240, 780, 2760, 300);
    lblInstalled = MakeControl<QLabel>(Page2, "lblInstalled", 3060, 780, 1500, 300);
    lblLatestCaption = MakeControl<QLabel>(Page2, "lblLatestCaption", 240, 1140, 2760, 300);
    lblLatest = MakeControl<QLabel>(Page2, "lblLatest", 3060, 1140, 1500, 300);
    cmdGet = MakeControl<QPushButton>(Page2, "cmdGet", 4680, 870, 1680, 435);
    lblResult = AddDescription(Page2, "lblResult", 240, 1620, WindowWidth - 480, 600);
    chkAuto = MakeControl<QCheckBox>(Page2, "chkAuto", 240, 2520, WindowWidth - 480, 330);
    // What a label shows (main.xml's entry, a language text) is never taken for markup.
    for (QLabel* label : findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);

    cmdNext = MakeControl<QPushButton>(this, "cmdNext", 3900, 3120, 1200, 435);
    cmdMenu = MakeControl<QPushButton>(this, "cmdMenu", 3900, 3120, 1200, 435);
    cmdExit = MakeControl<QPushButton>(this, "cmdExit", 5220, 3120, 1200, 435);
    connect(cmdNext, &QPushButton::clicked, this, &frmSupport::cmdNext_Click);
    connect(cmdMenu, &QPushButton::clicked, this, &frmSupport::cmdMenu_Click);
    connect(cmdGet, &QPushButton::clicked, this, &frmSupport::cmdGet_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmSupport::cmdExit_Click);
    SetCancelButton(cmdExit);
}

void frmSupport::Form_Load()
{
    SetFormIcon(this, s("RES_0"), false);
    chkAuto->setChecked(AutoUpdateCheck());
    ApplyLanguage();
    cmdGet->setEnabled(false);
    Page2->hide();
    cmdMenu->hide();
}

void frmSupport::ShowFor(frmMain& main)
{
    frmSupport& support = Forms::Get<frmSupport>();
    main.CentreOver(support);
    support.ShowModal(&main);
}

void frmSupport::ApplyLanguage()
{
    setWindowTitle(GetLangText(s("mes254")));
    lblHeading1->setText(GetLangText(s("mnu7")));
    lblDescription->setText(GetLangText(s("mes260")));
    fraOptions->setTitle(GetLangText(s("mes261")));
    optUpdate->setText(GetLangText(s("opt20")));
    optSupport->setText(GetLangText(s("opt21")));
    lblHeading2->setText(GetLangText(s("mes255")));
    lblInstalledCaption->setText(GetLangText(s("mes256")) + s(":"));
    lblLatestCaption->setText(GetLangText(s("mes258")) + s(":"));
    lblInstalled->setText(GetLangText(s("mes257")));
    lblLatest->setText(GetLangText(s("mes257")));
    chkAuto->setText(GetLangText(s("mes259")));
    cmdGet->setText(GetLangText(s("cmd14")));
    cmdNext->setText(GetLangText(s("cmd3")));
    cmdExit->setText(GetLangText(s("cmd1")));
    cmdMenu->setText(GetLangText(s("cmd15")));
}

void frmSupport::Form_Unload()
{
    delete check_.data();
    // The window closes all the same: one that every close kept open would trap the user.
    if (!WriteOption(s("Update"), s("auto"), chkAuto->isChecked() ? s("1") : s("0")))
        MsgBox(GetLangText(s("mes395")), 48, ProductName());
}

bool frmSupport::checking() const { return check_ && check_->IsRunning(); }

void frmSupport::cmdNext_Click()
{
    if (checking())
        return;
    if (optUpdate->isChecked())
        CheckVersion();
    else if (optSupport->isChecked())
        OpenURL(contactsPageUrl());
}

void frmSupport::CheckVersion()
{
    Page1->setEnabled(false);
    Page2->show();
    Page2->raise();
    cmdNext->hide();
    cmdNext->setEnabled(false);
    cmdMenu->show();
    cmdMenu->setEnabled(false);

    // The installed version is main.xml's entry, whatever its label shows.
    installed_ = ReadMainXml(s("Version"));
    if (!installed_.isEmpty())
        lblInstalled->setText(installed_);
    lblLatest->setText(s("//") + GetLangText(s("mes262")) + s("..."));
    setCursor(Qt::BusyCursor);
    check_ = new Web::Download(VersionFileUrl(), this);
    connect(check_, &Web::Download::finished, this, &frmSupport::showVersion);
}

void frmSupport::showVersion(const QByteArray& answer)
{
    unsetCursor();
    cmdNext->setEnabled(true);
    cmdMenu->setEnabled(true);
    const QString published = QString::fromUtf8(answer);
    lblLatest->setText(VersionText(published));

    if (!IsVersion(installed_) || !IsVersion(published)) {
        lblResult->setText(GetLangText(s("mes263")));
    } else if (!IsNewerVersion(installed_, published)) {
        lblResult->setText(GetLangText(s("mes265")));
    } else {
        cmdGet->setEnabled(true);
        cmdGet->setFocus();
        lblResult->setText(GetLangText(s("mes264")));
    }
}

void frmSupport::cmdMenu_Click()
{
    if (checking())
        return;
    lblResult->clear();
    cmdGet->setEnabled(false);
    Page1->setEnabled(true);
    cmdMenu->hide();
    cmdNext->show();
    Page2->hide();
    optUpdate->setFocus();
}

void frmSupport::cmdGet_Click()
{
    if (!checking())
        OpenURL(HomePageUrl());
}

void frmSupport::cmdExit_Click() { Forms::Unload(this); }

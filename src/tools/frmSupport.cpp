#include "frmSupport.h"

#include "core/NewVersion.h"
#include "core/OpenURL.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/XMLParser.h"
#include "mainwin/frmMain.h"
#include "platform/Controls.h"
#include "platform/Web.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

QLabel* heading(QWidget* parent, const char* name)
{
    QLabel* made = MakePlainLabel(parent, name, 240, 180, 6120, 375);
    QFont font = made->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    made->setFont(font);
    return made;
}

// The hourglass for as long as it lives.
struct BusyPointer {
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

// The window was closed while window events ran.
bool closed(const QPointer<frmSupport>& window) { return !window || window->IsUnloading(); }

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
    setFixedSize(Px(6600), Px(3780));

    Page1 = MakeControl<QWidget>(this, "Page1", 0, 0, 6600, 3000);
    lblHeading1 = heading(Page1, "lblHeading1");
    lblDescription = MakePlainLabel(Page1, "lblDescription", 240, 660, 6120, 780);
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    fraOptions = MakeControl<QGroupBox>(Page1, "fraOptions", 240, 1560, 6120, 1260);
    optUpdate = MakeControl<QRadioButton>(fraOptions, "optUpdate", 240, 360, 5640, 330);
    optSupport = MakeControl<QRadioButton>(fraOptions, "optSupport", 240, 780, 5640, 330);

    // Page 2 covers page 1 while it shows.
    Page2 = MakeControl<QWidget>(this, "Page2", 0, 0, 6600, 3000);
    Page2->setAutoFillBackground(true);
    lblHeading2 = heading(Page2, "lblHeading2");
    lblInstalledCaption = MakePlainLabel(Page2, "lblInstalledCaption", 240, 780, 2760, 300);
    lblInstalled = MakePlainLabel(Page2, "lblInstalled", 3060, 780, 1500, 300);
    lblLatestCaption = MakePlainLabel(Page2, "lblLatestCaption", 240, 1140, 2760, 300);
    lblLatest = MakePlainLabel(Page2, "lblLatest", 3060, 1140, 1500, 300);
    cmdGet = MakeControl<QPushButton>(Page2, "cmdGet", 4680, 870, 1680, 435);
    lblResult = MakePlainLabel(Page2, "lblResult", 240, 1620, 6120, 600);
    lblResult->setWordWrap(true);
    lblResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    chkAuto = MakeControl<QCheckBox>(Page2, "chkAuto", 240, 2520, 6120, 330);

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
    optUpdate->setChecked(true);
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
    WriteOption(s("Update"), s("auto"), chkAuto->isChecked() ? s("1") : s("0"));
}

void frmSupport::cmdNext_Click()
{
    if (checking_)
        return;
    if (optUpdate->isChecked())
        CheckVersion();
    else if (optSupport->isChecked())
        OpenURL(contactsPageUrl());
}

void frmSupport::CheckVersion()
{
    checking_ = true;
    Page1->setEnabled(false);
    Page2->show();
    Page2->raise();
    cmdNext->hide();
    cmdMenu->show();

    // The installed version is main.xml's entry, whatever its label shows.
    const QString installed = ReadMainXml(s("Version"));
    if (!installed.isEmpty())
        lblInstalled->setText(installed);
    lblLatest->setText(s("//") + GetLangText(s("mes262")) + s("..."));

    const QPointer<frmSupport> self(this);
    QString published;
    {
        const BusyPointer busy;
        Forms::DoEvents();
        if (closed(self))
            return;
        published = Web::DownloadText(VersionFileUrl());
    }
    lblLatest->setText(VersionText(published));

    if (!IsVersion(installed) || !IsVersion(published)) {
        lblResult->setText(GetLangText(s("mes263")));
    } else if (!IsNewerVersion(installed, published)) {
        lblResult->setText(GetLangText(s("mes265")));
    } else {
        cmdGet->setEnabled(true);
        Forms::DoEvents();
        if (closed(self))
            return;
        cmdGet->setFocus();
        lblResult->setText(GetLangText(s("mes264")));
    }
    checking_ = false;
}

void frmSupport::cmdMenu_Click()
{
    if (checking_)
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
    if (!checking_)
        OpenURL(HomePageUrl());
}

void frmSupport::cmdExit_Click() { Forms::Unload(this); }

#include "frmProcess.h"

#include "EventRows.h"
#include "FolderFileExists.h"
#include "Fatal.h"
#include "Formats.h"
#include "IconBaloonTray.h"
#include "LanguageCodes.h"
#include "MLock.h"
#include "NewVersion.h"
#include "OpenURL.h"
#include "Options.h"
#include "RegData.h"
#include "Resources.h"
#include "SourceText.h"
#include "StartCleanUp.h"
#include "SystemCharset.h"
#include "XMLParser.h"
#include "clsINI.h"
#include "events/frmOptions.h"
#include "mainwin/CategoryRename.h"
#include "mainwin/frmMain.h"
#include "tools/frmSupport.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/KnownFolders.h"
#include "platform/MsgBox.h"
#include "platform/QtTranslation.h"
#include "platform/SoundPlayer.h"
#include "platform/TrayIcon.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

QString commandLine;

constexpr int SettleDelayMs = 3000;

// Once the start is over, out of the way of the first windows: the sound system is
// made ready on this thread once these calls are done, the heap that reading the
// tables left free goes back to the system (the program then idles for hours), and
// the update check starts, so that a slow server never holds up the tray icon or the
// main window.
void settleAfterStart()
{
    playSound::Prepare();
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    Forms::Get<frmProcess>().CheckForUpdate();
}

}  // namespace

void SetCommandLine(const QString& arguments) { commandLine = arguments; }

QString CommandLine() { return commandLine; }

frmProcess::frmProcess()
    : Form(QStringLiteral("frmProcess"), DialogWindow)
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    for (int i = 0; i < 6; ++i) {
        auto* panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        StatusBar1->addWidget(panel, i < 2 ? 2 : 1);
        panels_.append(panel);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(StatusBar1);
    resize(760, 360);

    // The tray's menu is no child of this window: it keeps working while a
    // reminder has disabled every window.
    mPopUp = new QMenu;
    mPopUp->setObjectName(QStringLiteral("mPopUp"));
    mOpen = mPopUp->addAction(ProductName(), this, &frmProcess::mOpen_Click);
    QFont bold = mOpen->font();
    bold.setBold(true);
    mOpen->setFont(bold);
    mPopUp->setDefaultAction(mOpen);
    mPopUp->addSeparator();
    mOptions = mPopUp->addAction(QString(), this, [this] { showCentred(Forms::Get<frmOptions>()); });
    mPopUp->addSeparator();
    mHomePage = mPopUp->addAction(QString(), this, [] { OpenURL(HomePageUrl()); });
    mUpGrate = mPopUp->addAction(QString(), this, [this] { showCentred(Forms::Get<frmSupport>()); });
    mHelp = mPopUp->addAction(QString(), this, &frmProcess::mHelp_Click);
    mPopUp->addSeparator();
    mExit = mPopUp->addAction(QString(), this, &frmProcess::mExit_Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(120);
    connect(Timer1, &QTimer::timeout, this, &frmProcess::Timer1_Timer);
    Timer1->start();
}

frmProcess::~frmProcess() { delete mPopUp; }

// A dialog of the tray menu opens over this window, moved to the middle of the screen.
void frmProcess::showCentred(Form& dialog)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        Move((Twips(area.width()) - Width()) / 2, (Twips(area.height()) - Height()) / 2);
    }
    dialog.ShowModal(this);
}

QString frmProcess::Panel(int number) const { return panels_.at(number - 1)->text(); }

void frmProcess::SetPanel(int number, const QString& text) { panels_.at(number - 1)->setText(text); }

void frmProcess::Form_Load()
{
    AppPath = KnownFolders::ProgramFolder();
    TimeFormat = SystemTimeFormat();
    ListView1.SetTimeFormat(TimeFormat);
    ProgramVersion = s("3.30");
    HideFromTaskbar(this);
    ReminderBalloonShown = false;

    RemoveLeftOvers();
    CopyDataTree(KnownFolders::InstallDataFolder());
    MigrateOldData();

    if (!FileExists(LangIniPath()))
        FatalEnd(s("There is no access to a file of options of the program: ") + LangIniPath());

    // A settings file that cannot be written keeps what it holds; the saves that
    // need it later say so.
    std::ignore = WriteOption(s("General"), s("fday"), SystemWeekStartsOnMonday() ? s("M") : s("S"));
    std::ignore = WriteOption(s("General"), s("fstart"), s("Y"));
    LanguageName = ReadLangIni(s("Main"), s("Language"));
    CheckLanguageCharset();

    const QString languageFile = LanguageFilePath(LanguageName);
    if (!FileExists(languageFile))
        FatalEnd(s("There is no access to a language file of the program: ") + languageFile);
    QtTranslation::Use(LanguageCode(LanguageName));
    ApplyLanguage();
    markerPath_ = KnownFolders::UserDataFolder() + s("/open2.set");
    marker_ = FileSystem::FolderFile(markerPath_);

    WeatherCityId = NoNul(ReadOption(s("General"), s("wcityid")));
    WeatherTempId = NoNul(ReadOption(s("General"), s("wtempid")));
    WeatherCityName = NoNul(ReadOption(s("General"), s("wcityname")));
    panelToday_ = Clock::Today();
    SetPanel(5, DateText(panelToday_));

    const QString version = ReadMainXml(s("Version"));
    if (version.isEmpty()) {
        WriteMainXml(s("Version"), ProgramVersion);
        TrayBalloon(ProductName(), GetLangText(s("mes235")), 1);
    } else if (version != ProgramVersion) {
        TrayBalloon(ProductName(), GetLangText(s("mes236")) + s(": ") + ProgramVersion, 1);
        WriteMainXml(s("Version"), ProgramVersion);
    }

    RegisterForLogin();
    // A built-in category's rename that a kill cut short, finished before the
    // category list can take its moved rule for the rule of no category.
    FinishBuiltInRenames();

    BusRefresh();
    // The list's change log begins and the main window is loaded hidden; the rows
    // themselves are read once the start is over (below).
    beginStartRefresh();
    StartTray();
    SetFormIcon(this, s("RES_0"), true);

    if (CommandLine() == QLatin1String("-fw"))
        Forms::Get<frmMain>().ShowModeless();
    // The rows are read once the start's windows are up: a worker reading beside
    // their building slows it, and the main window maps without waiting for the list
    // or the day colours, which follow as soon as the rows are in.
    if (startRead_)
        startRead_->Start(this, [this] { finishStartRefresh(); });
    QTimer::singleShot(SettleDelayMs, qApp, &settleAfterStart);
}

void frmProcess::StartTray()
{
    TrayIcon::SetMenu(mPopUp, [this] { return TrayMenuMayShow(); });
    TrayIcon::SetClickHandler([this](TrayIcon::Click) { TrayLeftClick(); });
    // Without a tray host the program would be out of reach: show the main window,
    // unless a window of the program is up already (a full-window view replaces it).
    TrayIcon::SetNoHostHandler([this] {
        for (const Form* form : Forms::Loaded()) {
            if (form->isVisible())
                return;
        }
        showMainWindow();
    });
    TrayAdd(ProductName());
}

void frmProcess::setVisible(bool visible)
{
    if (visible && !listView_) {
        listView_ = new QTreeView(this);
        listView_->setObjectName(QStringLiteral("ListView1"));
        listView_->setModel(&ListView1);
        listView_->setRootIsDecorated(false);
        listView_->setUniformRowHeights(true);
        listView_->setAlternatingRowColors(true);
        listView_->header()->setStretchLastSection(false);
        static_cast<QVBoxLayout*>(layout())->insertWidget(0, listView_);
    }
    Form::setVisible(visible);
}

bool frmProcess::Form_QueryUnload(UnloadMode)
{
    hide();
    return true;
}

void frmProcess::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    Form::keyPressEvent(event);
}

void frmProcess::ApplyLanguage()
{
    setWindowTitle(GetLangText(s("mes232")));
    mOptions->setText(GetLangText(s("mes286")));
    mUpGrate->setText(GetLangText(s("mes254")));
    mHomePage->setText(GetLangText(s("mes287")));
    mHelp->setText(GetLangText(s("mes288")));
    mExit->setText(GetLangText(s("cmd1")));
    ListView1.SetHeaders({GetLangText(s("mes219")), GetLangText(s("mes220")), GetLangText(s("mes61")),
                          GetLangText(s("mes180")), s("ID"), GetLangText(s("mes181")), GetLangText(s("mes289"))});
}

void frmProcess::CheckForUpdate() { ::CheckForUpdate(); }

// A dialog in front keeps the tray's commands from acting behind its back: the
// dialog is raised instead. A message box or modal dialog open anywhere counts, over
// whichever window is active: Open would unload the window it returns into.
bool frmProcess::TrayMenuMayShow()
{
    QWidget* modal = QApplication::activeModalWidget();
    Form* active = Forms::ActiveForm();
    static const QStringList views = {s("frmMain"), s("frmOrg"), s("frmProcess"), s("frmPhones"),
                                      s("frmBus"), s("frmNote")};
    if (!modal && OpenMessageBoxCount() == 0 && (!active || views.contains(active->objectName())))
        return true;
    QWidget* front = modal ? modal : active;
    if (!front)
        return false;
    if (front->isMinimized())
        front->showNormal();
    front->raise();
    front->activateWindow();
    return false;
}

void frmProcess::TrayLeftClick()
{
    Form* active = Forms::ActiveForm();
    if (active && active != this) {
        if (active->isMinimized())
            active->showNormal();
        active->raise();
        active->activateWindow();
        return;
    }
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    showMainWindow();
}

void frmProcess::showMainWindow()
{
    frmMain& main = Forms::Get<frmMain>();
    main.ShowModeless();
    QPointer<frmMain> guard(&main);
    if (guard)
        guard->GetWeather5days();
}

void frmProcess::mOpen_Click()
{
    for (Form* form : Forms::Loaded()) {
        if (form != this && form->objectName() != QLatin1String("frmWindow"))
            Forms::Unload(form);
    }
    // A reminder showing stays in front of the main window that Open brings up.
    const Form* active = Forms::ActiveForm();
    if (active && active->objectName() == QLatin1String("frmWindow"))
        showMainWindow();
    else
        TrayLeftClick();
}

void OpenHelpFile()
{
    const QString manual = Forms::Get<frmProcess>().AppPath + s("/Help/") + GetSiteZone() + s("help.pdf");
    if (!FileExists(manual))
        MsgBox(GetLangText(s("mes20")), 48, ProductName());
    else if (RegKeyExists(s("HKEY_CLASSES_ROOT\\.pdf\\")) != ReadResult::Found)
        MsgBox(GetLangText(s("mes19")), 48, ProductName());
    else
        OpenURL(manual);
}

void frmProcess::mHelp_Click() { OpenHelpFile(); }

void frmProcess::mExit_Click()
{
    const QString question = GetLangText(s("mes243")) + s("\r\n") + GetLangText(s("mes244")) + s("\r\n")
        + GetLangText(s("mes245")) + s(" ") + GetLangText(s("mes246"));
    if (MsgBox(question, 4 + 48 + 256, ProductName()) == vbYes)
        EndProcess(0);
}

void HideFromTaskbar(Form* form) { form->setWindowFlag(Qt::Tool, true); }

bool LanguageCharsetFallback()
{
    frmProcess& process = Forms::Get<frmProcess>();
    const QString name = process.LanguageName;
    if (name != QLatin1String("Russian") && name != QLatin1String("Belorussian") && name != QLatin1String("Ukrainian"))
        return false;
    if (GetSystemCharset() == 204)
        return false;
    MsgBox(s("Language of the program will be set to English. Your system configuration does not allow to "
             "correctly display the selected language (Russian, Ukrainian, Belorussian). In order to properly "
             "display these languages, choose a UTF-8 locale of your language (such as ru_RU.UTF-8) in the language "
             "or region settings of your desktop and log in again. The setting can affect other programs."),
           48, ProductName());
    // This run is in English either way; a file that cannot be written asks again at
    // the next start.
    std::ignore = WriteLangIni(s("Main"), s("Language"), s("English"));
    process.LanguageName = s("English");
    return true;
}

void CheckLanguageCharset()
{
    if (!LanguageCharsetFallback())
        return;
    Forms::Unload<frmMain>();
    Forms::DoEvents();
    Forms::Get<frmMain>().ShowModeless();
    Forms::Get<frmProcess>().LanguageName = s("English");
}

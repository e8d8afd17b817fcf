#include "frmMain.h"

#include "core/Formats.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/SourceText.h"
#include "core/Toolbar.h"
#include "core/WindowHelpers.h"
#include "core/frmProcess.h"
#include "events/frmMesSelect.h"
#include "phonebook/frmPhones.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/KnownFolders.h"
#include "platform/TrayIcon.h"
#include "tools/frmAbout.h"
#include "tools/frmBackUp.h"
#include "tools/frmBus.h"
#include "tools/frmNote.h"
#include "tools/frmReports.h"
#include "tools/frmSupport.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QToolBar>

namespace {

// Window layout, twips.
constexpr int WindowWidth = 12000;
constexpr int WindowHeight = 6660;

// The toolbar's captioned buttons: index, caption key, picture. The other indexes
// up to 19 hold no button; 9 and 10 are the gap between the two groups.
constexpr ToolbarEntry ToolbarEntries[] = {
    {2, "mnu0", "newevent"}, {4, "mnu1", "tasks"},    {6, "mnu2", "phones"},
    {8, "mnu3", "notes"},    {11, "mnu5", "backup"},  {13, "mnu6", "reports"},
    {15, "mnu7", "support"}, {17, "mnu8", "about"},   {19, "mnu9", "help"},
};
constexpr int ToolbarButtonCount = 19;

QLabel* heading(QWidget* parent, const char* name, int left, int top, int width)
{
    auto* label = new QLabel(parent);
    label->setObjectName(s(name));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    Place(label, left, top, width, 270);
    return label;
}

// A white panel with a sunken frame (the calendar, the nearest event).
QFrame* whitePanel(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(s(name));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    Place(panel, left, top, width, height);
    return panel;
}

qint16 handOffValue(int twips) { return static_cast<qint16>(std::clamp(twips, -32768, 32767)); }

bool aboutWindowVisible()
{
    for (Form* form : Forms::Loaded()) {
        if (form->objectName() == QLatin1String("frmAbout") && form->isVisible())
            return true;
    }
    return false;
}

}  // namespace

frmMain::frmMain()
    : Form(s("frmMain"), MainWindow)
{
    setFixedSize(Px(WindowWidth), Px(WindowHeight));

    buildToolbar();

    Label17 = heading(this, "Label17", 120, 1140, 2760);
    buildCalendar(whitePanel(this, "Picture1", 120, 1410, 2760, 2940));
    Label16 = heading(this, "Label16", 120, 4440, 2760);
    buildNearestEvent(whitePanel(this, "Picture2", 120, 4710, 2760, 1830));

    // The list sits in a white panel of its own, so that its pictures keep a margin.
    QFrame* listPanel = whitePanel(this, "ListPanel", 3000, 1140, 5760, 5400);
    ListView1 = new QListWidget(listPanel);
    ListView1->setObjectName(s("ListView1"));
    ListView1->setViewMode(QListView::IconMode);
    ListView1->setIconSize(QSize(32, 32));
    ListView1->setGridSize(QSize(108, 84));
    ListView1->setFrameShape(QFrame::NoFrame);
    ListView1->setMovement(QListView::Static);
    ListView1->setResizeMode(QListView::Adjust);
    ListView1->setWordWrap(true);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Place(ListView1, 90, 90, 5580, 5220);
    ListView1->installEventFilter(this);
    ListView1->viewport()->installEventFilter(this);
    connect(ListView1, &QListWidget::itemDoubleClicked, this, [this] { ListView1_DblClick(); });

    Label18 = heading(this, "Label18", 8880, 1140, 3000);
    weatherArea = new QWidget(this);
    weatherArea->setObjectName(s("weatherArea"));
    Place(weatherArea, 8880, 1410, 3000, 4020);
    Weather = new WeatherPanel(weatherArea);
    Place(Weather, 0, 0, 3000, 2700);
    connect(Weather, &WeatherPanel::todayRequested, this, &frmMain::Label3_Click);

    Timer = new QLabel(this);
    Timer->setObjectName(s("Timer"));
    Timer->setAlignment(Qt::AlignCenter);
    QFont clockFont = Timer->font();
    clockFont.setPixelSize(26);
    clockFont.setBold(true);
    Timer->setFont(clockFont);
    Place(Timer, 8880, 5550, 3000, 990);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(s("Timer1"));
    Timer1->setInterval(150);
    connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
}

// Loaded hidden, the window reads its toolbar pictures when first shown. The clock
// runs only while the window is up; shown again, it catches up at once.
void frmMain::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!picturesSet_) {
        picturesSet_ = true;
        SetToolbarPictures(toolbarButtons_, ToolbarEntries);
    }
    if (!Timer1->isActive()) {
        Timer1->start();
        Timer1_Timer();
    }
}

void frmMain::hideEvent(QHideEvent* event)
{
    Form::hideEvent(event);
    Timer1->stop();
}

void frmMain::buildToolbar()
{
    Toolbar1 = BuildToolbar(this, WindowWidth, ToolbarEntries, ToolbarButtonCount, 9,
                            [this](int index) { Toolbar1_ButtonClick(index); }, &toolbarButtons_);
}

QAction* frmMain::ToolbarButton(int index) const { return ToolbarButtonAt(toolbarButtons_, index); }

void frmMain::Form_Load()
{
    SetFormIcon(this, s("RES_0"), true);
    SetToolbarFont(this, Toolbar1);
    labelTodayDate_ = Clock::Today();
    LabelToday->setText(DateText(labelTodayDate_));
    OpenDB();
    QPointer<frmMain> self(this);
    Forms::DoEvents();
    if (!self)
        return;
    applyLanguage();
    frmProcess& process = Forms::Get<frmProcess>();
    setWindowTitle(s("Tessaryn v.") + process.ProgramVersion + s(" - [") + KnownFolders::UserName() + s("]"));
    ClearDays();
    // The day colours and tooltips come from the event-list refresh: the one that
    // loads this window, or its own.
    if (!selectToday())
        return;
    if (!process.Refreshing())
        process.DateRefreshChanged();
    if (self)
        GetWeather5days();
}

void frmMain::applyLanguage()
{
    {
        const QSignalBlocker blocker(ComboMonth);
        ComboMonth->clear();
        for (int month = 1; month <= 12; ++month)
            ComboMonth->addItem(GetLangText(QStringLiteral("month%1").arg(month)));
        ComboMonth->setCurrentIndex(-1);
    }
    SetToolbarCaptions(Toolbar1, toolbarButtons_, ToolbarEntries);
    Label1->setText(GetLangText(s("mes55")));
    Label43->setText(GetLangText(s("mes56")));
    const bool sundayFirst = SundayFirst();
    for (int column = 0; column < 7; ++column) {
        const int day = sundayFirst ? (column == 0 ? 7 : column) : column + 1;
        WeekdayCaptions[column]->setText(GetLangText(QStringLiteral("wdays%1").arg(day)));
    }
    Label16->setText(GetLangText(s("mes241")));
    Label17->setText(GetLangText(s("mes313")));
    Label18->setText(GetLangText(s("mes314")));
    Weather->ApplyLanguage();
}

bool frmMain::Form_QueryUnload(UnloadMode mode)
{
    if (mode == UnloadMode::ControlMenu && !TrayIcon::IsVisibleInTray())
        Forms::Get<frmProcess>().mExit_Click();
    return false;
}

void frmMain::Form_Activate()
{
    frmProcess& process = Forms::Get<frmProcess>();
    if (process.PositionHandOffLeft == 0)
        return;
    Move(process.PositionHandOffLeft, process.PositionHandOffTop);
    process.PositionHandOffTop = 0;
    process.PositionHandOffLeft = 0;
}

void frmMain::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ControlModifier) {
        Forms::Get<frmProcess>().ShowModeless();
        return;
    }
    if (event->key() == Qt::Key_F1) {
        OpenHelpFile();
        return;
    }
    Form::keyPressEvent(event);
}

void frmMain::Timer1_Timer()
{
    // The day-change redraw waits while the About window is up; a redraw already
    // running (its message pump can reach this tick) is not started again.
    const QDateTime now = Clock::TickNow();
    if (!redrawing_ && labelTodayDate_ != now.date() && !aboutWindowVisible()) {
        ClearDays();
        ShowToday();
    }
    Timer->setText(LongTimeText(now.time()));
}

void frmMain::Toolbar1_ButtonClick(int index)
{
    if (index == 2) {
        frmMesSelect::ShowFor(this);
    } else if (index == 4) {
        HandOffPosition();
        Forms::Get<frmBus>().ShowModeless();
    } else if (index == 6) {
        HandOffPosition();
        Forms::Get<frmPhones>().ShowModeless();
    } else if (index == 8) {
        HandOffPosition();
        Forms::Get<frmNote>().ShowModeless();
    } else if (index == 11) {
        frmBackUp::ShowFor(this);  // a restore unloads this window: nothing may follow
    } else if (index == 13) {
        frmReports::ShowFor(this);
    } else if (index == 15) {
        frmSupport::ShowFor(*this);
    } else if (index == 17) {
        frmAbout::ShowFor(*this);
    } else if (index == 19) {
        OpenHelpFile();
    }
}

void frmMain::HandOffPosition()
{
    frmProcess& process = Forms::Get<frmProcess>();
    process.PositionHandOffLeft = handOffValue(Left());
    process.PositionHandOffTop = handOffValue(Top());
}

void frmMain::TakeHandedPosition(Form& view)
{
    frmProcess& process = Forms::Get<frmProcess>();
    view.Move(process.PositionHandOffLeft, process.PositionHandOffTop);
    process.PositionHandOffTop = 0;
    process.PositionHandOffLeft = 0;
}

void frmMain::ReturnFrom(const Form& view)
{
    frmProcess& process = Forms::Get<frmProcess>();
    process.PositionHandOffLeft = handOffValue(view.Left());
    process.PositionHandOffTop = handOffValue(view.Top());
    // The main window's load pumps events: it is shown only when it is still there.
    Forms::Get<frmMain>();
    if (frmMain* main = Forms::Find<frmMain>())
        main->ShowModeless();
}

void frmMain::CentreOver(Form& dialog) const
{
    dialog.Move(Left() + Width() / 2 - dialog.Width() / 2, Top() + Height() / 2 - dialog.Height() / 2);
}

void frmMain::GetWeather5days() { Weather->GetWeather5days(); }

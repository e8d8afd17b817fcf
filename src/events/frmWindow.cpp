#include "frmWindow.h"

#include "core/Fatal.h"
#include "core/FittedText.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "platform/Controls.h"
#include "platform/WindowEffects.h"

#include <QAction>
#include <QClipboard>
#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTimer>

#include <cmath>

namespace {

constexpr int WindowWidth = 6600;   // twips
constexpr int WindowHeight = 4440;
constexpr int SlideStep = 30;       // twips a slide tick
constexpr int FadeSteps = 15;       // the fade-in takes FadeSteps ticks of FadeStepMs
constexpr int FadeStepMs = 20;
constexpr int CounterMaximum = 10000;

ReminderStage stage = ReminderStage::Idle;
const frmWindow* stageOwner = nullptr;

QFrame* frame(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setFrameShape(QFrame::NoFrame);
    f->setAutoFillBackground(true);
    Place(f, left, top, width, height);
    return f;
}

QLabel* label(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    Place(l, left, top, width, height);
    return l;
}

void paint(QWidget* widget, QPalette::ColorRole role, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

}  // namespace

ReminderStage CurrentReminderStage() { return stage; }

int SnoozeMinutes(int index)
{
    static const int minutes[] = {5, 10, 30, 60, 180, 1440};
    return index >= 0 && index < 6 ? minutes[index] : 0;
}

frmWindow::frmWindow()
    : Form(QStringLiteral("frmWindow"), DialogWindow)
{
    setFixedSize(Px(WindowWidth), Px(WindowHeight));
    setAutoFillBackground(true);

    Frame1 = frame(this, "Frame1", 240, 120, 6120, 540);
    Label1 = label(Frame1, "Label1", 0, 60, 6120, 420);
    QFont titleFont = Label1->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    Label1->setFont(titleFont);
    Label1->setWordWrap(false);

    FrameImage = frame(this, "FrameImage", 240, 780, 720, 720);
    Image1 = label(FrameImage, "Image1", 120, 120, 480, 480);
    Image1->setAlignment(Qt::AlignCenter);

    Frame2 = frame(this, "Frame2", 1080, 780, 5280, 720);
    Label2 = label(Frame2, "Label2", 0, 0, 2520, 330);
    Label4 = label(Frame2, "Label4", 2640, 0, 2640, 330);
    Label7 = label(Frame2, "Label7", 0, 390, 5280, 330);
    Label3 = label(Frame2, "Label3", 0, 390, 5280, 330);
    FitText(Label7);
    Label3->hide();
    QFont detailFont = Label2->font();
    detailFont.setBold(true);
    Label2->setFont(detailFont);
    Label4->setFont(detailFont);

    Frame3 = frame(this, "Frame3", 240, 1620, 6120, 1680);
    Label6 = label(Frame3, "Label6", 0, 0, 6120, 300);
    Label5 = new QPlainTextEdit(Frame3);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setReadOnly(true);
    Label5->setFocusPolicy(Qt::NoFocus);
    Label5->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Label5->setContextMenuPolicy(Qt::NoContextMenu);
    Label5->viewport()->installEventFilter(this);
    Place(Label5, 0, 330, 6120, 1350);

    Label8 = label(this, "Label8", 0, 0, 0, 0);
    Label9 = label(this, "Label9", 0, 0, 0, 0);
    Label8->hide();
    Label9->hide();

    Frame5 = frame(this, "Frame5", 240, 3420, 6120, 900);
    for (int i = 0; i < 6; ++i) {
        auto* button = new QPushButton(Frame5);
        button->setObjectName(QStringLiteral("Command1_%1").arg(i));
        button->setIcon(ResourceIcon(QStringLiteral("RES_4")));
        button->setAutoDefault(false);
        Place(button, (i % 3) * 2070, (i / 3) * 480, 1980, 420);
        connect(button, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1[i] = button;
    }

    Slider1 = new QSlider(Qt::Horizontal, this);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setRange(0, CounterMaximum);
    Slider1->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);
    connect(Timer1, &QTimer::timeout, this, &frmWindow::Timer1_Timer);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(50);
    connect(Timer2, &QTimer::timeout, this, &frmWindow::Timer2_Timer);
    fadeTimer_ = new QTimer(this);
    fadeTimer_->setInterval(FadeStepMs);
    connect(fadeTimer_, &QTimer::timeout, this, &frmWindow::FadeStep);

    mnuPopUp = new QMenu(this);
    mnuPopUp->setObjectName(QStringLiteral("mnuPopUp"));
    mCopy = mnuPopUp->addAction(QString::fromUtf8("Копировать текст"), this, &frmWindow::mCopy_Click);
    mCopy->setObjectName(QStringLiteral("mCopy"));

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

frmWindow::~frmWindow()
{
    if (stageOwner == this) {
        stage = ReminderStage::Idle;
        stageOwner = nullptr;
    }
}

void frmWindow::SetStage(ReminderStage next)
{
    stage = next;
    stageOwner = next == ReminderStage::Idle ? nullptr : this;
}

void frmWindow::Form_Unload()
{
    if (stageOwner != this)
        return;
    if (stage == ReminderStage::Showing && Fired.id != 0)
        closeSequence();
    SetStage(ReminderStage::Idle);
}

void frmWindow::Form_Load()
{
    SetFormIcon(this, QStringLiteral("RES_0"), false);
    settings_ = ReadRemWindowSettings(false);
    ApplyColours();
    ApplyLanguage();
}

void frmWindow::ApplyColours()
{
    for (QWidget* area : {static_cast<QWidget*>(this), static_cast<QWidget*>(FrameImage),
                          static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Frame2),
                          static_cast<QWidget*>(Frame3), static_cast<QWidget*>(Frame5)})
        paint(area, QPalette::Window, settings_.backColor);
    paint(Label5, QPalette::Base, settings_.backColor);
    for (QWidget* text : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
                          static_cast<QWidget*>(Label4)})
        paint(text, QPalette::WindowText, settings_.textColor);
    paint(Label5, QPalette::Text, settings_.textColor);
    for (QWidget* text : {Label3, Label6, Label7})
        paint(text, QPalette::WindowText, settings_.text2Color);
}

void frmWindow::ApplyLanguage()
{
    setWindowTitle(ProductName() + QStringLiteral(" - [") + GetLangText(QStringLiteral("mes1"))
                   + QStringLiteral("]"));
    Label6->setText(GetLangText(QStringLiteral("mes181")) + QStringLiteral(":"));
    const QString minutes = GetLangText(QStringLiteral("mes273"));
    Command1[0]->setText(QStringLiteral("5 ") + minutes);
    Command1[1]->setText(QStringLiteral("10 ") + minutes);
    Command1[2]->setText(QStringLiteral("30 ") + minutes);
    Command1[3]->setText(QStringLiteral("1 ") + GetLangText(QStringLiteral("mes274")));
    Command1[4]->setText(QStringLiteral("3 ") + GetLangText(QStringLiteral("mes275")));
    Command1[5]->setText(GetLangText(QStringLiteral("mes276")));
}

void frmWindow::Timer1_Timer()
{
    // A sliding title does not blink.
    if (settings_.blinkTitle && !Timer2->isActive())
        Label1->setHidden(!Label1->isHidden());
    Slider1->setMaximum(CounterMaximum);
    if (Slider1->value() == FadeTarget() || fadeTimer_->isActive())
        return;
    if (settings_.fadeIn) {
        fadeTimer_->start();
    } else {
        Slider1->setValue(FadeTarget());
        FormTransparent::SetTransparency(this, FadeTarget() / 100);
    }
}

void frmWindow::FadeStep()
{
    const int target = FadeTarget();
    const int counter = std::min(target, Slider1->value() + std::max(1, target / FadeSteps));
    Slider1->setValue(counter);
    FormTransparent::SetTransparency(this, static_cast<int>(std::nearbyint(counter / 100.0)));
    if (counter >= target)
        fadeTimer_->stop();
}

void frmWindow::Timer2_Timer()
{
    // Once the title has left the frame on the left it comes in again from the right.
    if (Label1->x() + Label1->width() < 0)
        Label1->move(Frame1->width(), Label1->y());
    Label1->move(Px(Twips(Label1->x()) - SlideStep), Label1->y());
}

void frmWindow::mCopy_Click()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(Label5->toPlainText());
}

void frmWindow::PopContextMenu(QWidget* control, QMenu* menu)
{
    QPointer<QWidget> guard(control);
    control->setEnabled(false);
    menu->exec(QCursor::pos());
    if (guard)
        guard->setEnabled(true);
}

bool frmWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label5->viewport() && event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        PopContextMenu(Label5, mnuPopUp);
        return true;
    }
    return Form::eventFilter(watched, event);
}

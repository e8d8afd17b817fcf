#include "frmOptions.h"

#include "core/Fatal.h"
#include "core/FittedText.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/cTabStripPane.h"
#include "core/frmProcess.h"
#include "platform/ColorChooser.h"
#include "platform/Controls.h"
#include "platform/KnownFolders.h"
#include "platform/MsgBox.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

namespace {

constexpr int PresetLevels[] = {25, 30, 35, 40, 45, 50};
const char* const PresetCaptions[] = {"50%", "60%", "70%", "80%", "90%", "100%"};

QLabel* label(QWidget* parent, int left, int top, int width, int height)
{
    auto* l = new QLabel(parent);
    Place(l, left, top, width, height);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    Place(b, left, top, width, height);
    return b;
}

QString withColon(const char* key) { return GetLangText(QString::fromLatin1(key)) + QStringLiteral(":"); }

}  // namespace

frmOptions::frmOptions()
    : Form(QStringLiteral("frmOptions"), DialogWindow)
{
    setFixedSize(Px(5400), Px(4800));
    tbsOptions = new QTabWidget(this);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    Place(tbsOptions, 120, 120, 5160, 3960);
    for (int i = 0; i < 2; ++i) {
        picOptions[i] = new QWidget;
        picOptions[i]->setObjectName(QStringLiteral("picOptions_%1").arg(i));
        tbsOptions->addTab(picOptions[i], QString());
    }

    groupGeneral_ = new QGroupBox(picOptions[0]);
    Place(groupGeneral_, 120, 120, 4800, 3240);
    captionColours_ = label(groupGeneral_, 240, 300, 4200, 255);
    static const char* const swatchNames[] = {"picBackColor", "picTextColor", "picText2Color"};
    static const char* const buttonNames[] = {"cmdBackColor", "cmdTextColor", "cmdText2Color"};
    for (int i = 0; i < 3; ++i) {
        const int top = 660 + i * 420;
        captionSwatch_[i] = label(groupGeneral_, 360, top, 2340, 300);
        Swatch[i] = label(groupGeneral_, 2760, top - 30, 600, 360);
        Swatch[i]->setObjectName(QString::fromLatin1(swatchNames[i]));
        Swatch[i]->setAutoFillBackground(true);
        Swatch[i]->setFrameShape(QFrame::Box);
        cmdColour[i] = button(groupGeneral_, buttonNames[i], 3450, top - 30, 1200, 360);
        connect(cmdColour[i], &QPushButton::clicked, this, [this, i] { ChangeColour(i); });
    }
    captionSound_ = label(groupGeneral_, 240, 2040, 4200, 255);
    lblMusicTitle = label(groupGeneral_, 360, 2370, 4200, 300);
    lblMusicTitle->setObjectName(QStringLiteral("lblMusicTitle"));
    FitText(lblMusicTitle);
    lblMusicPath = label(groupGeneral_, 0, 0, 0, 0);
    lblMusicPath->setObjectName(QStringLiteral("lblMusicPath"));
    lblMusicPath->hide();
    cmdMusic = button(groupGeneral_, "cmdMusic", 2130, 2760, 1200, 360);
    cmdMusicRemove = button(groupGeneral_, "cmdMusicRemove", 3450, 2760, 1200, 360);
    connect(cmdMusic, &QPushButton::clicked, this, &frmOptions::cmdMusic_Click);
    connect(cmdMusicRemove, &QPushButton::clicked, this, &frmOptions::cmdMusicRemove_Click);

    groupLook_ = new QGroupBox(picOptions[1]);
    Place(groupLook_, 120, 120, 4800, 3240);
    captionOpacity_ = label(groupLook_, 240, 300, 4200, 255);
    Slider1 = new QSlider(Qt::Horizontal, groupLook_);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setRange(MinTransparency, MaxTransparency);
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setTickInterval(5);
    Place(Slider1, 240, 600, 4320, 420);
    for (int i = 0; i < 6; ++i) {
        Preset[i] = label(groupLook_, 60 + i * 780, 1050, 780, 300);
        Preset[i]->setObjectName(QStringLiteral("Preset_%1").arg(i));
        Preset[i]->setText(QString::fromLatin1(PresetCaptions[i]));
        Preset[i]->setAlignment(Qt::AlignCenter);
        Preset[i]->setCursor(Qt::PointingHandCursor);
        Preset[i]->installEventFilter(this);
    }
    groupEffects_ = new QGroupBox(groupLook_);
    Place(groupEffects_, 240, 1560, 4320, 1320);
    chkBlink = new QCheckBox(groupEffects_);
    chkBlink->setObjectName(QStringLiteral("chkBlink"));
    Place(chkBlink, 240, 360, 3900, 330);
    chkFade = new QCheckBox(groupEffects_);
    chkFade->setObjectName(QStringLiteral("chkFade"));
    Place(chkFade, 240, 780, 3900, 330);

    cmdOK = button(this, "cmdOK", 2760, 4260, 1200, 375);
    cmdCancel = button(this, "cmdCancel", 4080, 4260, 1200, 375);
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    SetCancelButton(cmdCancel);
}

frmOptions::~frmOptions() = default;

void frmOptions::Form_Load()
{
    SetFormIcon(this, QStringLiteral("RES_0"), false);
    TabPane = std::make_unique<cTabStripPane>(tbsOptions);
    LoadSettings();
    ApplyLanguage();
}

void frmOptions::LoadSettings()
{
    const RemWindowSettings settings = ReadRemWindowSettings(true);
    setColour(0, settings.backColor);
    setColour(1, settings.textColor);
    setColour(2, settings.text2Color);
    chkBlink->setChecked(settings.blinkTitle);
    chkFade->setChecked(settings.fadeIn);
    lblMusicPath->setText(settings.musicPath);
    lblMusicTitle->setText(settings.musicTitle);
    Slider1->setValue(settings.transparency);
}

void frmOptions::ApplyLanguage()
{
    setWindowTitle(GetLangText(QStringLiteral("mes203")));
    tbsOptions->setTabText(0, GetLangText(QStringLiteral("mes71")));
    tbsOptions->setTabText(1, GetLangText(QStringLiteral("mes204")));
    groupGeneral_->setTitle(withColon("mes71"));
    captionColours_->setText(withColon("mes205"));
    captionSwatch_[0]->setText(withColon("mes206"));
    captionSwatch_[1]->setText(withColon("mes207"));
    captionSwatch_[2]->setText(withColon("mes208"));
    captionSound_->setText(withColon("mes209"));
    groupLook_->setTitle(withColon("mes210"));
    captionOpacity_->setText(withColon("mes211"));
    groupEffects_->setTitle(withColon("mes212"));
    chkBlink->setText(GetLangText(QStringLiteral("mes213")));
    chkFade->setText(GetLangText(QStringLiteral("mes214")));
    const QString change = GetLangText(QStringLiteral("cmd13"));
    for (QPushButton* b : cmdColour)
        b->setText(change);
    cmdMusic->setText(change);
    cmdMusicRemove->setText(GetLangText(QStringLiteral("cmd6")));
    cmdCancel->setText(GetLangText(QStringLiteral("cmd2")));
    cmdOK->setText(QStringLiteral("OK"));
}

void frmOptions::setColour(int swatch, const QColor& colour)
{
    colours_[swatch] = colour;
    QPalette palette = Swatch[swatch]->palette();
    palette.setColor(QPalette::Window, colour);
    Swatch[swatch]->setPalette(palette);
}

void frmOptions::ChangeColour(int swatch)
{
    // A cancelled dialog leaves the swatch as it was.
    if (const std::optional<QColor> chosen = ColorChooser::Ask(this, colours_[swatch]))
        setColour(swatch, *chosen);
}

void frmOptions::cmdMusic_Click()
{
    const QString filter =
        GetLangText(QStringLiteral("mes217")) + QStringLiteral("(*.mp3;*.wav;*.wma)|*.mp3;*.wav;*.wma");
    const QString chosen = Forms::Get<frmProcess>().CDlg(this, 1, GetLangText(QStringLiteral("mes216")), QString(),
                                                         KnownFolders::UserProfileFolder(), QStringLiteral("6150"),
                                                         filter, true);
    if (chosen.isEmpty() || chosen == QLatin1String("Error"))
        return;
    // The settings file cannot keep a ";" or a line break.
    if (!IsStorableSetting(chosen)) {
        MsgBox(GetLangText(QStringLiteral("mes330")), 48, ProductName());
        return;
    }
    lblMusicPath->setText(chosen);
    lblMusicTitle->setText(SoundTitle(chosen));
}

void frmOptions::cmdMusicRemove_Click()
{
    lblMusicPath->clear();
    lblMusicTitle->clear();
}

void frmOptions::Preset_Click(int index) { Slider1->setValue(PresetLevels[index]); }

RemWindowSettings frmOptions::Chosen() const
{
    RemWindowSettings settings;
    settings.backColor = colours_[0];
    settings.textColor = colours_[1];
    settings.text2Color = colours_[2];
    settings.musicPath = lblMusicPath->text();
    settings.musicTitle = lblMusicTitle->text();
    settings.blinkTitle = chkBlink->isChecked();
    settings.fadeIn = chkFade->isChecked();
    settings.transparency = Slider1->value();
    return settings;
}

void frmOptions::cmdOK_Click()
{
    // The chosen sound's name was checked when it was chosen: what fails here is the file.
    if (!WriteRemWindowSettings(Chosen())) {
        MsgBox(GetLangText(QStringLiteral("mes395")), 48, ProductName());
        return;
    }
    Forms::Unload(this);
}

void frmOptions::cmdCancel_Click() { Forms::Unload(this); }

bool frmOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < 6; ++i) {
            if (watched == Preset[i]) {
                Preset_Click(i);
                return true;
            }
        }
    }
    return Form::eventFilter(watched, event);
}

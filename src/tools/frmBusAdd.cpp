#include "frmBusAdd.h"

#include "core/SourceText.h"
#include "frmBus.h"
#include "core/BusSettings.h"
#include "core/Fatal.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/clsINI.h"
#include "core/cTabStripPane.h"
#include "platform/Controls.h"
#include "platform/MsgBox.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

namespace {

QString withColon(const char* key) { return GetLangText(s(key)) + s(":"); }

}  // namespace

frmBusAdd::frmBusAdd()
    : Form(s("frmBusAdd"), DialogWindow)
{
    setFixedSize(Px(6720), Px(4440));
    tbsOptions = MakeControl<QTabWidget>(this, "tbsOptions", 120, 120, 6480, 3660);
    for (int i = 0; i < 2; ++i) {
        picOptions[i] = new QWidget(tbsOptions);
        picOptions[i]->setObjectName(QStringLiteral("picOptions%1").arg(i));
        tbsOptions->addTab(picOptions[i], QString());
    }

    Frame1 = MakeControl<QGroupBox>(picOptions[0], "Frame1", 120, 120, 6120, 3060);
    Label1 = MakeControl<QLabel>(Frame1, "Label1", 240, 300, 5640, 255);
    Option1 = MakeControl<QRadioButton>(Frame1, "Option1", 360, 600, 5520, 300);
    Option2 = MakeControl<QRadioButton>(Frame1, "Option2", 360, 930, 5520, 300);
    Option3 = MakeControl<QRadioButton>(Frame1, "Option3", 360, 1260, 5520, 300);
    Label2 = MakeControl<QLabel>(Frame1, "Label2", 240, 1710, 5640, 255);
    Check1 = MakeControl<QCheckBox>(Frame1, "Check1", 360, 2010, 5520, 300);
    Label3 = MakeControl<QLabel>(Frame1, "Label3", 360, 2490, 2160, 255);
    Slider1 = MakeControl<QSlider>(Frame1, "Slider1", 2640, 2430, 2400, 375);
    Slider1->setOrientation(Qt::Horizontal);
    Slider1->setRange(1, 3);
    Slider1->setPageStep(1);
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setTickInterval(1);
    Label4 = MakeControl<QLabel>(Frame1, "Label4", 5160, 2490, 720, 255);
    connect(Slider1, &QSlider::valueChanged, this, &frmBusAdd::Slider1_Change);

    Frame2 = MakeControl<QGroupBox>(picOptions[1], "Frame2", 120, 120, 6120, 3060);
    Label5 = MakeControl<QLabel>(Frame2, "Label5", 240, 300, 5640, 255);
    Label6 = MakeControl<QLabel>(Frame2, "Label6", 360, 720, 5520, 255);
    Text1 = MakeControl<QLineEdit>(Frame2, "Text1", 360, 975, 5520, 345);
    Label7 = MakeControl<QLabel>(Frame2, "Label7", 360, 1500, 5520, 255);
    Text2 = MakeControl<QLineEdit>(Frame2, "Text2", 360, 1755, 5520, 345);

    cmdOK = MakeControl<QPushButton>(this, "cmdOK", 2760, 3930, 1200, 375);
    cmdApply = MakeControl<QPushButton>(this, "cmdApply", 4080, 3930, 1200, 375);
    cmdCancel = MakeControl<QPushButton>(this, "cmdCancel", 5400, 3930, 1200, 375);
    for (QPushButton* button : {cmdOK, cmdApply, cmdCancel})
        button->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, [this] { SaveSettings(true); });
    connect(cmdApply, &QPushButton::clicked, this, [this] { SaveSettings(false); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { Forms::Unload(this); });
    SetCancelButton(cmdCancel);
    SetDefaultButton(cmdOK);
}

frmBusAdd::~frmBusAdd() = default;

void frmBusAdd::Form_Load()
{
    SetFormIcon(this, s("RES_0"), false);
    TabPane = std::make_unique<cTabStripPane>(tbsOptions);
    ApplyLanguage();
    // From here a setting that the clean-up at start would refuse ends the program.
    switch (ReadBusNumber(s("delwait"))) {
    case 7:
        Option1->setChecked(true);
        break;
    case 30:
        Option2->setChecked(true);
        break;
    case 0:
        Option3->setChecked(true);
        break;
    default:
        break;
    }
    Text1->setText(GetOwnText(s("txtdone")));
    Text2->setText(GetOwnText(s("txtwait")));
    const QString rowHeight = NoNul(ReadOption(BusSettingsSection, s("rowheight")));
    Slider1->setValue(RowHeightSliderPosition(rowHeight));
    Label4->setText(rowHeight);
    Check1->setChecked(ReadBusNumber(s("notify")) == 1);
}

void frmBusAdd::ApplyLanguage()
{
    setWindowTitle(GetLangText(s("mes70")));
    tbsOptions->setTabText(0, GetLangText(s("mes71")));
    tbsOptions->setTabText(1, GetLangText(s("mes72")));
    Frame1->setTitle(withColon("mes71"));
    Label1->setText(withColon("mes73"));
    Option1->setText(GetLangText(s("opt6")));
    Option2->setText(GetLangText(s("opt7")));
    Option3->setText(GetLangText(s("opt8")));
    Label2->setText(withColon("mes297"));
    Label3->setText(withColon("mes298"));
    Check1->setText(GetLangText(s("mes75")));
    Frame2->setTitle(withColon("mes72"));
    Label5->setText(withColon("mes76"));
    Label6->setText(withColon("mes77"));
    Label7->setText(withColon("mes78"));
    cmdOK->setText(s("OK"));
    cmdApply->setText(GetLangText(s("cmd8")));
    cmdCancel->setText(GetLangText(s("cmd2")));
}

void frmBusAdd::Slider1_Change() { Label4->setText(QString::number(Slider1->value())); }

void frmBusAdd::SaveSettings(bool close)
{
    // The own-texts file cannot keep every text: nothing is written then.
    for (QLineEdit* box : {Text1, Text2}) {
        if (!IsStorableSetting(box->text())) {
            MsgBox(GetLangText(s("mes350")), 48, ProductName());
            tbsOptions->setCurrentIndex(1);
            box->setFocus();
            return;
        }
    }
    const int age = Option1->isChecked() ? 7 : (Option2->isChecked() ? 30 : 0);
    const bool saved = WriteBusSettings(age, Check1->isChecked(), Slider1->value())
                       && SetOwnText(s("txtdone"), Text1->text()) && SetOwnText(s("txtwait"), Text2->text());
    // The task list shows what the files now hold (the own-texts file drops blanks at
    // both ends of a text).
    if (frmBus* list = Forms::Find<frmBus>()) {
        list->ApplyRowHeight();
        list->ApplyStatusFormat();
    }
    if (!saved) {
        MsgBox(GetLangText(s("mes395")), 48, ProductName());
        return;
    }
    if (close)
        Forms::Unload(this);
}

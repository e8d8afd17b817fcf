#include "frmMesAdd.h"

#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/EventRows.h"
#include "core/Formats.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/SourceText.h"
#include "core/WindowHelpers.h"
#include "core/cTabStripPane.h"
#include "core/frmProcess.h"
#include "mainwin/MeasureRecord.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/DateField.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimeEdit>

#include <cmath>
#include <functional>

namespace {

QString withColon(const char* key) { return GetLangText(s(key)) + s(":"); }

}  // namespace

// The title index answers, in any table size; letter case counts.
bool frmMesAdd::EventTitleExists(const QString& title) const
{
    Connection& db = DataEnvironment1().Connection1;
    OpenIfClosed(db);
    return EventTitleStored(db, title);
}

frmMesAdd::frmMesAdd()
    : Form(s("frmMesAdd"), DialogWindow)
{
    setFixedSize(Px(5910), Px(4620));
    tbsOptions = MakeControl<QTabWidget>(this, "tbsOptions", 120, 120, 5640, 3840);
    for (int i = 0; i < 3; ++i) {
        picOptions[i] = new QWidget(tbsOptions);
        picOptions[i]->setObjectName(QStringLiteral("picOptions%1").arg(i));
        tbsOptions->addTab(picOptions[i], QString());
    }
    buildDatePage(picOptions[0]);
    buildReminderPage(picOptions[1]);
    buildRepeatPage(picOptions[2]);

    Command0 = MakeControl<QPushButton>(this, "Command0", 1560, 4080, 1335, 375);
    Command3 = MakeControl<QPushButton>(this, "Command3", 1560, 4080, 1335, 375);
    Command1 = MakeControl<QPushButton>(this, "Command1", 3000, 4080, 1335, 375);
    Command2 = MakeControl<QPushButton>(this, "Command2", 4440, 4080, 1335, 375);
    Command0->setText(s("OK"));
    Command3->setText(s("OK"));
    Command3->hide();
    connect(Command0, &QPushButton::clicked, this, &frmMesAdd::Command0_Click);
    connect(Command1, &QPushButton::clicked, this, &frmMesAdd::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMesAdd::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmMesAdd::Command3_Click);
    SetCancelButton(Command1);
    SetDefaultButton(Command0);
}

frmMesAdd::~frmMesAdd() = default;

void frmMesAdd::buildDatePage(QWidget* page)
{
    fraSample1 = MakeControl<QGroupBox>(page, "fraSample1", 120, 120, 5160, 3240);
    Label1 = MakeControl<QLabel>(fraSample1, "Label1", 180, 300, 4800, 255);
    Text1 = MakeControl<QLineEdit>(fraSample1, "Text1", 180, 555, 4800, 330);
    Label2 = MakeControl<QLabel>(fraSample1, "Label2", 180, 1005, 2280, 255);
    DTPicker1 = MakeControl<DateField>(fraSample1, "DTPicker1", 180, 1260, 2280, 330);
    Check1 = MakeControl<QCheckBox>(fraSample1, "Check1", 2640, 990, 2340, 285);
    DTPicker2 = MakeControl<QTimeEdit>(fraSample1, "DTPicker2", 2640, 1260, 2340, 330);
    Label3 = MakeControl<QLabel>(fraSample1, "Label3", 180, 1710, 4800, 255);
    Text3 = MakeControl<QPlainTextEdit>(fraSample1, "Text3", 180, 1965, 4800, 1095);
    // Tab moves on, as in every other box; Ctrl+Tab stays the tab strip's key.
    Text3->setTabChangesFocus(true);
    DTPicker1->setCalendarPopup(true);
    DTPicker2->setEnabled(false);
    SelectAllOnFocus(Text1);
    connect(Text1, &QLineEdit::textChanged, this, &frmMesAdd::Text1_Change);
    connect(Check1, &QCheckBox::toggled, this, &frmMesAdd::Check1_Click);
}

void frmMesAdd::buildReminderPage(QWidget* page)
{
    Frame1 = MakeControl<QGroupBox>(page, "Frame1", 120, 120, 5160, 1500);
    Label4 = MakeControl<QLabel>(Frame1, "Label4", 180, 300, 4800, 255);
    Option1 = MakeControl<QRadioButton>(Frame1, "Option1", 180, 630, 4800, 300);
    Option2 = MakeControl<QRadioButton>(Frame1, "Option2", 180, 990, 4800, 300);
    Frame2 = MakeControl<QGroupBox>(page, "Frame2", 120, 1740, 5160, 1500);
    Combo1 = MakeControl<QComboBox>(Frame2, "Combo1", 180, 345, 2400, 330);
    Check2 = MakeControl<QCheckBox>(Frame2, "Check2", 180, 840, 4800, 300);
    OnOptionClick(Option1, this, [this] { Option1_Click(); });
    OnOptionClick(Option2, this, [this] { Option2_Click(); });
}

void frmMesAdd::buildRepeatPage(QWidget* page)
{
    fraSample2 = MakeControl<QGroupBox>(page, "fraSample2", 120, 120, 5160, 3240);
    Check3 = MakeControl<QCheckBox>(fraSample2, "Check3", 180, 300, 4800, 300);
    Label5 = MakeControl<QLabel>(fraSample2, "Label5", 180, 720, 4800, 255);
    Combo2 = MakeControl<QComboBox>(fraSample2, "Combo2", 180, 975, 2400, 330);
    Frame3 = MakeControl<QGroupBox>(fraSample2, "Frame3", 180, 1440, 4800, 900);
    Text2 = MakeControl<QLineEdit>(Frame3, "Text2", 180, 345, 1095, 330);
    Combo3 = MakeControl<QComboBox>(Frame3, "Combo3", 1380, 345, 2400, 330);
    Label6 = MakeControl<QLabel>(fraSample2, "Label6", 180, 2460, 4800, 600);
    Label6->setWordWrap(true);
    connect(Check3, &QCheckBox::toggled, this, &frmMesAdd::Check3_Click);
    connect(Combo2, &QComboBox::currentIndexChanged, this, &frmMesAdd::Combo2_Click);
    connect(Combo3, &QComboBox::currentIndexChanged, this, &frmMesAdd::Combo3_Change);
    connect(Text2, &QLineEdit::textChanged, this, &frmMesAdd::Text2_Change);
}

void frmMesAdd::Form_Load()
{
    TabPane = std::make_unique<cTabStripPane>(tbsOptions);
    SetFormIcon(this, s("RES_0"), true);
    DTPicker2->setDisplayFormat(QtTimeFormat(Forms::Get<frmProcess>().TimeFormat));
    DTPicker1->setDate(Clock::Today());
    DTPicker2->setTime(Clock::TimeOfDay());
    ApplyLanguage();
    Option1->setChecked(true);
    Check3_Click();
    // The reminder options are a dialog of their own; they do not stay open behind the editor.
    for (Form* form : Forms::Loaded()) {
        if (form->objectName() == QLatin1String("frmOptions"))
            Forms::Unload(form);
    }
}

void frmMesAdd::ApplyLanguage()
{
    setWindowTitle(GetLangText(s("mes174")) + s(" - ") + GetLangText(s("mes178")));
    tbsOptions->setTabText(0, GetLangText(s("mes71")));
    tbsOptions->setTabText(1, GetLangText(s("mes175")));
    tbsOptions->setTabText(2, GetLangText(s("mes289")));
    fraSample1->setTitle(withColon("mes176"));
    Label1->setText(withColon("mes177"));
    Label2->setText(withColon("mes179"));
    Check1->setText(withColon("mes180"));
    Label3->setText(withColon("mes181"));
    Frame1->setTitle(withColon("mes182"));
    Label4->setText(withColon("mes183"));
    Option2->setText(GetLangText(s("opt14")));
    Frame2->setTitle(withColon("mes184"));
    Label5->setText(withColon("mes301"));
    fraSample2->setTitle(withColon("mes162"));
    Frame3->setTitle(withColon("mes164"));
    Text1->setText(GetLangText(s("mes178")));
    Check2->setText(GetLangText(s("mes296")));
    Option1->setText(GetLangText(s("opt13")));
    Command1->setText(GetLangText(s("cmd2")));
    Command2->setText(GetLangText(s("cmd21")));
    Check3->setText(GetLangText(s("mes300")));
    Label6->setText(GetLangText(s("mes302")));
    // Filling the lists runs no handler.
    const QSignalBlocker advance(Combo1);
    const QSignalBlocker modes(Combo2);
    const QSignalBlocker units(Combo3);
    for (int i = 13; i <= 17; ++i)
        Combo1->addItem(GetLangText(QStringLiteral("rpt%1").arg(i)));
    for (int i = 1; i <= 5; ++i)
        Combo2->addItem(GetLangText(QStringLiteral("rpt%1").arg(i)));
    for (int i = 6; i <= 11; ++i)
        Combo3->addItem(GetLangText(QStringLiteral("rpt%1").arg(i)));
}

void frmMesAdd::SetCategory(const QString& shownName, const QString& storedName)
{
    categoryShown_ = shownName;
    categoryStored_ = storedName;
}

void frmMesAdd::SetEditMode(qint64 rowId, const QString& caption)
{
    EditedRowId = rowId;
    Command0->hide();
    Command2->hide();
    Command1->move(Px(4440), Command1->y());
    Command3->move(Px(3000), Command3->y());
    Command3->show();
    SetDefaultButton(Command3);
    setWindowTitle(caption);
}

bool frmMesAdd::IsQuickReminder() const { return tbsOptions->count() != 3; }

void frmMesAdd::Text1_Change()
{
    const bool titled = !Text1->text().isEmpty();
    Command0->setEnabled(titled);
    Command2->setEnabled(titled);
    Command3->setEnabled(titled);
    setWindowTitle(GetLangText(s("mes174")) + s(" - \"") + Text1->text() + s("\""));
}

void frmMesAdd::Check1_Click() { DTPicker2->setEnabled(Check1->isChecked()); }

void frmMesAdd::Option1_Click()
{
    SelectEntry(Combo1, 0);
    Combo1->setEnabled(false);
    Check2->setEnabled(false);
}

void frmMesAdd::Option2_Click()
{
    SelectEntry(Combo1, 0);
    Combo1->setEnabled(true);
    // An edit changes one row: it never makes a second event.
    Check2->setEnabled(Command3->isHidden());
}

void frmMesAdd::Check3_Click()
{
    SelectEntry(Combo2, 0);
    const bool own = Check3->isChecked();
    Combo2->setEnabled(own);
    Label6->setVisible(!own);
}

void frmMesAdd::Combo2_Click()
{
    Text2->setEnabled(false);
    Combo3->setEnabled(false);
    const int mode = Combo2->currentIndex();
    if (mode >= 0 && mode <= 3) {
        Text2->setText(s("1"));
        SelectEntry(Combo3, mode);
    } else if (mode == 4) {
        Text2->setEnabled(true);
        Combo3->setEnabled(true);
        SelectEntry(Combo3, 3);
    }
}

void frmMesAdd::Combo3_Change() { Text2_Change(); }

void frmMesAdd::Text2_Change() { KeepRepeatCountValid(Text2, Combo3->currentIndex(), false); }

void frmMesAdd::ShowOwnRule(bool present, const QString& nextType, const QString& nextInterval)
{
    if (!present) {
        Check3->setChecked(false);
        return;
    }
    bool number = false;
    const double value = nextInterval.trimmed().toDouble(&number);
    const long count = number ? std::lround(value) : 0;
    Check3->setChecked(true);
    const int unit = RepeatUnitIndex(nextType);
    if (count == 0 || unit < 0) {
        Check3->setChecked(false);
    } else if (count == 1 && unit <= 3) {
        Text2->setText(s("1"));
        SelectEntry(Combo2, unit);
    } else if (count == 1) {
        Text2->setText(s("1"));
        SelectEntry(Combo2, 4);
        SelectEntry(Combo3, unit);
    } else {
        SelectEntry(Combo2, 4);
        Text2->setText(QString::number(count));
        SelectEntry(Combo3, unit);
    }
}

void frmMesAdd::GetRepeatCode(QString* letter, int* count) const
{
    const int mode = Combo2->currentIndex();
    *letter = mode >= 0 && mode <= 3 ? RepeatUnitLetter(mode) : mode == 4 ? RepeatUnitLetter(Combo3->currentIndex())
                                                                           : QString();
    *count = RepeatCountValue(Text2->text());
}

void frmMesAdd::Command1_Click() { Forms::Unload(this); }

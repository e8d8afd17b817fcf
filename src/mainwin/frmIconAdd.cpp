#include "frmIconAdd.h"

#include "CategoryNames.h"
#include "MeasureRecord.h"
#include "core/Fatal.h"
#include "core/FittedText.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/SourceText.h"
#include "core/WindowHelpers.h"
#include "core/cTabStripPane.h"
#include "core/frmProcess.h"
#include "platform/Controls.h"
#include "platform/MsgBox.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>

namespace {

constexpr int PreviewSize = 48;

}  // namespace

frmIconAdd::frmIconAdd()
    : Form(s("frmIconAdd"), DialogWindow)
{
    setFixedSize(Px(5220), Px(4080));
    tbsOptions = MakeControl<QTabWidget>(this, "tbsOptions", 120, 120, 4980, 3300);
    for (int i = 0; i < 2; ++i) {
        picOptions[i] = new QWidget(tbsOptions);
        picOptions[i]->setObjectName(QStringLiteral("picOptions%1").arg(i));
        tbsOptions->addTab(picOptions[i], QString());
    }
    buildNamePage(picOptions[0]);
    buildRepeatPage(picOptions[1]);

    Command0 = MakeControl<QPushButton>(this, "Command0", 2520, 3540, 1215, 375);
    Command2 = MakeControl<QPushButton>(this, "Command2", 2520, 3540, 1215, 375);
    Command1 = MakeControl<QPushButton>(this, "Command1", 3840, 3540, 1215, 375);
    Command0->setText(s("OK"));
    Command2->setText(s("OK"));
    Command0->setEnabled(false);
    Command2->hide();
    connect(Command0, &QPushButton::clicked, this, &frmIconAdd::Command0_Click);
    connect(Command2, &QPushButton::clicked, this, &frmIconAdd::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmIconAdd::Command1_Click);
    SetCancelButton(Command1);
    SetDefaultButton(Command0);
}

frmIconAdd::~frmIconAdd() = default;

void frmIconAdd::buildNamePage(QWidget* page)
{
    fraSample1 = MakeControl<QGroupBox>(page, "fraSample1", 120, 120, 4680, 2580);
    Label1 = MakeControl<QLabel>(fraSample1, "Label1", 180, 300, 4320, 255);
    Text1 = MakeControl<QLineEdit>(fraSample1, "Text1", 180, 555, 4320, 330);
    Label2 = MakeControl<QLabel>(fraSample1, "Label2", 180, 1005, 4320, 255);
    Image1 = MakeControl<QLabel>(fraSample1, "Image1", 180, 1275, 810, 810);
    Image1->setFrameShape(QFrame::StyledPanel);
    Image1->setAlignment(Qt::AlignCenter);
    Label10 = MakeControl<QLabel>(fraSample1, "Label10", 1140, 1275, 3360, 255);
    FitText(Label10);
    Command3 = MakeControl<QPushButton>(fraSample1, "Command3", 1140, 1650, 1455, 375);
    SelectAllOnFocus(Text1);
    connect(Text1, &QLineEdit::textChanged, this, &frmIconAdd::Text1_Change);
    connect(Command3, &QPushButton::clicked, this, &frmIconAdd::Command3_Click);
}

void frmIconAdd::buildRepeatPage(QWidget* page)
{
    fraSample2 = MakeControl<QGroupBox>(page, "fraSample2", 120, 120, 4680, 2580);
    Label3 = MakeControl<QLabel>(fraSample2, "Label3", 180, 300, 4320, 255);
    Option1 = MakeControl<QRadioButton>(fraSample2, "Option1", 180, 585, 2100, 300);
    Option2 = MakeControl<QRadioButton>(fraSample2, "Option2", 2400, 585, 2100, 300);
    Frame2 = MakeControl<QGroupBox>(fraSample2, "Frame2", 180, 1005, 4320, 1425);
    Combo1 = MakeControl<QComboBox>(Frame2, "Combo1", 180, 345, 3960, 330);
    Text2 = MakeControl<QLineEdit>(Frame2, "Text2", 180, 840, 1095, 330);
    Combo2 = MakeControl<QComboBox>(Frame2, "Combo2", 1380, 840, 2760, 330);
    Option1->setChecked(true);
    Text2->setText(s("1"));
    Combo1->setEnabled(false);
    Text2->setEnabled(false);
    Combo2->setEnabled(false);
    OnOptionClick(Option1, this, [this] { Option1_Click(); });
    OnOptionClick(Option2, this, [this] { Option2_Click(); });
    connect(Combo1, &QComboBox::currentIndexChanged, this, &frmIconAdd::Combo1_Click);
    connect(Combo2, &QComboBox::currentIndexChanged, this, &frmIconAdd::Combo2_Click);
    connect(Text2, &QLineEdit::textChanged, this, &frmIconAdd::Text2_Change);
}

void frmIconAdd::Form_Load()
{
    TabPane = std::make_unique<cTabStripPane>(tbsOptions);
    SetFormIcon(this, s("RES_0"), true);
    applyLanguage();
}

void frmIconAdd::applyLanguage()
{
    setWindowTitle(GetLangText(s("mes156")));
    tbsOptions->setTabText(0, GetLangText(s("mes71")));
    tbsOptions->setTabText(1, GetLangText(s("mes157")));
    fraSample1->setTitle(GetLangText(s("mes71")) + s(":"));
    fraSample2->setTitle(GetLangText(s("mes162")) + s(":"));
    Label1->setText(GetLangText(s("mes158")) + s(":"));
    Label2->setText(GetLangText(s("mes160")) + s(":"));
    Label3->setText(GetLangText(s("mes163")) + s(":"));
    Text1->setText(GetLangText(s("mes159")));
    Command3->setText(GetLangText(s("cmd5")));
    Option1->setText(GetLangText(s("opt11")));
    Option2->setText(GetLangText(s("opt12")));
    Frame2->setTitle(GetLangText(s("mes164")) + s(":"));
    Command1->setText(GetLangText(s("cmd2")));
    // Filling the lists runs no handler; the first entries stand as the presets put them.
    const QSignalBlocker presets(Combo1);
    const QSignalBlocker units(Combo2);
    for (int i = 1; i <= 5; ++i)
        Combo1->addItem(GetLangText(QStringLiteral("rpt%1").arg(i)));
    for (int i = 6; i <= 11; ++i)
        Combo2->addItem(GetLangText(QStringLiteral("rpt%1").arg(i)));
    Combo1->setCurrentIndex(0);
    Combo2->setCurrentIndex(0);
}

void frmIconAdd::Form_Unload() { PicturePath.clear(); }

void frmIconAdd::ShowNew(Form* owner) { Forms::Get<frmIconAdd>().ShowModal(owner); }

void frmIconAdd::EditCategory(const QString& shownName, const QString& storedName, bool builtIn,
                              const QIcon& picture)
{
    editedStoredName_ = storedName;
    editedShownName_ = shownName;
    {
        // The name stands as stored, even with characters the editor refuses
        // (a database made elsewhere): only an edit of the user's changes it.
        const QSignalBlocker blocker(Text1);
        Text1->setText(shownName);
    }
    if (shownName == GetLangText(s("rpt12")))
        Text1->setEnabled(false);
    if (builtIn) {
        showPicture(picture);
        Command3->setEnabled(false);
    } else {
        const QIcon file = LoadPictureFile(CategoryIconPath(shownName));
        showPicture(file.isNull() ? picture : file);
    }
    Command3->setText(GetLangText(s("cmd13")));
    Command0->hide();
    Command2->show();
    SetDefaultButton(Command2);
    updateOkButtons();
}

void frmIconAdd::showPicture(const QIcon& picture)
{
    if (picture.isNull())
        Image1->clear();
    else
        Image1->setPixmap(picture.pixmap(PreviewSize, PreviewSize));
}

void frmIconAdd::Command1_Click() { Forms::Unload(this); }

void frmIconAdd::Text1_Change()
{
    QString name = Text1->text();
    // Typed or pasted, a refused character never stays in the box.
    const QString clean = WithoutForbiddenNameChars(name);
    if (clean != name) {
        QApplication::beep();
        const int caret = Text1->cursorPosition() - static_cast<int>(name.size() - clean.size());
        const QSignalBlocker blocker(Text1);
        Text1->setText(clean);
        Text1->setCursorPosition(std::max(0, caret));
        name = clean;
    }
    const frmProcess& process = Forms::Get<frmProcess>();
    bool refused = name == QLatin1String("_QM_");
    // The stored names of the built-in categories are theirs alone (the edited
    // category keeps its own).
    for (const QString& builtIn : {process.BuiltInMeasure1, process.BuiltInMeasure2, process.BuiltInMeasure3})
        refused = refused || (!builtIn.isEmpty() && name == builtIn && builtIn != editedStoredName_);
    if (refused) {
        QApplication::beep();
        const QSignalBlocker blocker(Text1);
        Text1->clear();
    }
    updateOkButtons();
}

void frmIconAdd::updateOkButtons()
{
    const bool named = !Text1->text().trimmed().isEmpty();
    Command0->setEnabled(named && !Label10->text().isEmpty() && !pictureRefused_);
    Command2->setEnabled(named && !pictureRefused_);
}

void frmIconAdd::Option1_Click()
{
    Combo1->setCurrentIndex(0);
    Combo1->setEnabled(false);
}

void frmIconAdd::Option2_Click()
{
    Combo1->setCurrentIndex(0);
    Combo1->setEnabled(true);
}

void frmIconAdd::Combo1_Click()
{
    Text2->setEnabled(false);
    Combo2->setEnabled(false);
    const int preset = Combo1->currentIndex();
    if (preset >= 0 && preset <= 3) {
        Text2->setText(s("1"));
        Combo2->setCurrentIndex(preset);
    } else if (preset == 4) {
        Text2->setEnabled(true);
        Combo2->setEnabled(true);
        Combo2->setCurrentIndex(3);
    }
}

void frmIconAdd::Combo2_Click() { Text2_Change(); }

void frmIconAdd::Text2_Change() { KeepRepeatCountValid(Text2, Combo2->currentIndex(), true); }

void frmIconAdd::SetRepeatPickers(bool present, const QString& nextType, const QString& nextInterval)
{
    if (!present) {
        Option1->setChecked(true);
        return;
    }
    Option2->setChecked(true);
    bool numeric = false;
    int count = nextInterval.trimmed().toInt(&numeric);
    if (!numeric)
        count = 0;
    const int unit = RepeatUnitIndex(nextType);
    if (count == 1 && unit >= 0 && unit <= 3) {
        Text2->setText(s("1"));
        Combo1->setCurrentIndex(unit);
    } else if ((count == 1 && unit >= 4) || (count != 1 && count != 0)) {
        Combo1->setCurrentIndex(4);
        Text2->setText(QString::number(count));
        if (unit >= 0)
            Combo2->setCurrentIndex(unit);
        else
            Option1->setChecked(true);
    } else {
        Option1->setChecked(true);
    }
}

void frmIconAdd::GetRepeatCode(QString* letter, int* count) const
{
    letter->clear();
    *count = 0;
    if (Option1->isChecked())
        return;
    const int preset = Combo1->currentIndex();
    if (preset >= 0 && preset <= 3)
        *letter = RepeatUnitLetter(preset);
    else if (preset == 4)
        *letter = RepeatUnitLetter(Combo2->currentIndex());
    *count = RepeatCountValue(Text2->text());
}

QString frmIconAdd::EnteredName() const
{
    const QString typed = Text1->text();
    return typed == editedShownName_ ? typed : typed.trimmed();
}

void frmIconAdd::Command3_Click()
{
    QPointer<frmIconAdd> self(this);
    frmProcess& process = Forms::Get<frmProcess>();
    for (;;) {
        const QString chosen = process.CDlg(this, 1, GetLangText(s("mes169")), QString(),
                                            process.AppPath + s("/Icons/"), s("6150"),
                                            GetLangText(s("mes170")) + s(" *.ico|*.ico"), true);
        if (!self || chosen == QLatin1String("Error") || chosen.isEmpty())
            return;
        const QIcon picture = LoadPictureFile(chosen);
        if (!picture.isNull()) {
            PicturePath = chosen;
            PictureFileName = chosen.mid(chosen.lastIndexOf(QLatin1Char('/')) + 1);
            Label10->setText(PictureFileName);
            Command3->setText(GetLangText(s("cmd13")));
            pictureRefused_ = false;
            showPicture(picture);
            updateOkButtons();
            return;
        }
        MsgBox(GetLangText(s("mes170a")) + s("\r\n") + GetLangText(s("mes170b")), 48, ProductName());
        if (!self)
            return;
        PicturePath.clear();
        PictureFileName.clear();
        Image1->clear();
        Label10->clear();
        pictureRefused_ = true;
        updateOkButtons();
    }
}

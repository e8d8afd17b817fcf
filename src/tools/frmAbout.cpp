#include "frmAbout.h"

#include "InterfaceLanguage.h"
#include "WizardControls.h"
#include "core/Fatal.h"
#include "core/NewVersion.h"
#include "core/OpenURL.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/SourceText.h"
#include "core/WindowHelpers.h"
#include "core/frmProcess.h"
#include "mainwin/frmMain.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/MsgBox.h"

#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

// The program's authors, named in the credits line before the translator.
const char* const AuthorsCredit = "Kelmaro Soft";

}  // namespace

frmAbout::frmAbout()
    : Form(s("frmAbout"), DialogWindow)
{
    setFixedSize(Px(6360), Px(4020));

    Image1 = MakeControl<QLabel>(this, "Image1", 240, 240, 720, 720);
    Image1->setPixmap(ResourcePixmap(s("RES_0"), 48));

    lblProduct = MakeControl<QLabel>(this, "lblProduct", 1200, 180, 4920, 450);
    QFont heading = lblProduct->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.5);
    lblProduct->setFont(heading);
    lblProduct->setText(ProductName());
    lblVersion = MakeControl<QLabel>(this, "lblVersion", 1200, 660, 4920, 285);
    lblCopyright = MakeControl<QLabel>(this, "lblCopyright", 1200, 945, 4920, 285);
    lblCopyright->setText(s("© %1 ").arg(Clock::Today().year()) + s(AuthorsCredit));
    lblCredits = AddDescription(this, "lblCredits", 1200, 1290, 4920, 570);

    lblHomePage = MakeControl<QLabel>(this, "lblHomePage", 1200, 1920, 4920, 285);
    QPalette link = lblHomePage->palette();
    link.setColor(QPalette::WindowText, link.color(QPalette::Link));
    lblHomePage->setPalette(link);
    QFont underlined = lblHomePage->font();
    underlined.setUnderline(true);
    lblHomePage->setFont(underlined);
    lblHomePage->setCursor(Qt::PointingHandCursor);
    OnClick(lblHomePage, [this] { cmdHomePage_Click(); });

    auto* line = MakeControl<QFrame>(this, "Line1", 240, 2400, 5880, 30);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    lblLanguage = MakeControl<QLabel>(this, "lblLanguage", 240, 2700, 1560, 285);
    cboLanguage = MakeControl<QComboBox>(this, "cboLanguage", 1860, 2640, 2400, 375);
    connect(cboLanguage, &QComboBox::currentIndexChanged, this, [this] { languageChanged_ = true; });

    cmdHomePage = MakeControl<QPushButton>(this, "cmdHomePage", 240, 3360, 2400, 435);
    cmdOK = MakeControl<QPushButton>(this, "cmdOK", 4920, 3360, 1200, 435);
    cmdOK->setText(s("OK"));
    connect(cmdHomePage, &QPushButton::clicked, this, &frmAbout::cmdHomePage_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    SetDefaultButton(cmdOK);
    // A language file's texts are never taken for markup.
    for (QLabel* label : findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
}

void frmAbout::Form_Load()
{
    SetFormIcon(this, s("RES_0"), false);
    ApplyLanguage();
    FillLanguageList();
    languageChanged_ = false;
}

void frmAbout::ShowFor(frmMain& main)
{
    bool switchLanguage = false;
    QPointer<frmAbout> box(&Forms::Get<frmAbout>());
    main.CentreOver(*box);
    box->switchLanguage_ = &switchLanguage;
    box->ShowModal(&main);
    if (box)
        box->switchLanguage_ = nullptr;
    if (switchLanguage)
        SwitchInterfaceLanguage();
}

void frmAbout::ApplyLanguage()
{
    setWindowTitle(GetLangText(s("mes21")));
    lblVersion->setText(GetLangText(s("mes30")) + s(": ") + Forms::Get<frmProcess>().ProgramVersion);
    lblLanguage->setText(GetLangText(s("mes145")) + s(":"));
    cmdHomePage->setText(GetLangText(s("cmd19")));
    lblCredits->setText(GetLangText(s("mes25")) + s(" - ") + s(AuthorsCredit) + s(", ") + GetLangText(s("tr")));
    lblHomePage->setText(HomePageUrl());
}

void frmAbout::FillLanguageList()
{
    const frmProcess& process = Forms::Get<frmProcess>();
    {
        const QSignalBlocker blocker(cboLanguage);
        cboLanguage->clear();
        cboLanguage->addItems(LanguageNames(process.AppPath + s("/Language")));
        cboLanguage->setCurrentIndex(-1);
    }
    cboLanguage->setCurrentIndex(cboLanguage->findText(process.LanguageName.trimmed()));
}

void frmAbout::cmdOK_Click()
{
    // Only a listed language whose file is still there is stored, and only once the
    // user has its own texts (the first of them would otherwise end the program).
    const QString name = cboLanguage->currentText();
    if (cboLanguage->currentIndex() >= 0 && FileSystem::IsFile(LanguageFilePath(name))) {
        if (!PrepareOwnTexts(name) || !WriteLangIni(s("Main"), s("Language"), name)) {
            MsgBox(GetLangText(s("mes395")), 48, ProductName());
            return;
        }
        Forms::Get<frmProcess>().LanguageName = name;
        const bool fellBack = LanguageCharsetFallback();
        if (switchLanguage_)
            *switchLanguage_ = languageChanged_ || fellBack;
    }
    Forms::Unload(this);
}

void frmAbout::cmdHomePage_Click() { OpenURL(HomePageUrl()); }

void frmAbout::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Forms::Unload(this);
        return;
    }
    Form::keyPressEvent(event);
}

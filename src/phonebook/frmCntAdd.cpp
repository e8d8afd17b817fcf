#include "frmCntAdd.h"

#include "ContactRecord.h"
#include "core/SourceText.h"
#include "frmPhones.h"
#include "core/DBConfig.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/WindowHelpers.h"
#include "core/cTabStripPane.h"
#include "core/frmProcess.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/DateField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>

namespace {

QString withColon(const char* key) { return GetLangText(s(key)) + s(":"); }

// Rows of a page: a caption on the left, its box on the right.
constexpr int LabelLeft = 180;
constexpr int LabelWidth = 2460;
constexpr int BoxLeft = 2700;
constexpr int BoxWidth = 4980;
constexpr int LinkWidth = 480;
int rowTop(int row) { return 360 + row * 450; }

const char* const TabKeys[7] = {"mes84", "mes85", "mes86", "mes87", "mes88", "mes89", "mes90"};
const char* const FrameKeys[7] = {"mes91", "mes119", "mes86", "mes111", "mes88", "mes126", "mes90"};

}  // namespace

frmCntAdd::frmCntAdd()
    : Form(s("frmCntAdd"), DialogWindow)
{
    setFixedSize(Px(8460), Px(5220));
    tbsOptions = MakeControl<QTabWidget>(this, "tbsOptions", 120, 120, 8220, 4380);
    for (int i = 0; i < 7; ++i) {
        picOptions[i] = new QWidget(tbsOptions);
        picOptions[i]->setObjectName(QStringLiteral("picOptions%1").arg(i));
        tbsOptions->addTab(picOptions[i], QString());
        Frame[i] = MakeControl<QGroupBox>(picOptions[i], "Frame", 120, 120, 7860, 3600);
        Frame[i]->setObjectName(QStringLiteral("Frame%1").arg(i));
    }
    buildNamePage(Frame[0]);
    buildHomePage(Frame[1]);
    buildInternetPage(Frame[2]);
    buildWorkPage(Frame[3]);
    buildPersonalPage(Frame[4]);
    buildOtherPage(Frame[5]);
    buildPhotoPage(Frame[6]);

    Command0 = MakeControl<QPushButton>(this, "Command0", 4125, 4650, 1335, 375);
    CommandEditOK = MakeControl<QPushButton>(this, "CommandEditOK", 4125, 4650, 1335, 375);
    Command7 = MakeControl<QPushButton>(this, "Command7", 5565, 4650, 1335, 375);
    Command6 = MakeControl<QPushButton>(this, "Command6", 7005, 4650, 1335, 375);
    CommandEdit = MakeControl<QPushButton>(this, "CommandEdit", 7005, 4650, 1335, 375);
    Command0->setText(s("OK"));
    CommandEditOK->setText(s("OK"));
    CommandEditOK->hide();
    CommandEdit->hide();
    connect(Command0, &QPushButton::clicked, this, [this] { SaveNewContact(true); });
    connect(Command6, &QPushButton::clicked, this, [this] { SaveNewContact(false); });
    connect(CommandEditOK, &QPushButton::clicked, this, [this] { SaveEditedContact(false); });
    connect(CommandEdit, &QPushButton::clicked, this, [this] { SaveEditedContact(true); });
    connect(Command7, &QPushButton::clicked, this, [this] { Forms::Unload(this); });
    SetCancelButton(Command7);
    SetDefaultButton(Command0);
}

frmCntAdd::~frmCntAdd() = default;

QLabel* frmCntAdd::addLabel(QGroupBox* frame, int row, const char* labelKey)
{
    auto* label = new QLabel(frame);
    Place(label, LabelLeft, rowTop(row) + 45, LabelWidth, 255);
    labels_.append({label, labelKey});
    return label;
}

QLineEdit* frmCntAdd::addBox(QGroupBox* frame, int row, const char* name, const char* labelKey, const char* hint,
                             int width)
{
    addLabel(frame, row, labelKey);
    auto* box = MakeControl<QLineEdit>(frame, name, BoxLeft, rowTop(row), width ? width : BoxWidth, 330);
    box->setToolTip(s(hint));
    SelectAllOnFocus(box);
    return box;
}

void frmCntAdd::buildNamePage(QGroupBox* frame)
{
    Text1Name = addBox(frame, 0, "Text1Name", "mes92", "Фамилия");
    Text2Name = addBox(frame, 1, "Text2Name", "mes93", "Имя");
    Text3Name = addBox(frame, 2, "Text3Name", "mes94", "Отчество");
    TextPhone = addBox(frame, 3, "TextPhone", "mes95", "Дом. телефон");
    TextMobile = addBox(frame, 4, "TextMobile", "mes96", "Мобильный");
    Check1 = MakeControl<QCheckBox>(frame, "Check1", LabelLeft, rowTop(5) + 15, LabelWidth, 300);
    TextDate = MakeControl<DateField>(frame, "TextDate", BoxLeft, rowTop(5), 1740, 330);
    TextDate->setToolTip(s("Дата рождения"));
    Command1 = MakeControl<QPushButton>(frame, "Command1", BoxLeft + 1860, rowTop(5) - 22, 1800, 375);
    connect(Check1, &QCheckBox::toggled, this, &frmCntAdd::Check1_Click);
    connect(Command1, &QPushButton::clicked, this, &frmCntAdd::Command1_Click);
}

void frmCntAdd::buildHomePage(QGroupBox* frame)
{
    TextCountry = addBox(frame, 0, "TextCountry", "mes120", "Страна");
    TextRegion = addBox(frame, 1, "TextRegion", "mes121", "Область");
    TextCity = addBox(frame, 2, "TextCity", "mes122", "Город");
    TextIndex = addBox(frame, 3, "TextIndex", "mes123", "Почтовый индекс");
    TextFax = addBox(frame, 4, "TextFax", "mes124", "Факс");
    TextAdress = addBox(frame, 5, "TextAdress", "mes125", "Адрес проживания");
}

void frmCntAdd::buildInternetPage(QGroupBox* frame)
{
    const int linked = BoxWidth - LinkWidth - 60;
    const auto link = [this, frame](const char* name, int row) {
        auto* button = MakeControl<QToolButton>(frame, name, BoxLeft + BoxWidth - LinkWidth, rowTop(row),
                                                LinkWidth, 330);
        button->setText(s("..."));
        return button;
    };
    TextURL = addBox(frame, 0, "TextURL", "mes105", "Домашняя Web-страница", linked);
    CommandURL = link("CommandURL", 0);
    TextICQ = addBox(frame, 1, "TextICQ", "mes106", "Номер ICQ");
    TextMSN = addBox(frame, 2, "TextMSN", "mes107", "MSN");
    TextSkype = addBox(frame, 3, "TextSkype", "mes108", "Skype/Gtalk");
    TextEmail = addBox(frame, 4, "TextEmail", "mes109", "E-mail", linked);
    CommandMail = link("CommandMail", 4);
    TextEmail2 = addBox(frame, 5, "TextEmail2", "mes110", "E-mail (2):", linked);
    CommandMail2 = link("CommandMail2", 5);
    connect(CommandURL, &QToolButton::clicked, this, &frmCntAdd::CommandURL_Click);
    connect(CommandMail, &QToolButton::clicked, this, &frmCntAdd::CommandMail_Click);
    connect(CommandMail2, &QToolButton::clicked, this, &frmCntAdd::CommandMail2_Click);
}

void frmCntAdd::buildWorkPage(QGroupBox* frame)
{
    TextWorkPlace = addBox(frame, 0, "TextWorkPlace", "mes112", "Место работа");
    TextWorkPost = addBox(frame, 1, "TextWorkPost", "mes113", "Должность");
    TextWorkRegion = addBox(frame, 2, "TextWorkRegion", "mes114", "Область");
    TextWorkCity = addBox(frame, 3, "TextWorkCity", "mes115", "Город");
    TextWorkAdress = addBox(frame, 4, "TextWorkAdress", "mes116", "Рабочий адрес");
    TextWorkPhone = addBox(frame, 5, "TextWorkPhone", "mes117", "Телефон");
    TextWorkFax = addBox(frame, 6, "TextWorkFax", "mes118", "Факс");
}

void frmCntAdd::buildPersonalPage(QGroupBox* frame)
{
    addLabel(frame, 0, "mes98");
    ComboSex = MakeControl<QComboBox>(frame, "ComboSex", BoxLeft, rowTop(0), 2400, 330);
    TextWife = addBox(frame, 1, "TextWife", "mes99", "Супруг(а)");
    TextChild = addBox(frame, 2, "TextChild", "mes100", "Дети");
    Check2 = MakeControl<QCheckBox>(frame, "Check2", LabelLeft, rowTop(3) + 15, LabelWidth, 300);
    TextWDate = MakeControl<DateField>(frame, "TextWDate", BoxLeft, rowTop(3), 1740, 330);
    TextWDate->setToolTip(s("Годовщина"));
    Command5 = MakeControl<QPushButton>(frame, "Command5", BoxLeft + 1860, rowTop(3) - 22, 1800, 375);
    connect(Check2, &QCheckBox::toggled, this, &frmCntAdd::Check2_Click);
    connect(Command5, &QPushButton::clicked, this, &frmCntAdd::Command5_Click);
}

void frmCntAdd::buildOtherPage(QGroupBox* frame)
{
    addLabel(frame, 0, "mes127");
    ComboGroupe = MakeControl<QComboBox>(frame, "ComboGroupe", BoxLeft, rowTop(0), BoxWidth, 330);
    ComboGroupe->setToolTip(s("Группа"));
    addLabel(frame, 1, "mes128");
    TextComment = MakeControl<QPlainTextEdit>(frame, "TextComment", LabelLeft, rowTop(2) - 90, BoxLeft + BoxWidth - LabelLeft, 2280);
    TextComment->setToolTip(s("Комментарии"));
    TextComment->setTabChangesFocus(true);
    SelectAllOnFocus(TextComment);
}

void frmCntAdd::buildPhotoPage(QGroupBox* frame)
{
    Image1 = MakeControl<QLabel>(frame, "Image1", LabelLeft, 360, 2700, 3000);
    Image1->setFrameShape(QFrame::StyledPanel);
    Image1->setAlignment(Qt::AlignCenter);
    ImPath = MakeControl<QLabel>(frame, "ImPath", 3120, 1500, 3300, 255);
    ImPath->hide();
    Command2 = MakeControl<QPushButton>(frame, "Command2", 3120, 360, 1920, 375);
    Command3 = MakeControl<QPushButton>(frame, "Command3", 3120, 855, 1920, 375);
    connect(Command2, &QPushButton::clicked, this, &frmCntAdd::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmCntAdd::Command3_Click);
}

void frmCntAdd::Form_Load()
{
    TabPane = std::make_unique<cTabStripPane>(tbsOptions);
    SetFormIcon(this, s("RES_0"), true);
    for (DateField* picker : {TextDate, TextWDate}) {
        picker->setCalendarPopup(true);
        picker->setDate(Clock::Today());
    }
    ApplyLanguage();
    FillGroupCombo(ComboGroupe);
    {
        const QSignalBlocker blocker(ComboGroupe);
        ComboGroupe->removeItem(0);
    }
    ComboSex->setCurrentIndex(0);
    // The phone book's group, or the general group while it shows every group.
    const frmPhones* phones = Forms::Find<frmPhones>();
    const int shown = phones ? phones->Combo1->currentIndex() : 0;
    ComboGroupe->setCurrentIndex(shown > 0 ? shown - 1 : 0);
    Check1_Click();
    Check2_Click();
    showPicture(QPixmap(s(":/contact/photo.png")));
    tbsOptions->setCurrentIndex(0);
}

void frmCntAdd::ApplyLanguage()
{
    setWindowTitle(GetLangText(s("mes84")));
    for (int i = 0; i < 7; ++i) {
        tbsOptions->setTabText(i, GetLangText(s(TabKeys[i])));
        Frame[i]->setTitle(withColon(FrameKeys[i]));
    }
    for (const auto& [label, key] : labels_)
        label->setText(withColon(key));
    Check1->setText(withColon("mes97"));
    Check2->setText(withColon("mes101"));
    for (QPushButton* remind : {Command1, Command5})
        remind->setText(GetLangText(s("cmd9")));
    Command2->setText(GetLangText(s("cmd5")));
    Command3->setText(GetLangText(s("cmd6")));
    Command6->setText(GetLangText(s("cmd21")));
    CommandEdit->setText(GetLangText(s("cmd8")));
    Command7->setText(GetLangText(s("cmd2")));
    const QSignalBlocker blocker(ComboSex);
    ComboSex->clear();
    for (const char* key : {"mes102", "mes103", "mes104"})
        ComboSex->addItem(GetLangText(s(key)));
}

void frmCntAdd::Form_Unload()
{
    if (frmPhones* phones = Forms::Find<frmPhones>())
        phones->ReapplyGroupFilter();
}

void frmCntAdd::SetEditMode(qint64 contactId)
{
    editedId_ = contactId;
    Command0->hide();
    Command6->hide();
    CommandEditOK->show();
    CommandEdit->show();
    SetDefaultButton(CommandEditOK);
}

void frmCntAdd::Check1_Click()
{
    TextDate->setEnabled(Check1->isChecked());
    Command1->setEnabled(Check1->isChecked());
}

void frmCntAdd::Check2_Click()
{
    TextWDate->setEnabled(Check2->isChecked());
    Command5->setEnabled(Check2->isChecked());
}

const QList<int>& frmCntAdd::TextOrdinals()
{
    using namespace Contact;
    static const QList<int> ordinals = {
        Second_Name, First_Name, Third_Name, Home_Mobile, Home_Phone, Home_Country, Home_Region, Home_City,
        Home_Index, Home_Fax, Home_Adress, Inet_ICQ, Inet_MSN, Inet_Skype, Inet_Email, Inet_Email_2, Home_Web,
        Work_Place, Work_Post, Work_Region, Work_City, Work_Adress, Work_Phone, Work_Fax, Personal_Status,
        Personal_Childrens, Personal_MEMO,
    };
    return ordinals;
}

QLineEdit* frmCntAdd::lineBox(int ordinal) const
{
    using namespace Contact;
    QLineEdit* const boxes[FieldCount] = {
        nullptr,       Text1Name,    Text2Name,      Text3Name,    TextMobile,     TextPhone,     nullptr,
        nullptr,       TextCountry,  TextRegion,     TextCity,     TextIndex,      TextFax,       TextAdress,
        nullptr,       TextICQ,      TextMSN,        TextSkype,    TextEmail,      TextEmail2,    TextURL,
        TextWorkPlace, TextWorkPost, TextWorkRegion, TextWorkCity, TextWorkAdress, TextWorkPhone, TextWorkFax,
        nullptr,       TextWife,     TextChild,      nullptr,      nullptr,        nullptr,       nullptr,
    };
    return ordinal >= 0 && ordinal < FieldCount ? boxes[ordinal] : nullptr;
}

QString frmCntAdd::BoxText(int ordinal) const
{
    if (ordinal == Contact::Personal_MEMO)
        return TextComment->toPlainText();
    const QLineEdit* box = lineBox(ordinal);
    return box ? box->text() : QString();
}

void frmCntAdd::SetBoxText(int ordinal, const QString& text)
{
    if (ordinal == Contact::Personal_MEMO)
        TextComment->setPlainText(text);
    else if (QLineEdit* box = lineBox(ordinal))
        box->setText(text);
}

void frmCntAdd::ShowGroup(const QString& storedName)
{
    if (storedName.isEmpty())
        return;
    if (storedName == Forms::Get<frmProcess>().GeneralGroupName) {
        ComboGroupe->setCurrentIndex(0);
        return;
    }
    int entry = ComboGroupe->findText(storedName, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (entry <= 0) {
        ComboGroupe->addItem(storedName);
        entry = ComboGroupe->count() - 1;
    }
    ComboGroupe->setCurrentIndex(entry);
}

void frmCntAdd::ShowSex(const QString& storedText)
{
    if (storedText.isEmpty())
        return;
    int entry = ComboSex->findText(storedText, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (entry < 0) {
        ComboSex->addItem(storedText);
        entry = ComboSex->count() - 1;
    }
    ComboSex->setCurrentIndex(entry);
}

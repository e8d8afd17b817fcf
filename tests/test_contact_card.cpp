// The contact card: the hand-over and the two writers keep every value, new
// contacts take the phone book's group, the birthday reminder, the photo, the links
// and the refusals of the database.

#include "test_phonebook_fixture.h"

#include "core/Formats.h"
#include "phonebook/ContactLinks.h"
#include "platform/DateField.h"
#include "platform/FileDialog.h"
#include "platform/Shell.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTabWidget>

#include <sys/stat.h>

namespace {

class ContactCard : public PhoneBookTest {
protected:
    // A contact with a distinct value in every column, in a group the lists do not
    // hold and with a sex text of another language.
    static qint64 addFullContact()
    {
        QVariantList values;
        QStringList names;
        for (int ordinal = 0; ordinal < Contact::FieldCount; ++ordinal) {
            names.append(Contact::FieldName(ordinal));
            values.append(s("value %1").arg(ordinal));
        }
        values[Contact::Groupe_Name] = s("Gone group");
        values[Contact::Personal_Photo] = s("/nowhere/photo.jpg");
        values[Contact::Personal_Date] = s("1980-03-10");
        values[Contact::Personal_Sex] = s("Мужской");
        values[Contact::Personal_StatusDate] = s("2005-06-18");
        values[Contact::ID] = 77;
        EXPECT_TRUE(phoneDb()
                        .Execute(s("INSERT INTO tbl_Phones (%1) VALUES (%2)")
                                     .arg(names.join(s(", ")), QStringList(names.size(), s("?")).join(s(", "))),
                                 values)
                        .Ok());
        return 77;
    }

    // The card of the current contact, with body run once it is up.
    static void view(std::function<void(frmCntAdd&)> body)
    {
        whenShown<frmCntAdd>(std::move(body));
        phones().ViewContact();
    }
    static void add(std::function<void(frmCntAdd&)> body)
    {
        whenShown<frmCntAdd>(std::move(body));
        phones().Toolbar1_ButtonClick(4);
    }
    static QString picture(const char* name, const char* format)
    {
        const QString path = QDir::homePath() + s("/") + s(name);
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::red);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }
};

TEST_F(ContactCard, EveryValueSurvivesTheHandOverAndASaveUnchanged)
{
    const qint64 id = addFullContact();
    const QVariantList before = contactRow(id);
    open();
    view([](frmCntAdd& card) {
        EXPECT_EQ(card.windowTitle(), s("value 2 value 1"));
        EXPECT_EQ(card.ComboGroupe->currentText(), s("Gone group"));
        EXPECT_EQ(card.ComboSex->currentText(), s("Мужской"));
        EXPECT_TRUE(card.Check1->isChecked());
        EXPECT_TRUE(card.Command1->isEnabled());
        EXPECT_EQ(card.TextDate->date(), QDate(1980, 3, 10));
        EXPECT_EQ(card.ImPath->text(), s("/nowhere/photo.jpg"));
        EXPECT_EQ(card.TextComment->toPlainText(), s("value 32"));
        EXPECT_TRUE(card.CommandEditOK->isVisible());
        EXPECT_FALSE(card.Command0->isVisible());
        card.CommandEditOK->click();
    });
    EXPECT_FALSE(Forms::IsLoaded<frmCntAdd>());
    EXPECT_EQ(contactRow(id), before);
}

TEST_F(ContactCard, ApplyWritesTheHandedOverContactWhereverTheRecordsetMoved)
{
    addContact(s("Ann"), s("Adams"));
    const qint64 bob = addContact(s("Bob"), s("Brown"));
    addContact(s("Cy"), s("Clark"));
    open();
    selectContact(s("Bob"));
    view([](frmCntAdd& card) {
        card.TextMobile->setText(s("111"));
        card.CommandEdit->click();
        EXPECT_EQ(card.windowTitle(), s("Bob Brown"));
        ASSERT_TRUE(contacts().SetSort(s("Second_Name DESC")).Ok());
        ASSERT_TRUE(contacts().MoveFirst().Ok());
        card.TextMobile->setText(s("222"));
        card.CommandEdit->click();
        card.Command7->click();
    });
    EXPECT_EQ(phoneRows("SELECT ID, Home_Mobile FROM tbl_Phones WHERE Home_Mobile <> ''"),
              (QList<QVariantList>{{bob, s("222")}}));
}

TEST_F(ContactCard, ANewContactTakesTheShownGroupAndAddClearsOnlyTheBoxes)
{
    addGroup(s("Work"));
    open();
    add([](frmCntAdd& card) {
        card.Text2Name->setText(s("Solo"));
        card.Command0->click();
    });
    EXPECT_EQ(phoneRows("SELECT Groupe_Name, Second_Name, First_Name, Home_Web, Personal_MEMO, Personal_Sex, "
                        "Personal_Photo, Personal_Date, Personal_StatusDate FROM tbl_Phones"),
              (QList<QVariantList>{{s("General"), s(""), s("Solo"), s(""), s(""), GetLangText(s("mes102")), s(""),
                                    QVariant(), QVariant()}}));

    chooseGroup(phones().Combo1->findText(s("Work")));
    add([](frmCntAdd& card) {
        EXPECT_EQ(card.ComboGroupe->currentText(), s("Work"));
        card.Command6->click();
        EXPECT_EQ(messages().value(0), GetLangText(s("mes129")));
        card.Text1Name->setText(s("Doe"));
        card.Text2Name->setText(s("Jane"));
        card.TextComment->setPlainText(s("note"));
        card.ComboSex->setCurrentIndex(2);
        card.Check1->setChecked(true);
        card.tbsOptions->setCurrentIndex(3);
        card.Command6->click();
        for (int ordinal : frmCntAdd::TextOrdinals())
            EXPECT_TRUE(card.BoxText(ordinal).isEmpty()) << ordinal;
        EXPECT_EQ(card.tbsOptions->currentIndex(), 0);
        EXPECT_EQ(card.ComboSex->currentIndex(), 2);
        EXPECT_TRUE(card.Check1->isChecked());
        EXPECT_TRUE(card.Command1->isEnabled());
        // The new contact is listed although its group is another one, until the card closes.
        card.ComboGroupe->setCurrentIndex(0);
        card.Text2Name->setText(s("Max"));
        card.Command6->click();
        EXPECT_EQ(column(), (QStringList{s("Jane"), s("Max")}));
        card.Command7->click();
    });
    EXPECT_EQ(column(), QStringList{s("Jane")});
    EXPECT_EQ(phoneRows("SELECT Groupe_Name, First_Name, Personal_Date FROM tbl_Phones WHERE ID > 1"),
              (QList<QVariantList>{{s("Work"), s("Jane"), s("2026-12-10")}, {s("General"), s("Max"), s("2026-12-10")}}));
}

TEST_F(ContactCard, TheBirthdayReminderFallsOnTheNextBirthdayNotInThePast)
{
    open();
    const QString mark = GetLangText(s("mes97")) + s(" - ");
    const struct {
        QDate today;
        QDate birth;
        QDate reminder;
        bool moved;
    } cases[] = {
        {{2026, 1, 1}, {1980, 3, 10}, {2026, 3, 10}, true},  {{2026, 3, 11}, {1980, 3, 10}, {2027, 3, 10}, true},
        {{2026, 3, 10}, {1980, 3, 10}, {2026, 3, 10}, true}, {{2026, 3, 10}, {2026, 3, 10}, {2026, 3, 10}, false},
        {{2026, 3, 11}, {1980, 2, 29}, {2027, 3, 1}, true},  {{2026, 3, 11}, {2027, 5, 5}, {2027, 5, 5}, false},
    };
    frmCntAdd& card = Forms::Get<frmCntAdd>();
    card.Text1Name->setText(s("Petrova"));
    card.Text2Name->setText(s("Anna"));
    card.Check1->setChecked(true);
    for (const auto& c : cases) {
        Clock::SetFixed(QDateTime(c.today, QTime(9, 0)));
        card.TextDate->setDate(c.birth);
        card.Command1_Click();
        const Row row = stored().last();
        EXPECT_EQ(row.date, c.reminder) << c.birth.toString().toStdString();
        EXPECT_EQ(row.notes, c.moved ? QVariant(mark + DateText(c.birth)) : QVariant());
        EXPECT_EQ(row.title, s("Petrova Anna"));
        EXPECT_EQ(row.category, process().BuiltInMeasure1);
        EXPECT_FALSE(row.time.isValid());
    }
    EXPECT_EQ(messages(), QStringList(std::size(cases), GetLangText(s("mes81"))));
    ASSERT_TRUE(db().Execute(s("CREATE TEMP TRIGGER refuse BEFORE INSERT ON lst_Dates "
                               "BEGIN SELECT RAISE(ABORT, 'refused'); END"))
                    .Ok());
    MsgBoxScript::Clear();
    card.Command1_Click();
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes331"))});
}

TEST_F(ContactCard, LinksOpenOnlyWebAddressesAndMailToTheAddressAlone)
{
    // nullptr: not a case of that box.
    const struct {
        const char* typed;
        const char* web;
        const char* mail;
    } cases[] = {
        {"", "", "mailto:"},
        {"www.example.com", "http://www.example.com", nullptr},
        {"HTTPS://Example.org/a b?q=1", "https://example.org/a%20b?q=1", nullptr},
        {"ftp://files.example.com", "ftp://files.example.com", nullptr},
        {"localhost:8080/x", "http://localhost:8080/x", nullptr},
        {"file:///etc/passwd", "", nullptr},
        {"/etc/passwd", "", nullptr},
        {"../notes.txt", "", nullptr},
        {"javascript:alert(1)", "", nullptr},
        {"mailto:a@b.c", "", nullptr},
        {"a@b.org?attach=/etc/passwd&cc=c@d", nullptr, "mailto:a@b.org%3Fattach%3D%2Fetc%2Fpasswd%26cc%3Dc@d"},
        {" x y#%@c.d ", nullptr, "mailto:x%20y%23%25@c.d"},
        {"иван@пример.рф", nullptr, "mailto:%D0%B8%D0%B2%D0%B0%D0%BD@%D0%BF%D1%80%D0%B8%D0%BC%D0%B5%D1%80.%D1%80%D1%84"},
    };
    for (const auto& c : cases) {
        if (c.web) {
            EXPECT_EQ(WebLink(s(c.typed)), s(c.web)) << c.typed;
        }
        if (c.mail) {
            EXPECT_EQ(MailLink(s(c.typed)), s(c.mail)) << c.typed;
        }
    }
    const qsizetype before = Shell::Opened().size();
    frmCntAdd& card = Forms::Get<frmCntAdd>();
    card.TextURL->setText(s("example.com"));
    card.TextEmail->setText(s("a@b.c"));
    card.CommandURL->click();
    card.CommandMail->click();
    card.CommandMail2->click();
    card.TextURL->setText(s("file:/x"));
    card.CommandURL->click();
    EXPECT_EQ(Shell::Opened().mid(before), (QStringList{s("http://example.com"), s("mailto:a@b.c"), s("mailto:")}));
}

TEST_F(ContactCard, OnlyARegularPictureFileBecomesThePhoto)
{
    const QString photo = picture("face.png", "PNG");
    const QString other = picture("other.bmp", "BMP");
    const QString text = QDir::homePath() + s("/notes.jpg");
    WriteFile(text, "not a picture");
    const QString pipe = QDir::homePath() + s("/pipe.jpg");
    ASSERT_EQ(mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    const QString refused = GetLangText(s("mes170a")) + s("\r\n") + GetLangText(s("mes170b"));
    FileDialog::ClearForTests();
    open();
    frmCntAdd& card = Forms::Get<frmCntAdd>();
    const struct {
        QString chosen;  // "" a cancelled dialog
        QString path;
        bool refusal;
    } cases[] = {{photo, photo, false},    {text, photo, true},       {QDir::homePath(), photo, true},
                 {pipe, photo, true},      {QString(), photo, false}, {other, other, false}};
    for (const auto& c : cases) {
        MsgBoxScript::Clear();
        FileDialog::PushResult(c.chosen);
        card.Command2_Click();
        EXPECT_EQ(card.ImPath->text(), c.path) << c.chosen.toStdString();
        EXPECT_EQ(messages(), c.refusal ? QStringList{refused} : QStringList()) << c.chosen.toStdString();
        EXPECT_EQ(card.Image1->pixmap().size(), QSize(40, 30));
    }
    EXPECT_EQ(FileDialog::AskedForTests().value(0).title, GetLangText(s("mes130")));
    card.Command3_Click();
    EXPECT_TRUE(card.ImPath->text().isEmpty());
    EXPECT_TRUE(card.Image1->pixmap().isNull());
    Forms::Unload(&card);

    // A stored pipe opens at once, with its path kept; a path too long to keep is
    // saved as no photo.
    const qint64 id = addContact(s("Ann"));
    ASSERT_TRUE(phoneDb().Execute(s("UPDATE tbl_Phones SET Personal_Photo = ? WHERE ID = ?"), {pipe, id}).Ok());
    ASSERT_TRUE(contacts().Resync().Ok());
    view([&](frmCntAdd& shown) {
        EXPECT_EQ(shown.ImPath->text(), pipe);
        shown.ImPath->setText(s("/") + QString(300, QLatin1Char('p')));
        shown.CommandEdit->click();
        EXPECT_TRUE(shown.ImPath->text().isEmpty());
        shown.Command7->click();
    });
    EXPECT_EQ(contactRow(id).value(Contact::Personal_Photo), s(""));
}

TEST_F(ContactCard, ASaveTheDatabaseRefusesIsReportedAndTheCardKeepsItsInput)
{
    addContact(s("Ann"));
    ASSERT_TRUE(phoneDb()
                    .Execute(s("CREATE TEMP TRIGGER refuse BEFORE UPDATE ON tbl_Phones "
                               "BEGIN SELECT RAISE(ABORT, 'refused'); END"))
                    .Ok());
    open();
    view([](frmCntAdd& card) {
        card.Text1Name->setText(s("Changed"));
        card.CommandEditOK->click();
        EXPECT_EQ(messages(), QStringList{GetLangText(s("mes340"))});
        EXPECT_TRUE(card.isVisible());
        EXPECT_EQ(card.Text1Name->text(), s("Changed"));
        EXPECT_TRUE(contacts().Field(Contact::Second_Name).toString().isEmpty());
        card.Command7->click();
    });
    EXPECT_EQ(column(2), QStringList{QString()});
}

}  // namespace

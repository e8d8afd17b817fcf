// The import wizard on its own: pages, tree and lists, the transfer into the phone
// book and its guard, renames from the tree, the choice of another address book,
// the licence link and the keys of the contact table.

#include "test_wab_fixture.h"

#include "core/Options.h"
#include "platform/FileDialog.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <sys/stat.h>

namespace {

// A label edit is open in the tree.
bool editing(QTreeWidget* tree)
{
    for (const QLineEdit* editor : tree->findChildren<QLineEdit*>()) {
        if (editor->isVisible())
            return true;
    }
    return false;
}

TEST_F(WabTest, OpensModalOverItsOwnerAndFillsTreeAndList)
{
    Form owner(s("frmPhones"), Form::MainWindow);
    owner.show();
    bool checked = false;
    QTimer::singleShot(0, [&] {
        frmWAB& w = wizard();
        EXPECT_EQ(w.parentWidget(), &owner);
        EXPECT_TRUE(w.IsShownModal());
        EXPECT_TRUE(w.fraIntro->isVisible());
        EXPECT_FALSE(w.fraTransfer->isVisible());
        EXPECT_EQ(w.txtSource->text(), AddressBook::DefaultSource());
        w.cmdNext->click();
        EXPECT_TRUE(w.fraTransfer->isVisible() && w.cmdTransfer->isVisible() && w.cmdSelectAll->isVisible());
        EXPECT_FALSE(w.cmdNext->isVisible() || w.fraIntro->isEnabled());
        checked = true;
        w.cmdExit->click();
    });
    wizard().ShowModal(&owner);
    ASSERT_TRUE(checked);
    EXPECT_FALSE(Forms::IsLoaded<frmWAB>());

    frmWAB& w = wizard();
    QStringList tree;
    for (QTreeWidgetItemIterator it(w.tvFolders); *it; ++it)
        tree.append(NodeKey(*it) + s(" ") + (*it)->text(0));
    EXPECT_EQ(tree, (QStringList{s("Fwork work"), s("Gwork//Friends,Family Friends,Family"),
                                 s("Gwork/X.VCF#1 Tennis partners"), s("Gwork//Work Work"), s("Ffamily Семья")}));
    EXPECT_EQ(w.tvFolders->currentItem(), node(s("Fwork")));
    EXPECT_EQ(column(0), (QStringList{s("Анна"), s("John"), s("Jane")}));
    EXPECT_EQ(column(3), (QStringList{s("+7 (812) 555-03-04"), s("555-0100"), s("555-0200")}));
    ASSERT_EQ(w.lvContacts.Rows.size(), 3);
    EXPECT_EQ(w.lvContacts.Key(1), s("Cwork/X.VCF#0&0"));
    EXPECT_EQ(w.lvContacts.Text(1, 0), GetLangText(s("mes278")));

    w.tvFolders->setCurrentItem(node(s("Gwork/X.VCF#1")));
    EXPECT_EQ(column(1), QStringList{s("Appleseed")});
    w.tvFolders->setCurrentItem(node(s("Ffamily")));
    EXPECT_EQ(column(0), (QStringList{s("Иван"), QString(), s("Ольга")}));
    EXPECT_EQ(w.lvContacts.Rows.size(), 3);
}

TEST_F(WabTest, TransferStoresTheSelectedContactsInTheGeneralGroup)
{
    frmWAB& w = wizard();
    w.show();
    w.cmdNext->click();
    w.cmdTransfer->click();
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes269"))});
    EXPECT_TRUE(phones("ID").isEmpty());

    QStringList progress;
    struct ShowWatch : QObject {
        std::function<void()> onShow;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Show)
                onShow();
            return false;
        }
    } watch;
    watch.onShow = [&] { progress.append(w.lblProgress->text()); };
    w.fraProgress->installEventFilter(&watch);
    select({1, 2});
    w.cmdTransfer->click();
    w.cmdTransfer->click();
    EXPECT_EQ(progress, (QStringList{s("Transferring: 0/2"), s("Transferring: 0/2")}));
    EXPECT_EQ(w.lblProgress->text(), s("Transferring: 2/2"));
    EXPECT_FALSE(w.fraProgress->isVisible());
    EXPECT_EQ(selectedCount(), 2);
    EXPECT_EQ(messages().mid(1), (QStringList{GetLangText(s("mes272")), GetLangText(s("mes272"))}));

    const QList<QVariantList> rows =
        phones("Groupe_Name, First_Name, Second_Name, Third_Name, Home_Mobile, Home_Phone, Home_Country, "
               "Home_Region, Home_City, Home_Index, Home_Fax, Home_Adress, Inet_Email, Inet_Email_2, Home_Web, "
               "Work_Place, Work_Post, Work_Region, Work_City, Work_Adress, Work_Phone, Work_Fax, Personal_MEMO, "
               "Personal_Date, Inet_ICQ");
    ASSERT_EQ(rows.size(), 4);
    QStringList john;
    for (const QVariant& value : rows[0])
        john.append(value.isNull() ? s("NULL") : value.toString());
    EXPECT_EQ(john, (QStringList{s("General"), s("John"), s("Appleseed"), s("Quincy Q."), s("555-0101"),
                                 s("555-0100"), s("USA"), s("CA"), s("Cupertino"), s("95014"), QString(),
                                 s("1 Infinite Loop, Building 2"), s("john@home.example"), s("john@work.example"),
                                 s("https://example.com/~john"), s("Example, Inc."), s("Chief Tester"), s("USA CA"),
                                 s("San Francisco"), s("PO Box 7, Suite 5, 2 Market St 94105"), s("555-0102"),
                                 s("555-0103"), s("Line one\nLine two, with comma"), s("NULL"), s("NULL")}));
    EXPECT_EQ(rows[1][1].toString(), s("Jane"));
    EXPECT_EQ(rows[1][17].toString(), QString());
    EXPECT_EQ(rows[1][19].toString(), QString());
    EXPECT_EQ(rows[2], rows[0]);

    w.tvFolders->setCurrentItem(node(s("Ffamily")));
    select({1});
    w.cmdTransfer->click();
    EXPECT_EQ(phones("First_Name, Home_Phone").last(), (QVariantList{GetLangText(s("mes271")), s("112")}));
    EXPECT_EQ(DataEnvironment1().rstbl_Phones.RecordCount(), 5);
}

TEST_F(WabTest, NothingChangesWhatTheTransferReadsWhileItRuns)
{
    frmWAB& w = wizard();
    w.cmdNext->click();
    w.cmdSelectAll->click();
    bool tried = false;
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(w.IsTransferring());
        w.cmdExit->click();
        w.cmdTransfer->click();
        w.cmdDeselectAll->click();
        w.close();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&w, &escape);
        const QRect family = w.tvFolders->visualItemRect(node(s("Ffamily")));
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent click(type, family.center(), w.tvFolders->viewport()->mapToGlobal(family.center()),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(w.tvFolders->viewport(), &click);
        }
        w.tvFolders->editItem(node(s("Gwork/X.VCF#1")));
        tried = true;
    });
    w.cmdTransfer->click();
    ASSERT_TRUE(tried);
    EXPECT_TRUE(Forms::IsLoaded<frmWAB>());
    EXPECT_EQ(w.tvFolders->currentItem(), node(s("Fwork")));
    EXPECT_FALSE(editing(w.tvFolders));
    EXPECT_EQ(selectedCount(), 3);
    EXPECT_EQ(phones("ID").size(), 3);
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes272"))});
    EXPECT_TRUE(w.cmdExit->isEnabled() && w.tvFolders->isEnabled());
}

TEST_F(WabTest, ARowTheDatabaseRefusesTakesBackTheWholeTransfer)
{
    ASSERT_TRUE(DataEnvironment1()
                    .Connection2
                    .Execute(s("CREATE TEMP TRIGGER refuse BEFORE INSERT ON tbl_Phones WHEN NEW.First_Name = 'Jane' "
                               "BEGIN SELECT RAISE(ABORT, 'refused'); END"))
                    .Ok());
    frmWAB& w = wizard();
    w.cmdNext->click();
    w.cmdSelectAll->click();
    w.cmdTransfer->click();
    EXPECT_TRUE(phones("ID").isEmpty());
    EXPECT_EQ(DataEnvironment1().rstbl_Phones.RecordCount(), 0);
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes372"))});
    EXPECT_FALSE(w.fraProgress->isVisible());
    EXPECT_FALSE(w.IsTransferring());
    EXPECT_TRUE(w.cmdTransfer->isEnabled());
}

TEST_F(WabTest, RenamesFromTheTree)
{
    Fixtures::writeFile(AddressBook::DefaultSource() + s("/mine.vcf"), Fixtures::Modern40());
    frmWAB& w = wizard();
    w.show();
    w.cmdNext->click();
    const QString apple = AddressBook::DefaultSource() + s("/work/X.VCF");
    auto rename = [&](const char* key, const char* text) {
        node(s(key))->setText(0, s(text));
        pump();
        return node(s(key))->text(0);
    };
    for (const char* key : {"F.", "Gwork//Work"}) {
        w.tvFolders->editItem(node(s(key)));
        EXPECT_FALSE(editing(w.tvFolders)) << key;
    }
    w.tvFolders->editItem(node(s("Ffamily")));
    EXPECT_TRUE(editing(w.tvFolders));
    w.tvFolders->reset();

    EXPECT_EQ(rename("Ffamily", " Родные "), s("Родные"));
    EXPECT_TRUE(ReadFile(AddressBook::DefaultSource() + s("/family/displayname")).startsWith("Родные\n"));
    EXPECT_EQ(rename("Gwork/X.VCF#1", "  "), s("Tennis partners"));
    ::chmod(QFile::encodeName(apple).constData(), 0444);
    EXPECT_EQ(rename("Gwork/X.VCF#1", "Squash"), s("Tennis partners"));
    EXPECT_EQ(ReadFile(apple), Fixtures::Apple30());
    EXPECT_EQ(messages(), (QStringList{GetLangText(s("mes370")), GetLangText(s("mes371"))}));
    ::chmod(QFile::encodeName(apple).constData(), 0644);
    EXPECT_EQ(rename("Gwork/X.VCF#1", "Squash"), s("Squash"));
    EXPECT_TRUE(ReadFile(apple).contains("\r\nFN:Squash\r\n"));
}

TEST_F(WabTest, AnotherAddressBookIsChosenOnTheIntroductionPage)
{
    frmWAB& w = wizard();
    const QString work = AddressBook::DefaultSource() + s("/work");
    FileDialog::ClearForTests();
    FileDialog::PushResult(work);
    w.cmdFolder->click();
    EXPECT_EQ(FileDialog::AskedForTests().last().mode, FileDialog::Mode::Folder);
    EXPECT_EQ(w.txtSource->text(), work);
    EXPECT_EQ(NodeKey(w.tvFolders->topLevelItem(0)), s("F."));
    EXPECT_EQ(column(0), (QStringList{s("Анна"), s("John"), s("Jane")}));

    QFile large(work + s("/large.vcf"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(AddressBook::MaxFileSize + 1));
    large.close();
    for (const char* notCards : {"/family/displayname", "/work/pipe.vcf", "/work/large.vcf"}) {
        FileDialog::PushResult(AddressBook::DefaultSource() + s(notCards));
        w.cmdFile->click();
    }
    FileDialog::PushResult(QString());
    w.cmdFile->click();
    EXPECT_EQ(messages(),
              (QStringList{GetLangText(s("mes369")), GetLangText(s("mes369")), GetLangText(s("mes382"))}));
    EXPECT_EQ(w.txtSource->text(), work);

    FileDialog::PushResult(work + s("/X.VCF"));
    w.cmdFile->click();
    EXPECT_TRUE(FileDialog::AskedForTests().last().filter.contains(s("*.VCF")));
    EXPECT_EQ(w.tvFolders->topLevelItem(0)->text(0), s("X.VCF"));
    EXPECT_EQ(column(0), (QStringList{s("John"), s("Jane")}));

    // A book with a card cut to the reader's limits says so when the transfer ends.
    QByteArray cut = "BEGIN:VCARD\r\nFN:Kept\r\nCATEGORIES:";
    for (int i = 0; i <= MaxCardCategories; ++i)
        cut += 'c' + QByteArray::number(i) + ',';
    Fixtures::writeFile(work + s("/cut.vcf"), cut + "\r\nEND:VCARD\r\n");
    FileDialog::PushResult(work + s("/cut.vcf"));
    w.cmdFile->click();
    w.cmdNext->click();
    select({0});
    w.cmdTransfer->click();
    EXPECT_EQ(phones("First_Name").last(), QVariantList{s("Kept")});
    EXPECT_EQ(messages().last(), GetLangText(s("mes272")) + s("\n\n") + GetLangText(s("mes397")));
}

TEST_F(WabTest, TheLinkOpensTheLicencePage)
{
    frmWAB& w = wizard();
    w.show();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, QPointF(5, 5), w.lblLicence->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.lblLicence, &click);
    }
    ASSERT_FALSE(Shell::Opened().isEmpty());
    EXPECT_TRUE(Shell::Opened().last().endsWith(s("/en/lgpl.php")));
}

TEST(WabKeys, TwoEntriesOfOneIdentifierGetKeysOfTheirOwn)
{
    ContactTable table;
    AddressBook::Entry contact;
    contact.Id = s("a/b.vcf#0");
    contact.Kind = AddressBook::ContactKind;
    EXPECT_EQ(MakeItemKey(contact, table), s("Ca/b.vcf#0&0"));
    table.Fill({&contact, &contact, &contact});
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(table.Key(row), s("Ca/b.vcf#0&") + QString::number(row));
    EXPECT_EQ(MakeItemKey(contact, table), s("Ca/b.vcf#0&3"));
    AddressBook::Entry group = contact;
    group.Kind = AddressBook::GroupKind;
    EXPECT_EQ(MakeItemKey(group, table), s("Ga/b.vcf#0&0"));
    group.Kind = 3;
    EXPECT_EQ(MakeItemKey(group, table), s("a/b.vcf#0&0"));
    EXPECT_EQ(KeyId(s("Gwork//Work")), s("work//Work"));
}

}  // namespace

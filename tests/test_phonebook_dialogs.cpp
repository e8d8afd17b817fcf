// The phone book's search, group manager and column chooser, and how their filters
// meet the group list's and the contact card's on the one contacts recordset.

#include "test_phonebook_fixture.h"

#include "vcard_fixtures.h"

#include "core/clsINI.h"
#include "phonebook/frmWAB.h"
#include "platform/AddressBook.h"
#include "platform/FileSystem.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeView>

namespace {

class PhoneBookDialogs : public PhoneBookTest {
protected:
    static QString description(const char* key, const QString& text)
    {
        return GetLangText(s(key)) + s(": '") + text + s("'");
    }
    static QStringList listed(const QComboBox* list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->itemText(i));
        return texts;
    }
    static QStringList ticked()
    {
        QStringList keys;
        const frmCntTable& chooser = Forms::Get<frmCntTable>();
        const QList<int> columns = ChoosableGridColumns();
        for (int i = 0; i < chooser.List1->count(); ++i) {
            if (chooser.List1->item(i)->checkState() == Qt::Checked)
                keys.append(ColumnChoiceKey(columns[i]));
        }
        return keys;
    }
    static void setOption(const char* key, const char* value)
    {
        clsINI ini;
        ini.SetFileName(OptionsFilePath());
        ini.SetValue(s("PhoneGridView"), s(key), s(value));
        ASSERT_TRUE(ini.UpdateFile());
    }
};

TEST_F(PhoneBookDialogs, TheLastFilterSetWinsAndTheLabelOnlyDescribesASearchInForce)
{
    addGroup(s("Work"));
    addContact(s("Ann"), s("Adams"), s("Work"));
    addContact(s("Alex"), s("Black"), s("General"), s("+7 900"));
    addContact(s("Bob"), s("O'Brien"), s("General"));
    addContact(QString(), s("Abbot"), s("Work"));
    open();
    chooseGroup(phones().Combo1->findText(s("Work")));
    EXPECT_EQ(column(), (QStringList{s("Ann"), QString()}));

    // A search finds in every group, nameless contacts included.
    search(0, s("a"));
    EXPECT_EQ(column(2), (QStringList{s("Adams"), s("Abbot")}));
    EXPECT_EQ(label(), description("mes136", s("a")));
    chooseGroup(1);
    EXPECT_EQ(column(), (QStringList{s("Alex"), s("Bob")}));
    EXPECT_TRUE(label().isEmpty());

    search(2, s("+7"));
    EXPECT_EQ(column(), QStringList{s("Alex")});
    whenShown<frmCntAdd>([](frmCntAdd& card) { card.Command7->click(); });
    phones().Toolbar1_ButtonClick(4);
    EXPECT_EQ(column(), (QStringList{s("Alex"), s("Bob")}));
    EXPECT_TRUE(label().isEmpty());

    search(1, s("<b>x"));
    EXPECT_EQ(label(), description("mes137", s("<b>x")));
    EXPECT_EQ(phones().LabelFilter->textFormat(), Qt::PlainText);
    frmCntSearch& window = Forms::Get<frmCntSearch>();
    window.CmdReset_Click();
    EXPECT_EQ(column(), (QStringList{s("Ann"), s("Alex"), s("Bob")}));
    EXPECT_TRUE(label().isEmpty());
    EXPECT_TRUE(window.Text1->text().isEmpty());
    EXPECT_FALSE(window.cmdOK->isEnabled());

    search(0, s("o'b"));
    EXPECT_EQ(column(), QStringList{s("Bob")});
    Forms::Get<frmGroupes>();
    Forms::Unload<frmGroupes>();
    EXPECT_EQ(phones().Combo1->currentIndex(), 0);
    EXPECT_EQ(column(), (QStringList{s("Ann"), s("Alex"), s("Bob")}));
    EXPECT_TRUE(label().isEmpty());
}

TEST_F(PhoneBookDialogs, TheSearchMatchesTheBeginningLiterallyInAnyLetterCase)
{
    for (const char* name : {"O'Brien", "50% off", "50 off", "a*b", "ab", "[x", "x", "Щукин", "щука", "Shuk"})
        addContact(s("n"), s(name));
    open();
    const struct {
        const char* typed;
        QStringList surnames;
    } cases[] = {{"o'", {s("O'Brien")}},  {"50%", {s("50% off")}}, {"A*", {s("a*b")}},
                 {"[x", {s("[x")}},       {"ЩУК", {s("Щукин"), s("щука")}}, {"sh", {s("Shuk")}}};
    for (const auto& c : cases) {
        search(0, s(c.typed));
        EXPECT_EQ(column(2), c.surnames) << c.typed;
    }
    // Enter runs the search; each activation goes back to the surname.
    frmCntSearch& window = Forms::Get<frmCntSearch>();
    window.Combo1->setCurrentIndex(2);
    window.Form_Activate();
    EXPECT_EQ(window.Combo1->currentIndex(), 0);
    window.Text1->setText(s("x"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(window.Text1, &enter);
    EXPECT_EQ(column(2), QStringList{s("x")});
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Forms::IsLoaded<frmCntSearch>());
    EXPECT_EQ(column(2), QStringList{s("x")});
}

TEST_F(PhoneBookDialogs, WhileTheCardIsOpenTheSearchTakesNoInput)
{
    addContact(s("Ann"), s("Adams"));
    const qint64 bob = addContact(s("Bob"), s("Brown"));
    open();
    selectContact(s("Bob"));
    phones().Toolbar1_ButtonClick(10);
    whenShown<frmCntAdd>([](frmCntAdd& card) {
        frmCntSearch& window = Forms::Get<frmCntSearch>();
        EXPECT_FALSE(frmCntSearch::TakesInput());
        window.Text1->setText(s("Ad"));
        window.cmdOK_Click();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(window.Text1, &enter);
        EXPECT_EQ(column(), (QStringList{s("Ann"), s("Bob")}));
        card.TextMobile->setText(s("555"));
        card.CommandEditOK->click();
    });
    phones().ViewContact();
    EXPECT_TRUE(frmCntSearch::TakesInput());
    EXPECT_EQ(phoneRows("SELECT ID FROM tbl_Phones WHERE Home_Mobile = '555'"), (QList<QVariantList>{{bob}}));
}

TEST_F(PhoneBookDialogs, TheGroupNameRuleKeepsTheGeneralGroupsNamesOut)
{
    open();
    frmGroupes& manager = Forms::Get<frmGroupes>();
    EXPECT_FALSE(manager.Command1->isEnabled());
    EXPECT_FALSE(manager.Combo1->isEnabled());
    const struct {
        const char* typed;
        const char* kept;
    } cases[] = {{"system", ""},   {"ОБЩАЯ", ""},       {"gEnErAl", ""},           {"General X", "General X"},
                 {" General", " General"}, {"Generals", "Generals"}, {"Bob's", "Bob's"}};
    for (const auto& c : cases) {
        manager.Text1Name->setText(s(c.typed));
        EXPECT_EQ(manager.Text1Name->text(), s(c.kept)) << c.typed;
        EXPECT_EQ(manager.Command2->isEnabled(), *c.kept != 0) << c.typed;
    }
    manager.Command2_Click();
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes153"))});
    EXPECT_TRUE(manager.Text1Name->text().isEmpty());
    EXPECT_EQ(listed(manager.Combo1), QStringList{s("Bob's")});

    // A name that differs only in letter case is refused; the box keeps it.
    MsgBoxScript::Clear();
    manager.Text1Name->setText(s("BOB'S"));
    manager.Command2_Click();
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes155"))});
    EXPECT_EQ(manager.Text1Name->text(), s("BOB'S"));
    EXPECT_EQ(groupNames(), (QStringList{s("General"), s("Bob's")}));
}

TEST_F(PhoneBookDialogs, DeletingAGroupFindsItFromTheFirstRowAndKeepsItsContacts)
{
    for (const char* name : {"Alpha", "Bob's", "Zeta"})
        addGroup(s(name));
    addContact(s("Kid"), QString(), s("Bob's"));
    open();
    frmGroupes& manager = Forms::Get<frmGroupes>();
    manager.Option2->setChecked(true);
    EXPECT_EQ(listed(manager.Combo1), (QStringList{s("Alpha"), s("Bob's"), s("Zeta")}));
    EXPECT_TRUE(manager.Command1->isEnabled());
    ASSERT_TRUE(DataEnvironment1().rstbl_Groupes.Open().Ok());
    ASSERT_TRUE(DataEnvironment1().rstbl_Groupes.MoveLast().Ok());

    manager.Combo1->setCurrentIndex(1);
    MsgBoxScript::Push(vbNo);
    manager.Command1_Click();
    EXPECT_EQ(groupNames().size(), 4);
    manager.Command1_Click();
    EXPECT_EQ(groupNames(), (QStringList{s("General"), s("Alpha"), s("Zeta")}));
    EXPECT_EQ(messages().last(), GetLangText(s("mes154")));
    EXPECT_EQ(phoneRows("SELECT Groupe_Name FROM tbl_Phones"), (QList<QVariantList>{{s("Bob's")}}));

    // A group gone behind the manager's back deletes nothing and says nothing.
    ASSERT_TRUE(phoneDb().Execute(s("DELETE FROM tbl_Groupes WHERE Groupe_Name = 'Alpha'")).Ok());
    MsgBoxScript::Clear();
    manager.Command1_Click();
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes152")) + s(" \"Alpha\" ?")});
    EXPECT_EQ(groupNames(), (QStringList{s("General"), s("Zeta")}));

    manager.Command1_Click();
    EXPECT_EQ(groupNames(), QStringList{s("General")});
    EXPECT_FALSE(manager.Combo1->isEnabled());
    EXPECT_FALSE(manager.Command1->isEnabled());
    MsgBoxScript::Clear();
    manager.Command1_Click();
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes151"))});
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&manager, &escape);
    EXPECT_EQ(listed(phones().Combo1), (QStringList{GetLangText(s("mes279")), GetLangText(s("mes278"))}));
}

TEST_F(PhoneBookDialogs, TheChooserWritesEveryColumnOnOkAndNothingOnCancelOrAFailedWrite)
{
    setOption("col3", "TRUE");
    setOption("col4", "0");
    setOption("col5", "1");
    open();
    frmCntTable& chooser = Forms::Get<frmCntTable>();
    EXPECT_EQ(ticked(), (QStringList{s("col2"), s("col3"), s("col5"), s("col7"), s("col18")}));

    const QByteArray before = ReadFile(OptionsFilePath());
    chooser.List1->item(0)->setCheckState(Qt::Unchecked);
    chooser.Command1->click();
    EXPECT_EQ(ReadFile(OptionsFilePath()), before);
    EXPECT_FALSE(phones().DataGrid1->isColumnHidden(2));

    // A write that fails is reported; the chooser stays open with its ticks.
    Forms::Get<frmCntTable>().List1->item(0)->setCheckState(Qt::Unchecked);
    MsgBoxScript::Clear();
    FileSystem::SetAtomicWriteFailsBeforeRename(true);
    Forms::Get<frmCntTable>().Command0_Click();
    FileSystem::SetAtomicWriteFailsBeforeRename(false);
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes395"))});
    ASSERT_TRUE(Forms::IsLoaded<frmCntTable>());
    EXPECT_FALSE(ticked().contains(s("col2")));
    EXPECT_EQ(ReadFile(OptionsFilePath()), before);
    EXPECT_FALSE(phones().DataGrid1->isColumnHidden(2));

    Forms::Get<frmCntTable>().List1->item(28)->setCheckState(Qt::Checked);
    Forms::Get<frmCntTable>().Command0_Click();
    EXPECT_TRUE(phones().DataGrid1->isColumnHidden(2));
    EXPECT_FALSE(phones().DataGrid1->isColumnHidden(32));
    const QString file = QString::fromUtf8(ReadFile(OptionsFilePath()));
    QStringList lines;
    for (int column : ChoosableGridColumns())
        lines.append(ColumnChoiceKey(column) + s("=") + ReadOption(s("PhoneGridView"), ColumnChoiceKey(column)));
    EXPECT_TRUE(file.contains(lines.join(s("\r\n")))) << file.toStdString();
    EXPECT_EQ(ReadOption(s("PhoneGridView"), s("col3")), s("True"));
    EXPECT_EQ(ReadOption(s("PhoneGridView"), s("col2")), s("False"));

    clsINI ini;
    ini.SetFileName(OptionsFilePath());
    ini.RemoveValue(s("PhoneGridView"), s("col30"));
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EXIT(Forms::Get<frmCntTable>(), ::testing::ExitedWithCode(1), GetLangText(s("mes294")).toStdString());
}

TEST_F(PhoneBookDialogs, AnImportFromTheChooserEndsWithTheGroupListsFilter)
{
    Fixtures::WriteVdir(AddressBook::DefaultSource());
    addGroup(s("O'Brien"));
    addContact(s("Pat"), s("Kelly"), s("O'Brien"));
    open();
    const struct {
        int entry;
        QString filter;
    } cases[] = {{0, AllContactsFilter()}, {1, GroupFilter(s("General"))}, {2, GroupFilter(s("O'Brien"))}};
    for (const auto& c : cases) {
        chooseGroup(c.entry);
        search(1, s("P"));
        whenShown<frmWAB>([](frmWAB& wizard) {
            EXPECT_EQ(wizard.parentWidget(), &phones());
            EXPECT_FALSE(frmCntSearch::TakesInput());
            wizard.cmdNext->click();
            wizard.ListView1->setCurrentIndex(wizard.ListModel->index(0, 0));
            wizard.cmdTransfer->click();
            wizard.cmdExit->click();
        });
        Forms::Get<frmCntTable>().CommandImport->click();
        EXPECT_FALSE(Forms::IsLoaded<frmCntTable>());
        EXPECT_EQ(contacts().Filter(), c.filter) << c.entry;
        EXPECT_TRUE(label().isEmpty());
    }
    EXPECT_EQ(column(), QStringList{s("Pat")});
    EXPECT_EQ(phoneRows("SELECT count(*) FROM tbl_Phones").value(0).value(0).toInt(), 4);
}

}  // namespace

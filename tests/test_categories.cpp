// The event-category list of the main window, its context menu and the deletion of
// a category.

#include "test_mainwin_fixture.h"

#include "core/Resources.h"
#include "mainwin/frmMainPopUp.h"
#include "platform/FileDialog.h"
#include "support/FailingReads.h"

#include <QAction>
#include <QMenu>
#include <QStyleOption>
#include <QApplication>

namespace {

class Categories : public MainWindowTest {
protected:
    static QImage picture(const QIcon& icon) { return icon.pixmap(32, 32).toImage(); }
    static QImage itemPicture(const QString& text)
    {
        return picture(main().ListView1->findItems(text, Qt::MatchExactly).value(0)->icon());
    }
    static frmMainPopUp& popUp() { return Forms::Get<frmMainPopUp>(); }

    static int categoryRows(const QString& name)
    {
        return static_cast<int>(rows("SELECT 1 FROM lst_Measures WHERE Measure_Name = ?", {name}).size());
    }
};

TEST_F(Categories, BuiltInsAreListedUnderTheirOwnTextsAndSystemRowsNever)
{
    ASSERT_TRUE(db().Execute(s("INSERT INTO lst_Measures (Measure_Name, LVIcon_Path) VALUES ('Alarm', 'RES_4')")).Ok());
    addCategory(s("Work"), "Work");
    EXPECT_TRUE(SetOwnText(s("evn2"), s("Termine")));
    EXPECT_EQ(categoryTexts(), (QStringList{s("Birthdays"), s("Termine"), s("Holidays"), s("Work")}));
    EXPECT_EQ(process().BuiltInMeasure1, s("Birthdays"));
    EXPECT_EQ(process().BuiltInMeasure2, s("Meetings"));
    EXPECT_EQ(process().BuiltInMeasure3, s("Holidays"));
    EXPECT_EQ(itemPicture(s("Termine")), picture(ResourceIcon(s("RES_2"))));
    EXPECT_TRUE(main().ImageList1.Contains(s("_Termine")));
    EXPECT_EQ(itemPicture(s("Work")), picture(LoadPictureFile(ProgramIcon("Work"))));
    EXPECT_EQ(picture(main().ImageList1.Icon(s("_Work"))), itemPicture(s("Work")));
}

TEST_F(Categories, OnlyBuiltInOneGetsTheYearlyRuleAndOnlyWhenItHasNone)
{
    main();
    EXPECT_EQ(rule(s("Birthdays"), "NextType"), s("yyyy"));
    EXPECT_EQ(rule(s("Birthdays"), "NextInterval"), s("1"));
    EXPECT_EQ(rule(s("Meetings"), "NextInterval"), s("<none>"));
    EXPECT_EQ(rule(s("Holidays"), "NextInterval"), s("<none>"));
    Forms::Unload<frmMain>();

    EXPECT_TRUE(RegWrite(CategoryRuleKey(s("Birthdays")) + s("NextInterval"), s("0")));
    EXPECT_TRUE(RegDelete(CategoryRuleKey(s("Birthdays")) + s("NextType")));
    main();
    EXPECT_EQ(rule(s("Birthdays"), "NextInterval"), s("0"));
    EXPECT_EQ(rule(s("Birthdays"), "NextType"), s("<none>"));
    Forms::Unload<frmMain>();
    // Nor is one written over that cannot be read.
    {
        FailingReads failing(db(), "registry", "value");
        main();
    }
    EXPECT_EQ(rule(s("Birthdays"), "NextInterval"), s("0"));
    Forms::Unload<frmMain>();

    // A rule of a name that no category shows in any language and no event reads
    // goes (a built-in category's rename killed before its rule moved leaves one);
    // the new name gets its default.
    const QString russian = s("Дни рождения");  // evn1 of the Russian own texts
    addEvent(s("Meetings"), s("Team"), QDate(2026, 12, 14));
    addEvent(s("Work"), s("Of a deleted category"), QDate(2026, 12, 15));
    for (const char* name : {"Дни рождения", "Gone", "Meetings", "Work"})
        EXPECT_TRUE(WriteCategoryRule(s(name), s("d"), 1, false));
    EXPECT_TRUE(SetOwnText(s("evn1"), s("Anniversaries")));
    EXPECT_TRUE(SetOwnText(s("evn2"), s("Appointments")));
    // An own-texts file that cannot be read (reading the process's own memory from its
    // start fails as a disk's I/O error does) keeps every rule until a later load.
    const QString russianTexts = OwnTextsFilePath(s("Russian"));
    const QByteArray texts = ReadFile(russianTexts);
    ASSERT_TRUE(QFile::remove(russianTexts));
    ASSERT_TRUE(QFile::link(s("/proc/self/mem"), russianTexts));
    main();
    EXPECT_EQ(rule(russian, "NextType"), s("d"));
    EXPECT_EQ(rule(s("Gone"), "NextType"), s("d"));
    Forms::Unload<frmMain>();
    ASSERT_TRUE(QFile::remove(russianTexts));
    WriteFile(russianTexts, texts);
    main();
    EXPECT_EQ(rule(s("Birthdays"), "NextInterval"), s("<none>"));
    EXPECT_EQ(rule(s("Gone"), "NextInterval"), s("<none>"));
    EXPECT_EQ(rule(s("Meetings"), "NextInterval"), s("<none>"));
    EXPECT_EQ(rule(russian, "NextType"), s("d"));
    EXPECT_EQ(rule(s("Work"), "NextType"), s("d"));
    EXPECT_EQ(rule(s("Anniversaries"), "NextType"), s("yyyy"));
}

TEST_F(Categories, AMissingIconFileAsksForANewPictureAndCopiesIt)
{
    addCategory(s("Work"), "Work");
    QFile::remove(CategoryIconPath(s("Work")));
    MsgBoxScript::Push(vbYes);
    FileDialog::PushResult(QString());  // cancelled first: the question "mes16", answered No
    MsgBoxScript::Push(vbNo);
    FileDialog::PushResult(ProgramIcon("Star"));
    main();
    ASSERT_GE(messages().size(), 2);
    EXPECT_EQ(messages().at(0), GetLangText(s("mes14")) + s(" \"Work\". ") + GetLangText(s("mes15")));
    EXPECT_EQ(MsgBoxScript::Log().at(0).buttons, 52);
    EXPECT_EQ(messages().at(1), GetLangText(s("mes16")));
    EXPECT_EQ(MsgBoxScript::Log().at(1).buttons, 308);
    EXPECT_EQ(ReadFile(CategoryIconPath(s("Work"))), ReadFile(ProgramIcon("Star")));
    EXPECT_EQ(itemPicture(s("Work")), picture(LoadPictureFile(ProgramIcon("Star"))));
    const QList<FileDialog::Asked> asked = FileDialog::AskedForTests();
    ASSERT_FALSE(asked.isEmpty());
    EXPECT_EQ(asked.last().title, GetLangText(s("mes169")));
    EXPECT_EQ(asked.last().folder, process().AppPath + s("/Icons/"));
}

TEST_F(Categories, AnIconFileThatIsNoPictureShowsTheGenericPictureAndTheProgramGoesOn)
{
    addCategory(s("Broken"), "Work");
    WriteFile(CategoryIconPath(s("Broken")), "this is not a picture");
    addCategory(s("Work"), "Work");
    EXPECT_EQ(categoryTexts().size(), 5);
    EXPECT_EQ(itemPicture(s("Broken")), picture(ResourceIcon(s("RES_GENERIC"))));
    EXPECT_EQ(itemPicture(s("Work")), picture(LoadPictureFile(ProgramIcon("Work"))));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(Categories, ABuiltInWhoseTextMeetsAUserCategoryAfterALanguageChangeIsStillListed)
{
    addCategory(s("Встречи"), "Work");
    EXPECT_TRUE(SetOwnText(s("evn2"), s("Встречи")));
    EXPECT_EQ(categoryTexts(), (QStringList{s("Birthdays"), s("Встречи"), s("Holidays"), s("Встречи")}));
    EXPECT_EQ(frmMain::StoredNameOf(main().ListView1->item(1)), s("Meetings"));
    EXPECT_EQ(frmMain::StoredNameOf(main().ListView1->item(3)), s("Встречи"));
}

TEST_F(Categories, TheMenuDisablesDeleteForBuiltInOneAndActsOnlyOnASelection)
{
    addCategory(s("Work"), "Work");
    main().ListView1->clearSelection();
    EXPECT_FALSE(popUp().mnuOpen->isEnabled());
    EXPECT_FALSE(popUp().mnuDelete->isEnabled());
    EXPECT_TRUE(popUp().mnuNew->isEnabled());
    EXPECT_EQ(popUp().mnuNew->text(), GetLangText(s("mnu24")));
    EXPECT_EQ(popUp().mnuPopUp->defaultAction(), popUp().mnuOpen);
    Forms::Unload<frmMainPopUp>();

    selectCategory(s("Birthdays"));
    EXPECT_FALSE(popUp().mnuDelete->isEnabled());
    EXPECT_TRUE(popUp().mnuOptions->isEnabled());
    Forms::Unload<frmMainPopUp>();
    selectCategory(s("Work"));
    EXPECT_TRUE(popUp().mnuDelete->isEnabled());
}

TEST_F(Categories, DeletingAUserCategoryRemovesRowKeyAndIconFileAndKeepsItsEvents)
{
    addCategory(s("Work"), "Work");
    addCategory(s("Sport"), "Sport");
    addEvent(s("Work"), s("Report"), QDate(2026, 12, 11), s("09:00"));
    EXPECT_TRUE(WriteCategoryRule(s("Work"), s("d"), 2, false));
    selectCategory(s("Work"));
    MsgBoxScript::Push(vbYes);
    popUp().mnuDelete_Click();

    EXPECT_EQ(messages().value(0), GetLangText(s("mes173")) + s(": \"Work\" ?"));
    EXPECT_EQ(MsgBoxScript::Log().value(0).buttons, 36);
    EXPECT_EQ(categoryRows(s("Work")), 0);
    EXPECT_EQ(RegKeyExists(CategoryRuleKey(s("Work"))), ReadResult::Missing);
    EXPECT_FALSE(QFile::exists(CategoryIconPath(s("Work"))));
    EXPECT_FALSE(categoryTexts().contains(s("Work")));
    EXPECT_FALSE(main().ImageList1.Contains(s("_Work")));
    EXPECT_EQ(rows("SELECT Measure_Name FROM lst_Dates").value(0).value(0).toString(), s("Work"));
    EXPECT_EQ(process().ListView1.Count(), 1);
    EXPECT_EQ(itemPicture(s("Sport")), picture(LoadPictureFile(ProgramIcon("Sport"))));
    EXPECT_EQ(itemPicture(s("Holidays")), picture(ResourceIcon(s("RES_3"))));
}

TEST_F(Categories, DeletingBuiltInTwoRemovesRowAndKeyAndTouchesNoFile)
{
    EXPECT_TRUE(SetOwnText(s("evn2"), s("Termine")));
    EXPECT_TRUE(WriteCategoryRule(s("Termine"), s("w"), 1, false));
    const QStringList iconsBefore = FileSystem::FileNames(CategoryIconFolder());
    selectCategory(s("Termine"));
    MsgBoxScript::Push(vbYes);
    popUp().mnuDelete_Click();
    EXPECT_EQ(categoryRows(s("Meetings")), 0);
    EXPECT_EQ(RegKeyExists(CategoryRuleKey(s("Termine"))), ReadResult::Missing);
    EXPECT_EQ(FileSystem::FileNames(CategoryIconFolder()), iconsBefore);
    EXPECT_EQ(categoryTexts(), (QStringList{s("Birthdays"), s("Holidays")}));
}

TEST_F(Categories, TheLastCategoryAndTheProtectedOneAreNeverDeleted)
{
    ASSERT_TRUE(db().Execute(s("DELETE FROM lst_Measures WHERE LVIcon_Path IN ('RES_2', 'RES_3')")).Ok());
    addCategory(s("Work"), "Work");
    selectCategory(s("Birthdays"));
    popUp().mnuDelete_Click();  // the menu item is disabled; the command itself refuses too
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes172"))});

    selectCategory(s("Work"));
    MsgBoxScript::Push(vbNo);
    popUp().mnuDelete_Click();
    EXPECT_EQ(categoryRows(s("Work")), 1);
    EXPECT_TRUE(QFile::exists(CategoryIconPath(s("Work"))));

    MsgBoxScript::Push(vbYes);
    popUp().mnuDelete_Click();
    EXPECT_EQ(categoryTexts(), QStringList{s("Birthdays")});
    MsgBoxScript::Clear();
    MsgBoxScript::SetAutomatic(true);
    EXPECT_TRUE(SetOwnText(s("evn1"), s("Renamed")));
    Forms::Unload<frmMain>();
    selectCategory(s("Renamed"));
    popUp().mnuDelete_Click();
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes171"))});
    EXPECT_EQ(categoryTexts(), QStringList{s("Renamed")});
}

TEST_F(Categories, ANameWithAnApostropheIsFoundAndAFileOutsideTheIconFolderIsLeftAlone)
{
    const QString outside = env.Root() + s("/elsewhere/O'Neil.ico");
    WriteFile(outside, ReadFile(ProgramIcon("Star")));
    ASSERT_TRUE(db().Execute(s("INSERT INTO lst_Measures (Measure_Name, LVIcon_Path) VALUES (?, ?)"),
                             {s("O'Neil"), outside})
                    .Ok());
    selectCategory(s("O'Neil"));
    MsgBoxScript::Push(vbYes);
    popUp().mnuDelete_Click();
    EXPECT_EQ(categoryRows(s("O'Neil")), 0);
    EXPECT_EQ(categoryTexts().size(), 3);
    EXPECT_TRUE(QFile::exists(outside));
}

TEST_F(Categories, ARefusedDeleteLeavesRowRuleIconAndEntryAndSaysSo)
{
    addCategory(s("Work"), "Work");
    EXPECT_TRUE(WriteCategoryRule(s("Work"), s("d"), 2, false));
    std::optional<FailingReads> failing;
    const QList<std::pair<const char*, std::function<void()>>> faults = {
        {"the row refused",
         [] {
             ASSERT_TRUE(db().Execute(s("CREATE TEMP TRIGGER refuse BEFORE DELETE ON main.lst_Measures BEGIN "
                                        "SELECT RAISE(ABORT, 'refused'); END"))
                             .Ok());
         }},
        {"the rule unreadable", [&] { failing.emplace(db(), "registry"); }},
    };
    for (const auto& [name, fault] : faults) {
        SCOPED_TRACE(name);
        MsgBoxScript::Clear();
        MsgBoxScript::SetAutomatic(true);
        fault();
        selectCategory(s("Work"));
        MsgBoxScript::Push(vbYes);
        popUp().mnuDelete_Click();
        failing.reset();
        ASSERT_TRUE(db().Execute(s("DROP TRIGGER IF EXISTS temp.refuse")).Ok());
        EXPECT_EQ(messages().value(1), GetLangText(s("mes378")));
        EXPECT_EQ(categoryRows(s("Work")), 1);
        EXPECT_EQ(rule(s("Work"), "NextType"), s("d"));
        EXPECT_TRUE(QFile::exists(CategoryIconPath(s("Work"))));
        EXPECT_TRUE(categoryTexts().contains(s("Work")));
        EXPECT_TRUE(main().ImageList1.Contains(s("_Work")));
    }
}

}  // namespace

// The style reads Qt's own toolbar pictures by their names in Qt's resources, in every
// direction and orientation; a name Qt no longer has would leave the button blank.
TEST(Pictures, QtsOwnToolbarExtensionPicturesAreFound)
{
    InstallStyle();
    for (const QStyle::StandardPixmap which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
        for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
            QStyleOption option;
            option.direction = direction;
            EXPECT_EQ(QApplication::style()->standardIcon(which, &option).availableSizes().size(), 3);
        }
    }
}

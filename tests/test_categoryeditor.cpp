// The category editor: its input rules, a new category, the edit of a category
// (picture, rule, rename) and the refusal of a taken name.

#include "test_mainwin_fixture.h"

#include "mainwin/frmIconAdd.h"
#include "mainwin/frmMainPopUp.h"
#include "core/FolderFileExists.h"
#include "platform/DatabaseCopy.h"
#include "platform/FileDialog.h"
#include "support/FailingReads.h"
#include "support/SaveCases.h"
#include "mainwin/CategoryRename.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

class CategoryEditor : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        addCategory(s("Work"), "Work");
        addCategory(s("Sport"), "Sport");
        main();
    }

    static frmIconAdd& editor() { return Forms::Get<frmIconAdd>(); }

    // Opens the editor on a category as the menu's settings command does; body runs
    // while it is shown.
    static void edit(const QString& shownName, const std::function<void(frmIconAdd&)>& body)
    {
        selectCategory(shownName);
        bool ran = false;
        whenModal([&] {
            ran = true;
            frmIconAdd& window = editor();
            body(window);
            if (Forms::IsLoaded<frmIconAdd>())
                window.Command1_Click();
        });
        Forms::Get<frmMainPopUp>().mnuOptions_Click();
        Forms::Unload<frmMainPopUp>();
        EXPECT_TRUE(ran);
    }

    static void chooseNewCategory(frmIconAdd& window, const QString& name, const char* picture)
    {
        window.Text1->setText(name);
        FileDialog::PushResult(ProgramIcon(picture));
        window.Command3_Click();
    }

    // Every file, key and row a save may touch, to show that a refusal left them alone.
    QString snapshot() const
    {
        QString state;
        for (const QString& name : FileSystem::FileNames(CategoryIconFolder()))
            state += name + s(":") + QString::number(qHash(ReadFile(CategoryIconFolder() + s("/") + name))) + s("\n");
        for (const QVariantList& row : rows("SELECT path, value FROM registry ORDER BY path"))
            state += row.value(0).toString() + s("=") + row.value(1).toString() + s("\n");
        for (const QVariantList& row : rows("SELECT * FROM lst_Measures"))
            state += row.value(0).toString() + s("|") + row.value(1).toString() + s("\n");
        for (const QVariantList& row : rows("SELECT Measure_Name, Step_Name FROM lst_Dates"))
            state += row.value(0).toString() + s("|") + row.value(1).toString() + s("\n");
        state += categoryTexts().join(s(","));
        for (const char* key : {"evn1", "evn2", "evn3"})
            state += s(",") + GetOwnText(s(key));
        return state;
    }
};

TEST_F(CategoryEditor, RefusedCharactersNeverStayTypedOrPasted)
{
    frmIconAdd& window = editor();
    window.Text1->clear();
    window.Text1->insert(s("a\\b:c?d<e|f/g*h>i'j\"k;l"));
    EXPECT_EQ(window.Text1->text(), s("abcdefghijkl"));
    window.Text1->setText(s("../../etc"));
    EXPECT_EQ(window.Text1->text(), s("....etc"));
    window.Text1->setText(s("_QM_"));
    EXPECT_TRUE(window.Text1->text().isEmpty());
}

TEST_F(CategoryEditor, StoredBuiltInNamesAreClearedExceptTheEditedCategorysOwn)
{
    EXPECT_TRUE(SetOwnText(s("evn2"), s("Termine")));
    Forms::Unload<frmMain>();
    main();
    editor().Text1->setText(s("Meetings"));
    EXPECT_TRUE(editor().Text1->text().isEmpty());
    Forms::Unload<frmIconAdd>();

    EXPECT_TRUE(SetOwnText(s("evn2"), s("Meetings")));
    Forms::Unload<frmMain>();
    main();
    edit(s("Meetings"), [](frmIconAdd& window) {
        EXPECT_EQ(window.Text1->text(), s("Meetings"));
        EXPECT_TRUE(window.Command2->isEnabled());
        EXPECT_FALSE(window.Command3->isEnabled());
        EXPECT_TRUE(window.Command2->isVisible());
        EXPECT_FALSE(window.Command0->isVisible());
    });
}

TEST_F(CategoryEditor, OkNeedsANameAndForANewCategoryAPicture)
{
    frmIconAdd& window = editor();
    EXPECT_EQ(window.Text1->text(), GetLangText(s("mes159")));
    EXPECT_FALSE(window.Command0->isEnabled());
    chooseNewCategory(window, s("Garden"), "Home");
    EXPECT_TRUE(window.Command0->isEnabled());
    EXPECT_EQ(window.Label10->text(), s("Home.ico"));
    EXPECT_EQ(window.Command3->text(), GetLangText(s("cmd13")));
    window.Text1->clear();
    EXPECT_FALSE(window.Command0->isEnabled());
    EXPECT_FALSE(window.Command2->isEnabled());
}

TEST_F(CategoryEditor, CountsStayWithinTheLimitsOfTheirUnit)
{
    frmIconAdd& window = editor();
    window.Option2->setChecked(true);
    window.Combo1->setCurrentIndex(4);
    EXPECT_TRUE(window.Text2->isEnabled());
    EXPECT_EQ(window.Combo2->currentIndex(), 3);
    window.Combo2->setCurrentIndex(4);
    window.Text2->setText(s("30"));
    EXPECT_EQ(window.Text2->text(), s("23"));
    EXPECT_EQ(window.Text2->selectedText(), s("23"));

    window.Combo2->setCurrentIndex(3);
    window.Text2->setText(s("45"));
    window.Combo2->setCurrentIndex(0);
    EXPECT_EQ(window.Text2->text(), s("9"));

    window.Text2->setText(s("4x"));
    EXPECT_EQ(window.Text2->text(), s("4"));
    window.Combo1->setCurrentIndex(2);
    EXPECT_EQ(window.Text2->text(), s("1"));
    EXPECT_FALSE(window.Text2->isEnabled());
    EXPECT_EQ(window.Combo2->currentIndex(), 2);

    window.Combo1->setCurrentIndex(4);
    window.Text2->setText(s("45"));
    window.Option1->setChecked(true);
    EXPECT_EQ(window.Combo1->currentIndex(), 0);
    EXPECT_FALSE(window.Combo1->isEnabled());
    EXPECT_EQ(window.Text2->text(), s("1"));
}

TEST_F(CategoryEditor, ANewCategoryGetsRowIconFileRuleAndListRow)
{
    bool ran = false;
    whenModal([&] {
        ran = true;
        frmIconAdd& window = editor();
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(window.Command0->isVisible());
        EXPECT_FALSE(window.Command2->isVisible());
        EXPECT_EQ(window.windowTitle(), GetLangText(s("mes156")));
        chooseNewCategory(window, s("Garden"), "Home");
        window.Option2->setChecked(true);
        window.Combo1->setCurrentIndex(4);
        window.Combo2->setCurrentIndex(5);
        window.Text2->setText(s("45"));
        window.Command0_Click();
    });
    frmIconAdd::ShowNew(&main());
    EXPECT_TRUE(ran);

    EXPECT_FALSE(Forms::IsLoaded<frmIconAdd>());
    const QList<QVariantList> row = rows("SELECT LVIcon_Path FROM lst_Measures WHERE Measure_Name = 'Garden'");
    ASSERT_EQ(row.size(), 1);
    EXPECT_EQ(row.at(0).at(0).toString(), CategoryIconPath(s("Garden")));
    EXPECT_EQ(ReadFile(CategoryIconPath(s("Garden"))), ReadFile(ProgramIcon("Home")));
    EXPECT_EQ(rule(s("Garden"), "NextType"), s("n"));
    EXPECT_EQ(rule(s("Garden"), "NextInterval"), s("45"));
    EXPECT_EQ(categoryTexts().last(), s("Garden"));
    EXPECT_TRUE(main().ImageList1.Contains(s("_Garden")));

    chooseNewCategory(editor(), s("Pond"), "Holiday");
    editor().Command0_Click();
    EXPECT_EQ(RegKeyExists(CategoryRuleKey(s("Pond"))), ReadResult::Missing);
}

TEST_F(CategoryEditor, ATakenNameIsRefusedBeforeAnythingChanges)
{
    EXPECT_TRUE(SetOwnText(s("evn3"), s("Feiertage")));  // a shown name that no row stores
    for (const char* taken : {"work", "MEETINGS", "FEIERTAGE", "holidays", "System", " Sport  "}) {
        const QString before = snapshot();
        chooseNewCategory(editor(), s(taken), "Home");
        editor().Command0_Click();
        EXPECT_EQ(messages().value(0), GetLangText(s("mes166"))) << taken;
        EXPECT_TRUE(Forms::IsLoaded<frmIconAdd>());
        EXPECT_EQ(snapshot(), before) << taken;
        Forms::Unload<frmIconAdd>();
        MsgBoxScript::Clear();
        MsgBoxScript::SetAutomatic(true);
    }
}

TEST_F(CategoryEditor, BlanksAtEitherEndAreDroppedButAStoredNameStandsUntilEdited)
{
    chooseNewCategory(editor(), s(" Mums days "), "Heart");
    editor().Command0_Click();
    EXPECT_EQ(rows("SELECT 1 FROM lst_Measures WHERE Measure_Name = 'Mums days'").size(), 1);
    EXPECT_TRUE(main().ImageList1.Contains(s("_Mums days")));

    // Names stored elsewhere that this editor would not make.
    for (const char* stored : {"Dad's day", "Gran day "}) {
        addCategory(s(stored), "Star");
        addEvent(s(stored), s("Visit"), QDate(2026, 12, 11));
        Forms::Unload<frmMain>();
        const QString iconFiles = FileSystem::FileNames(CategoryIconFolder()).join(s(","));
        edit(s(stored), [stored](frmIconAdd& window) {
            EXPECT_EQ(window.Text1->text(), s(stored));
            window.Option2->setChecked(true);
            window.Command2_Click();
        });
        EXPECT_EQ(rows("SELECT COUNT(*) FROM lst_Measures WHERE Measure_Name = ?", {s(stored)}).value(0).value(0), 1)
            << stored;
        EXPECT_EQ(rows("SELECT COUNT(*) FROM lst_Dates WHERE Measure_Name = ?", {s(stored)}).value(0).value(0), 1)
            << stored;
        EXPECT_EQ(FileSystem::FileNames(CategoryIconFolder()).join(s(",")), iconFiles) << stored;
        EXPECT_EQ(rule(s(stored), "NextType"), s("yyyy")) << stored;
        EXPECT_TRUE(categoryTexts().contains(s(stored))) << stored;
    }
}

TEST_F(CategoryEditor, ACountOfZeroIsRefusedOnTheSecondTab)
{
    frmIconAdd& window = editor();
    chooseNewCategory(window, s("Garden"), "Home");
    window.Option2->setChecked(true);
    window.Combo1->setCurrentIndex(4);
    window.Text2->setText(s("0"));
    window.tbsOptions->setCurrentIndex(0);
    window.Command0_Click();
    EXPECT_EQ(messages().value(0), GetLangText(s("mes165")));
    EXPECT_EQ(window.tbsOptions->currentIndex(), 1);
    EXPECT_TRUE(rows("SELECT 1 FROM lst_Measures WHERE Measure_Name = 'Garden'").isEmpty());
}

TEST_F(CategoryEditor, ANonPictureIsRefusedAndTheDialogOpensAgain)
{
    const QString text = env.Root() + s("/notes.ico");
    WriteFile(text, "plain text");
    frmIconAdd& window = editor();
    chooseNewCategory(window, s("Garden"), "Home");
    FileDialog::ClearForTests();
    FileDialog::PushResult(text);
    FileDialog::PushResult(QString());
    window.Command3_Click();
    EXPECT_EQ(messages().value(0), GetLangText(s("mes170a")) + s("\r\n") + GetLangText(s("mes170b")));
    EXPECT_EQ(FileDialog::AskedForTests().size(), 2);
    EXPECT_TRUE(window.PicturePath.isEmpty());
    EXPECT_TRUE(window.Label10->text().isEmpty());
    EXPECT_FALSE(window.Command0->isEnabled());

    chooseNewCategory(window, s("Garden"), "Star");
    FileDialog::PushResult(QString());
    window.Command3_Click();  // cancelled: the earlier choice stays
    EXPECT_EQ(window.Label10->text(), s("Star.ico"));
    EXPECT_TRUE(window.Command0->isEnabled());
}

TEST_F(CategoryEditor, TheStoredRuleIsReadBackIntoThePickers)
{
    edit(s("Work"), [](frmIconAdd& window) {
        EXPECT_TRUE(window.Option1->isChecked());
        EXPECT_EQ(window.tbsOptions->currentIndex(), 1);
        EXPECT_EQ(window.Command3->text(), GetLangText(s("cmd13")));
    });
    EXPECT_TRUE(WriteCategoryRule(s("Work"), s("d"), 1, false));
    edit(s("Work"), [](frmIconAdd& window) {
        EXPECT_TRUE(window.Option2->isChecked());
        EXPECT_EQ(window.Combo1->currentIndex(), 3);
        EXPECT_EQ(window.Text2->text(), s("1"));
    });
    EXPECT_TRUE(WriteCategoryRule(s("Work"), s("n"), 15, false));
    edit(s("Work"), [](frmIconAdd& window) {
        EXPECT_EQ(window.Combo1->currentIndex(), 4);
        EXPECT_EQ(window.Text2->text(), s("15"));
        EXPECT_EQ(window.Combo2->currentIndex(), 5);
    });
    EXPECT_TRUE(WriteCategoryRule(s("Work"), s("x"), 5, false));
    edit(s("Work"), [](frmIconAdd& window) { EXPECT_TRUE(window.Option1->isChecked()); });
    edit(s("Birthdays"), [](frmIconAdd& window) {
        EXPECT_FALSE(window.Text1->isEnabled());  // the protected category keeps its name
        EXPECT_EQ(window.Combo1->currentIndex(), 0);
    });
}

TEST_F(CategoryEditor, RenamingAUserCategoryCarriesFileKeyAndEvents)
{
    addEvent(s("Work"), s("Report"), QDate(2026, 12, 11), s("09:00"));
    addEvent(s("work"), s("Old row"), QDate(2026, 12, 12), s("09:00"));
    addEvent(s("Workshop"), s("Other category"), QDate(2026, 12, 13), s("09:00"));
    EXPECT_TRUE(WriteCategoryRule(s("Work"), s("w"), 1, false));
    const QByteArray icon = ReadFile(CategoryIconPath(s("Work")));
    edit(s("Work"), [](frmIconAdd& window) {
        window.Text1->setText(s("Office"));
        window.Command2_Click();
    });

    const QList<QVariantList> row = rows("SELECT LVIcon_Path FROM lst_Measures WHERE Measure_Name = 'Office'");
    ASSERT_EQ(row.size(), 1);
    EXPECT_EQ(row.at(0).at(0).toString(), CategoryIconPath(s("Office")));
    EXPECT_TRUE(rows("SELECT 1 FROM lst_Measures WHERE Measure_Name = 'Work'").isEmpty());
    EXPECT_FALSE(QFile::exists(CategoryIconPath(s("Work"))));
    EXPECT_EQ(ReadFile(CategoryIconPath(s("Office"))), icon);
    EXPECT_EQ(RegKeyExists(CategoryRuleKey(s("Work"))), ReadResult::Missing);
    EXPECT_EQ(rule(s("Office"), "NextType"), s("w"));
    EXPECT_EQ(rule(s("Office"), "NextInterval"), s("1"));
    QStringList categories;
    for (const QVariantList& event : rows("SELECT Measure_Name FROM lst_Dates ORDER BY Step_Numeric"))
        categories.append(event.at(0).toString());
    EXPECT_EQ(categories, (QStringList{s("Office"), s("Office"), s("Workshop")}));
    EXPECT_TRUE(categoryTexts().contains(s("Office")));
    EXPECT_TRUE(main().ImageList1.Contains(s("_Office")));
    EXPECT_FALSE(main().ImageList1.Contains(s("_Work")));
    EXPECT_EQ(process().ListView1.Item(1).category, s("Office"));
    EXPECT_EQ(main().Label1->text(), s("Office"));
}

TEST_F(CategoryEditor, ARenameToATakenNameChangesNothing)
{
    EXPECT_TRUE(WriteCategoryRule(s("Work"), s("d"), 3, false));
    addEvent(s("Work"), s("Report"), QDate(2026, 12, 11));
    const QString before = snapshot();
    for (const char* taken : {"SPORT", "birthdays", "meetings"}) {
        edit(s("Work"), [taken](frmIconAdd& window) {
            FileDialog::PushResult(ProgramIcon("Star"));
            window.Command3_Click();
            window.Text1->setText(s(taken));
            window.Command2_Click();
            EXPECT_TRUE(Forms::IsLoaded<frmIconAdd>()) << taken;
        });
        EXPECT_EQ(messages().value(0), GetLangText(s("mes166"))) << taken;
        EXPECT_EQ(snapshot(), before) << taken;
        MsgBoxScript::Clear();
        MsgBoxScript::SetAutomatic(true);
    }
    // A built-in category keeps its name in its own text, where no index guards it.
    edit(s("Holidays"), [](frmIconAdd& window) {
        window.Text1->setText(s("sport"));
        window.Command2_Click();
    });
    EXPECT_EQ(messages().value(0), GetLangText(s("mes166")));
    EXPECT_EQ(snapshot(), before);
}

TEST_F(CategoryEditor, RenamingBuiltInTwoChangesItsOwnTextAndMovesItsRuleOnly)
{
    EXPECT_TRUE(WriteCategoryRule(s("Meetings"), s("M"), 1, false));
    const QStringList iconsBefore = FileSystem::FileNames(CategoryIconFolder());
    edit(s("Meetings"), [](frmIconAdd& window) {
        window.Text1->setText(s("Appointments"));
        window.Command2_Click();
    });
    EXPECT_EQ(GetOwnText(s("evn2")), s("Appointments"));
    EXPECT_EQ(rows("SELECT 1 FROM lst_Measures WHERE Measure_Name = 'Meetings' AND LVIcon_Path = 'RES_2'").size(), 1);
    EXPECT_EQ(rule(s("Appointments"), "NextType"), s("M"));
    EXPECT_EQ(RegKeyExists(CategoryRuleKey(s("Meetings"))), ReadResult::Missing);
    EXPECT_EQ(FileSystem::FileNames(CategoryIconFolder()), iconsBefore);
    EXPECT_TRUE(categoryTexts().contains(s("Appointments")));
    EXPECT_TRUE(main().ImageList1.Contains(s("_Appointments")));
}

TEST_F(CategoryEditor, ANewPictureReplacesTheFileAndTheOwnFileIsKept)
{
    const QByteArray own = ReadFile(CategoryIconPath(s("Work")));
    edit(s("Work"), [](frmIconAdd& window) {
        FileDialog::PushResult(CategoryIconPath(s("Work")));
        window.Command3_Click();
        window.Command2_Click();
    });
    EXPECT_EQ(ReadFile(CategoryIconPath(s("Work"))), own);

    edit(s("Work"), [](frmIconAdd& window) {
        FileDialog::PushResult(ProgramIcon("Star"));
        window.Command3_Click();
        window.Command2_Click();
    });
    EXPECT_EQ(ReadFile(CategoryIconPath(s("Work"))), ReadFile(ProgramIcon("Star")));
    const QImage star = LoadPictureFile(ProgramIcon("Star")).pixmap(32, 32).toImage();
    EXPECT_EQ(main().ImageList1.Icon(s("_Work")).pixmap(32, 32).toImage(), star);
    EXPECT_EQ(main().ListView1->findItems(s("Work"), Qt::MatchExactly).value(0)->icon().pixmap(32, 32).toImage(),
              star);
}

TEST_F(CategoryEditor, SwitchingARuleOffKeepsACountOfZero)
{
    EXPECT_TRUE(WriteCategoryRule(s("Work"), s("d"), 2, false));
    edit(s("Work"), [](frmIconAdd& window) {
        window.Option1->setChecked(true);
        window.Command2_Click();
    });
    EXPECT_EQ(rule(s("Work"), "NextInterval"), s("0"));
    EXPECT_EQ(rule(s("Work"), "NextType"), s("<none>"));
}

// A save that fails at any of its steps changes nothing: not the icon files, the
// rows, the events, the rules or the own texts.
TEST_F(CategoryEditor, ASaveThatFailsAtAnyStepLeavesEveryStoreAsItWas)
{
    EXPECT_TRUE(WriteCategoryRule(s("Work"), s("d"), 3, false));
    EXPECT_TRUE(WriteCategoryRule(s("Meetings"), s("M"), 1, false));
    addEvent(s("Work"), s("Report"), QDate(2026, 12, 11));
    const auto saveNew = [] {
        chooseNewCategory(editor(), s("Garden"), "Home");
        editor().Option2->setChecked(true);
        editor().Command0_Click();
        EXPECT_TRUE(Forms::IsLoaded<frmIconAdd>());
        Forms::Unload<frmIconAdd>();
    };
    const auto saveEdited = [](const char* category, const char* newName, const char* picture, bool repeat = true) {
        return [=] {
            edit(s(category), [=](frmIconAdd& window) {
                if (picture) {
                    FileDialog::PushResult(ProgramIcon(picture));
                    window.Command3_Click();
                }
                window.Text1->setText(s(newName));
                (repeat ? window.Option2 : window.Option1)->setChecked(true);
                window.Command2_Click();
                EXPECT_TRUE(Forms::IsLoaded<frmIconAdd>());
            });
        };
    };
    const auto refuseRowWrites = [] {
        for (const char* when : {"INSERT", "UPDATE"})
            ASSERT_TRUE(db().Execute(s("CREATE TRIGGER refuse_") + s(when) + s(" BEFORE ") + s(when)
                                     + s(" ON lst_Measures BEGIN SELECT RAISE(ABORT, 'refused'); END"))
                            .Ok());
    };
    const auto refuseRuleWrites = [] {
        for (const char* when : {"INSERT", "UPDATE", "DELETE"})
            ASSERT_TRUE(db().Execute(s("CREATE TRIGGER refuse_") + s(when) + s(" BEFORE ") + s(when)
                                     + s(" ON registry BEGIN SELECT RAISE(ABORT, 'refused'); END"))
                            .Ok());
    };
    const auto failFileWrites = [] { FileSystem::SetAtomicWriteFailsBeforeRename(true); };
    // From the moment the editor is up: its opening reads the rule itself.
    std::optional<FailingReads> failing;
    const auto failRuleReads = [&] { QTimer::singleShot(0, qApp, [&] { failing.emplace(db(), "registry", "value"); }); };
    struct Case {
        const char* name;
        std::function<void()> save;
        std::function<void()> fault;
    };
    const QList<Case> cases = {
        {"new, icon file not written", saveNew, failFileWrites},
        {"new, row refused", saveNew, refuseRowWrites},
        {"new picture, file not written", saveEdited("Work", "Work", "Star"), failFileWrites},
        {"new picture, row refused", saveEdited("Work", "Work", "Star"), refuseRowWrites},
        {"rename, icon file not written", saveEdited("Work", "Office", nullptr), failFileWrites},
        {"rename, row refused", saveEdited("Work", "Office", nullptr), refuseRowWrites},
        {"new, rule refused", saveNew, refuseRuleWrites},
        {"new picture and rule, rule refused", saveEdited("Work", "Work", "Star"), refuseRuleWrites},
        {"rename, rule refused", saveEdited("Work", "Office", nullptr), refuseRuleWrites},
        {"built-in rename, rule refused", saveEdited("Meetings", "Appointments", nullptr), refuseRuleWrites},
        {"built-in rename, own text not written", saveEdited("Meetings", "Appointments", nullptr), failFileWrites},
        {"rule switched off, rule unreadable", saveEdited("Work", "Work", nullptr, false), failRuleReads},
        {"rename, rule unreadable", saveEdited("Work", "Office", nullptr), failRuleReads},
        {"built-in rename, rule unreadable", saveEdited("Meetings", "Appointments", nullptr), failRuleReads},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString before = snapshot();
        MsgBoxScript::Clear();
        MsgBoxScript::SetAutomatic(true);
        c.fault();
        c.save();
        failing.reset();
        FileSystem::SetAtomicWriteFailsBeforeRename(false);
        for (const char* when : {"INSERT", "UPDATE", "DELETE"})
            EXPECT_TRUE(db().Execute(s("DROP TRIGGER IF EXISTS refuse_") + s(when)).Ok());
        EXPECT_TRUE(messages().value(0).startsWith(GetLangText(s("mes65")))) << messages().join(s("|")).toStdString();
        EXPECT_EQ(snapshot(), before);
    }
}

// A rule that cannot be read would come up as none, and OK would switch it off.
TEST_F(CategoryEditor, ARuleThatCannotBeReadKeepsTheEditorClosed)
{
    EXPECT_TRUE(WriteCategoryRule(s("Work"), s("d"), 2, false));
    whenModal([] {
        if (frmIconAdd* window = Forms::Find<frmIconAdd>())
            window->Command2_Click();
    });
    selectCategory(s("Work"));
    {
        FailingReads failing(db(), "registry", "value", 2);
        Forms::Get<frmMainPopUp>().mnuOptions_Click();
        Forms::Unload<frmMainPopUp>();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes396"))});
    EXPECT_EQ(rule(s("Work"), "NextType"), s("d"));
    EXPECT_EQ(rule(s("Work"), "NextInterval"), s("2"));
}

// A kill after the commit that moved a built-in category's rule leaves its record and
// the old own text: no load of the list takes the moved rule for an orphan, and the
// start finishes the rename.
TEST_F(CategoryEditor, ABuiltInRenameCutShortKeepsItsRuleAndIsFinishedAtStart)
{
    EXPECT_TRUE(WriteCategoryRule(s("Meetings"), s("w"), 2, false));
    ASSERT_TRUE(CommitCategoryChange([] {
                    const DbResult recorded = RecordBuiltInRename({2, s("English"), s("Meetings"), s("Appointments")});
                    const bool moved = recorded.Ok() && MoveCategoryRule(s("Meetings"), s("Appointments"));
                    return moved ? recorded : DbResult::Failure(DbStatus::Error, s("not moved"));
                }).Ok());
    Forms::Unload<frmMain>();
    main();
    EXPECT_TRUE(categoryTexts().contains(s("Meetings")));
    EXPECT_EQ(rule(s("Appointments"), "NextType"), s("w"));
    Forms::Unload<frmMain>();

    FinishBuiltInRenames();
    main();
    EXPECT_EQ(GetOwnText(s("evn2")), s("Appointments"));
    EXPECT_TRUE(categoryTexts().contains(s("Appointments")));
    EXPECT_EQ(rule(s("Appointments"), "NextInterval"), s("2"));
    EXPECT_EQ(RegKeyExists(ProgramKey() + s("Renaming\\")), ReadResult::Missing);
}

}  // namespace

// The routines the crash harness's child runs, one a case, each acknowledged and
// leaving the stores in step, in folders set up as a first start leaves them.
TEST(SaveCases, EachCaseIsAcknowledgedAndLeavesTheStoresInStep)
{
    TestEnv env;
    CopyDataTree(env.InstallTree());
    LoadForSaveCases();
    const QString backup = env.Root() + s("/home/events.tssv");
    ASSERT_TRUE(DatabaseCopy::BackupTo(DataEnvironment1().Connection1, backup).Ok());
    const auto icon = [](const char* name) { return TestEnv::BuildShare() + s("/Icons/") + s(name) + s(".ico"); };
    const QList<std::pair<const char*, std::function<bool()>>> cases = {
        {"new", [&] { return SaveNewCategory(s("Garden"), icon("Home"), s("w"), 1); }},
        {"new picture", [&] { return SaveEditedCategory(s("Garden"), s("Garden"), icon("Star"), s("d"), 2); }},
        {"rename", [] { return SaveEditedCategory(s("Garden"), s("Office"), QString(), s("n"), 45); }},
        {"built-in rename", [] { return SaveEditedCategory(s("Meetings"), s("Appointments"), QString(), s("M"), 1); }},
        {"delete", [] { return DeleteCategory(s("Office")); }},
        {"built-in delete", [] { return DeleteCategory(s("Appointments")); }},
        {"restore", [&] { return RestoreBackup(backup); }},
    };
    for (const auto& [name, save] : cases) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(save());
        EXPECT_EQ(CategoryStoreFaults(), QStringList());
        for (const MsgBoxScript::Shown& shown : MsgBoxScript::Log())
            EXPECT_TRUE(shown.buttons == 36 || shown.buttons == 64) << shown.text.toStdString();  // no warning
        MsgBoxScript::Clear();
    }
}


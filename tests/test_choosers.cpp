// The two chooser dialogs: the event chooser of the main window's toolbar (quick
// reminder, planner, new category) and the reminder-settings chooser of the
// planner. The chooser that unloads the main window is driven by a real click on
// the main window's toolbar; the AddressSanitizer build runs this file too.

#include "test_event_fixture.h"

#include "events/frmMesSelect.h"
#include "events/frmOptions.h"
#include "events/frmSetSelect.h"
#include "mainwin/frmIconAdd.h"
#include "mainwin/frmMainPopUp.h"
#include "platform/Criteria.h"
#include "platform/DateField.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimeEdit>
#include <QToolBar>

namespace {

class Choosers : public EventWindowTest {
protected:
    void SetUp() override
    {
        EventWindowTest::SetUp();
        addCategory(s("Work"));
        addCategory(s("Sport"));
        main().ShowModeless();
        main().Move(2250, 1350);
    }

    static void choose(ChooserControls& chooser, int option)
    {
        chooser.Option1[option]->setChecked(true);
        chooser.cmdOK->click();
    }
};

TEST_F(Choosers, TheEventChooserOffersItsFourChoices)
{
    bool seen = false;
    whenShown<frmMesSelect>([&](frmMesSelect& chooser) {
        seen = true;
        EXPECT_EQ(chooser.windowTitle(), GetLangText(s("mes1")));
        EXPECT_EQ(chooser.tbsOptions->count(), 1);
        EXPECT_EQ(chooser.tbsOptions->tabText(0), GetLangText(s("mes1")));
        EXPECT_EQ(chooser.Frame1->title(), GetLangText(s("mes187")) + s(":"));
        ASSERT_EQ(chooser.Option1.size(), 4);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(chooser.Option1[i]->text(), GetLangText(QStringLiteral("opt%1").arg(15 + i)));
        EXPECT_TRUE(chooser.Option1[0]->isChecked());
        EXPECT_TRUE(chooser.Option1[2]->isEnabled());
        EXPECT_EQ(chooser.tbsOptions->tabBar()->focusPolicy(), Qt::NoFocus);
        EXPECT_EQ(chooser.parentWidget(), &main());
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&chooser, &escape);
    });
    EXPECT_TRUE(main().ToolbarButton(2)->isEnabled());
    main().ToolbarButton(2)->trigger();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(Forms::IsLoaded<frmMesSelect>());
    EXPECT_FALSE(Forms::IsLoaded<frmMesAdd>());
    EXPECT_FALSE(Forms::IsLoaded<frmOrg>());
}

TEST_F(Choosers, AQuickReminderIsSavedUnderItsOwnCategoryWithoutEntries)
{
    whenShown<frmMesSelect>([](frmMesSelect& chooser) { choose(chooser, 0); });
    whenShown<frmMesAdd>([](frmMesAdd& editor) {
        EXPECT_EQ(editor.windowTitle(), GetLangText(s("mes188")));
        EXPECT_TRUE(editor.IsQuickReminder());
        EXPECT_EQ(editor.tbsOptions->count(), 1);
        EXPECT_FALSE(editor.tbsOptions->tabBar()->isVisible());
        EXPECT_TRUE(editor.Command2->isHidden());
        EXPECT_EQ(editor.Command0->x(), Px(3000));
        EXPECT_EQ(editor.Command1->x(), Px(4440));
        EXPECT_TRUE(editor.Check1->isChecked());
        EXPECT_TRUE(editor.DTPicker2->isEnabled());
        EXPECT_EQ(editor.DTPicker1->date(), Now().date());
        EXPECT_EQ(editor.DTPicker2->time(), Now().time());
        EXPECT_EQ(editor.parentWidget(), &main());
        editor.Text1->setText(s("Call the garage"));
        editor.DTPicker2->setTime(QTime(16, 0));
        editor.Command0->click();
    });
    clickToolbarButton(2);
    const QList<Row> rows = stored();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].category, s("_QM_"));
    EXPECT_EQ(rows[0].date, Now().date());
    EXPECT_EQ(rows[0].time.toString(), s("16:00"));
    EXPECT_EQ(advance(rows[0].id), s("<none>"));
    EXPECT_EQ(ruleType(rows[0].id), s("<none>"));
    EXPECT_EQ(DataEnvironment1().rsCommand3.State(), 0);
    EXPECT_EQ(process().ListView1.Count(), 1);
}

TEST_F(Choosers, ThePlannerChoiceUnloadsTheMainWindowAndOpensOnItsFirstCategory)
{
    selectCategory(s("Work"));
    const QString first = main().ListView1->item(0)->text();
    whenShown<frmMesSelect>([](frmMesSelect& chooser) { choose(chooser, 1); });
    QPointer<frmMain> mainWindow(&main());
    clickToolbarButton(2);
    // The main window goes once its toolbar's click is over, never under it.
    EXPECT_TRUE(mainWindow);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(mainWindow);
    pump(50);
    EXPECT_FALSE(Forms::IsLoaded<frmMain>());
    ASSERT_TRUE(Forms::IsLoaded<frmOrg>());
    frmOrg& planner = Forms::Get<frmOrg>();
    EXPECT_TRUE(planner.isVisible());
    EXPECT_EQ(planner.Combo1->currentIndex(), 0);
    EXPECT_EQ(planner.Label1->text(), first);
    EXPECT_EQ(planner.Combo1->count(), 5);
    EXPECT_EQ(planner.Left(), 2250);
    EXPECT_EQ(planner.Top(), 1350);
    EXPECT_EQ(process().PositionHandOffLeft, 0);
    EXPECT_EQ(DataEnvironment1().rsCommand3.Filter(),
              s("Measure_Name = ") + Criteria::Quote(process().BuiltInMeasure1));
}

TEST_F(Choosers, TheNewCategoryChoiceOpensTheCategoryEditorForANewOne)
{
    bool seen = false;
    whenShown<frmMesSelect>([](frmMesSelect& chooser) { choose(chooser, 3); });
    whenShown<frmIconAdd>([&](frmIconAdd& editor) {
        seen = true;
        EXPECT_FALSE(editor.Command0->isHidden());
        EXPECT_TRUE(editor.Command2->isHidden());
        EXPECT_EQ(editor.parentWidget(), &main());
        editor.Command1->click();
    });
    main().ToolbarButton(2)->trigger();
    EXPECT_TRUE(seen);
    EXPECT_TRUE(Forms::IsLoaded<frmMain>());
    EXPECT_FALSE(Forms::IsLoaded<frmOrg>());
}

TEST_F(Choosers, TheSettingsChooserOpensTheRepeatRuleOfThePlannersCategory)
{
    selectCategory(s("Sport"));
    main().ListView1_DblClick();
    frmOrg& planner = Forms::Get<frmOrg>();
    planner.SelectCategory(planner.Combo1->findText(s("Work")));
    planner.Form_Activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(Forms::IsLoaded<frmMain>());

    bool seen = false;
    whenShown<frmSetSelect>([&](frmSetSelect& chooser) {
        EXPECT_EQ(chooser.windowTitle(), GetLangText(s("mes253")));
        ASSERT_EQ(chooser.Option1.size(), 2);
        EXPECT_EQ(chooser.Option1[0]->text(), GetLangText(s("opt19")));
        EXPECT_EQ(chooser.Option1[1]->text(), GetLangText(s("opt17")));
        EXPECT_TRUE(chooser.Option1[1]->isEnabled());
        EXPECT_EQ(chooser.parentWidget(), &planner);
        choose(chooser, 0);
    });
    whenShown<frmIconAdd>([&](frmIconAdd& editor) {
        seen = true;
        EXPECT_EQ(editor.Text1->text(), s("Work"));
        EXPECT_FALSE(editor.Command2->isHidden());
        editor.Command1->click();
    });
    planner.ToolbarButton(10)->trigger();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(Forms::IsLoaded<frmSetSelect>());
    EXPECT_FALSE(Forms::IsLoaded<frmMainPopUp>());
    EXPECT_TRUE(Forms::IsLoaded<frmOrg>());
}

TEST_F(Choosers, CancellingTheSettingsChooserDoesNothing)
{
    selectCategory(s("Work"));
    main().ListView1_DblClick();
    frmOrg& planner = Forms::Get<frmOrg>();
    whenShown<frmSetSelect>([](frmSetSelect& chooser) { chooser.cmdCancel->click(); });
    planner.ToolbarButton(10)->trigger();
    EXPECT_FALSE(Forms::IsLoaded<frmSetSelect>());
    EXPECT_FALSE(Forms::IsLoaded<frmIconAdd>());
}

}  // namespace

TEST_F(Choosers, BothChoosersOpenTheReminderOptionsOverTheirOwner)
{
    bool seen = false;
    whenShown<frmMesSelect>([](frmMesSelect& chooser) { choose(chooser, 2); });
    whenShown<frmOptions>([&](frmOptions& options) {
        seen = true;
        EXPECT_EQ(options.parentWidget(), &main());
        options.close();
    });
    main().ToolbarButton(2)->trigger();
    EXPECT_TRUE(seen);

    selectCategory(s("Sport"));
    main().ListView1_DblClick();
    frmOrg& planner = Forms::Get<frmOrg>();
    seen = false;
    whenShown<frmSetSelect>([](frmSetSelect& chooser) { choose(chooser, 1); });
    whenShown<frmOptions>([&](frmOptions& options) {
        seen = true;
        EXPECT_EQ(options.parentWidget(), &planner);
        options.close();
    });
    planner.ToolbarButton(10)->trigger();
    EXPECT_TRUE(seen);
}

// The planner: opening it from the main window, its category filter, cell edits,
// deletion with the registry entries, sorting, wheel scrolling and closing.

#include "test_event_fixture.h"

#include "core/WindowHelpers.h"
#include "events/PlannerGridModel.h"
#include "platform/FileSystem.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTableView>
#include <QWheelEvent>

namespace {

class Planner : public EventWindowTest {
protected:
    // Opens the planner as a double click on the main window's list does.
    frmOrg& open(const QString& shownName)
    {
        main().ShowModeless();
        main().Move(1500, 900);
        selectCategory(shownName);
        main().ListView1_DblClick();
        return Forms::Get<frmOrg>();
    }

    static QStringList titles()
    {
        const PlannerGridModel* model = Forms::Get<frmOrg>().GridModel;
        QStringList result;
        for (int row = 0; row < model->rowCount(); ++row)
            result.append(model->index(row, 1).data().toString());
        return result;
    }

    static bool edit(int row, int column, const QString& text)
    {
        PlannerGridModel* model = Forms::Get<frmOrg>().GridModel;
        return model->setData(model->index(row, column), text, Qt::EditRole);
    }

    static QByteArray databaseBytes() { return ReadFile(DataEnvironment1().Connection1.Path()); }
};

TEST_F(Planner, ItListsExactlyTheChosenCategoryInAnyLetterCase)
{
    for (const char* name : {"Work", "Workshop", "O'Brien", "50%", "50 percent", "A*"})
        addCategory(s(name));
    addEvent(s("Work"), s("Report"), QDate(2026, 12, 11));
    addEvent(s("WORK"), s("Shouted"), QDate(2026, 12, 12));
    addEvent(s("Workshop"), s("Lathe"), QDate(2026, 12, 13));
    addEvent(s("O'Brien"), s("Pint"), QDate(2026, 12, 14));
    addEvent(s("50%"), s("Half"), QDate(2026, 12, 15));
    addEvent(s("50 percent"), s("Also half"), QDate(2026, 12, 16));
    addEvent(s("A*"), s("Star"), QDate(2026, 12, 17));
    addEvent(s("AB"), s("Not a star"), QDate(2026, 12, 18));

    frmOrg& planner = open(s("Work"));
    EXPECT_EQ(titles(), (QStringList{s("Report"), s("Shouted")}));
    EXPECT_EQ(planner.Label1->text(), s("Work"));
    // The chooser lists the main window's categories in its order.
    ASSERT_EQ(planner.Combo1->count(), main().ListView1->count());
    for (int row = 0; row < planner.Combo1->count(); ++row)
        EXPECT_EQ(planner.Combo1->itemText(row), main().ListView1->item(row)->text());

    const struct {
        const char* category;
        QStringList titles;
    } cases[] = {{"Workshop", {s("Lathe")}},
                 {"O'Brien", {s("Pint")}},
                 {"50%", {s("Half")}},
                 {"A*", {s("Star")}}};
    for (const auto& c : cases) {
        planner.SelectCategory(planner.Combo1->findText(s(c.category)));
        EXPECT_EQ(titles(), c.titles) << c.category;
        EXPECT_EQ(planner.Label1->text(), s(c.category));
    }
}

TEST_F(Planner, ABuiltInCategoryIsFilteredByItsStoredName)
{
    ASSERT_TRUE(SetOwnText(s("evn2"), s("Appointments")));
    addEvent(s("Meetings"), s("Board"), QDate(2026, 12, 11));
    addEvent(s("Appointments"), s("Not this one"), QDate(2026, 12, 12));
    frmOrg& planner = open(s("Appointments"));
    EXPECT_EQ(planner.ChosenStoredName(), s("Meetings"));
    EXPECT_EQ(titles(), QStringList{s("Board")});
}

TEST_F(Planner, OpeningTakesTheMainWindowsPlaceAndBackGivesItBack)
{
    addCategory(s("Work"));
    frmOrg& planner = open(s("Work"));
    EXPECT_TRUE(planner.isVisible());
    EXPECT_EQ(planner.Left(), 1500);
    EXPECT_EQ(planner.Top(), 900);
    EXPECT_EQ(process().PositionHandOffLeft, 0);
    EXPECT_EQ(planner.windowTitle(), s("Tessaryn v.3.30 - [") + GetLangText(s("mes218")) + s("]"));
    planner.Form_Activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Forms::IsLoaded<frmMain>());

    planner.Move(2100, 1200);
    planner.ToolbarButton(2)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Forms::IsLoaded<frmOrg>());
    ASSERT_TRUE(Forms::IsLoaded<frmMain>());
    EXPECT_TRUE(main().isVisible());
    main().Form_Activate();
    EXPECT_EQ(main().Left(), 2100);
    EXPECT_EQ(main().Top(), 1200);
    EXPECT_EQ(DataEnvironment1().rsCommand3.State(), 0);
    EXPECT_TRUE(DataEnvironment1().rsCommand3.Filter().isEmpty());
}

TEST_F(Planner, TheTitleBarsCloseLeavesOnlyTheTrayAndEnterOpensWithoutAHandOff)
{
    addCategory(s("Work"));
    main().ShowModeless();
    main().Move(3000, 600);
    selectCategory(s("Work"));
    process().PositionHandOffLeft = 0;
    main().ListView1_KeyPress(13);
    frmOrg& planner = Forms::Get<frmOrg>();
    EXPECT_EQ(planner.Left(), 3000);
    EXPECT_EQ(planner.Top(), 600);
    planner.Form_Activate();
    planner.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Forms::IsLoaded<frmOrg>());
    EXPECT_FALSE(Forms::IsLoaded<frmMain>());
}

TEST_F(Planner, CellEditsWriteThroughAndRefusedOnesLeaveTheFileAlone)
{
    addCategory(s("Work"));
    const qint64 id = addRow(s("Work"), s("Report"), QDate(2026, 12, 11), s("10:00"));
    open(s("Work"));

    EXPECT_TRUE(edit(0, 1, s("Quarterly report")));
    EXPECT_TRUE(edit(0, 2, s("2027-01-04")));
    EXPECT_TRUE(edit(0, 3, s("9:05")));
    EXPECT_TRUE(edit(0, 4, s("Slides")));
    Row row = stored().value(0);
    EXPECT_EQ(row.id, id);
    EXPECT_EQ(row.title, s("Quarterly report"));
    EXPECT_EQ(row.date, QDate(2027, 1, 4));
    EXPECT_EQ(row.time.toString(), s("09:05"));
    EXPECT_EQ(row.notes.toString(), s("Slides"));
    // Every committed edit refreshes the dispatcher.
    EXPECT_EQ(process().ListView1.Item(1).title, s("Quarterly report"));
    EXPECT_EQ(Forms::Get<frmOrg>().GridModel->index(0, 3).data().toString(), s("9:05"));

    const QByteArray before = databaseBytes();
    const struct {
        int column;
        const char* text;
        const char* message;
    } refused[] = {{1, "", "mes222"}, {2, "", "mes223"}, {2, "31/31/2027", "mes66"}, {3, "25:70", "mes66"}};
    for (const auto& r : refused) {
        MsgBoxScript::Clear();
        MsgBoxScript::SetAutomatic(true);
        EXPECT_FALSE(edit(0, r.column, s(r.text))) << r.column;
        pump(20);
        EXPECT_EQ(messages(), QStringList{GetLangText(s(r.message))}) << r.column;
    }
    EXPECT_EQ(databaseBytes(), before);
    EXPECT_EQ(stored().value(0).title, s("Quarterly report"));

    EXPECT_TRUE(edit(0, 3, s("")));
    EXPECT_TRUE(stored().value(0).time.isNull());
    EXPECT_EQ(Forms::Get<frmOrg>().GridModel->index(0, 3).data().toString(), s(""));
}

TEST_F(Planner, DeletingAnEventRemovesItsRowAndThenItsEntries)
{
    addCategory(s("Work"));
    const qint64 first = addRow(s("Work"), s("Report"), QDate(2026, 12, 11), s("09:50"));
    const qint64 second = addRow(s("Work"), s("Review"), QDate(2026, 12, 12));
    for (qint64 id : {first, second}) {
        ASSERT_TRUE(RegWrite(InAdvanceValuePath(id), s("1")));
        ASSERT_TRUE(RegWrite(SpecialKeyPath(id) + s("NextType"), s("d")));
        ASSERT_TRUE(RegWrite(SpecialKeyPath(id) + s("NextInterval"), s("1")));
    }
    frmOrg& planner = open(s("Work"));
    planner.DataGrid1->setCurrentIndex(planner.GridModel->index(1, 1));

    MsgBoxScript::Push(vbNo);
    planner.DeleteEvent();
    EXPECT_EQ(stored().size(), 2);
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_EQ(MsgBoxScript::Log()[0].text, GetLangText(s("mes225")) + s(" \"Review\" ?"));

    planner.ToolbarButton(6)->trigger();
    ASSERT_EQ(stored().size(), 1);
    EXPECT_EQ(stored()[0].id, first);
    EXPECT_EQ(advance(second), s("<none>"));
    EXPECT_EQ(ruleType(second), s("<none>"));
    EXPECT_EQ(RegKeyExists(SpecialKeyPath(second)), ReadResult::Missing);
    EXPECT_EQ(advance(first), s("1"));
    EXPECT_EQ(ruleType(first), s("d"));
    EXPECT_EQ(process().ListView1.Count(), 1);

    // A row without entries is deleted all the same.
    ASSERT_TRUE(WriteEntries(RemoveEventEntries(first)).Ok());
    planner.DeleteEvent();
    EXPECT_TRUE(stored().isEmpty());
    MsgBoxScript::Clear();
    MsgBoxScript::SetAutomatic(true);
    planner.DeleteEvent();
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes224"))});
}

TEST_F(Planner, OnlyTheTitleAndDateHeadersSort)
{
    addCategory(s("Work"));
    addEvent(s("Work"), s("Beta"), QDate(2026, 12, 11));
    addEvent(s("Work"), s("Alpha"), QDate(2026, 12, 13));
    addEvent(s("Work"), s("Gamma"), QDate(2026, 12, 12));
    frmOrg& planner = open(s("Work"));
    planner.DataGrid1->horizontalHeader()->sectionClicked(3);
    EXPECT_EQ(titles(), (QStringList{s("Beta"), s("Alpha"), s("Gamma")}));
    planner.DataGrid1->horizontalHeader()->sectionClicked(1);
    EXPECT_EQ(titles(), (QStringList{s("Alpha"), s("Beta"), s("Gamma")}));
    planner.DataGrid1_HeadClick(2);
    EXPECT_EQ(titles(), (QStringList{s("Beta"), s("Gamma"), s("Alpha")}));
    EXPECT_EQ(DataEnvironment1().rsCommand3.Sort(), s("Step_Date"));
}

TEST_F(Planner, TheWheelScrollsTheGridByWholeNotches)
{
    addCategory(s("Work"));
    for (int day = 1; day <= 40; ++day)
        addEvent(s("Work"), QStringLiteral("Event %1").arg(day), QDate(2027, 1, 1).addDays(day));
    frmOrg& planner = open(s("Work"));
    pump(50);
    QScrollBar* bar = planner.DataGrid1->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 2);
    const int start = bar->value();
    const QPointF at(20, 20);
    auto wheel = [&](int delta) {
        QWheelEvent event(at, planner.DataGrid1->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(planner.DataGrid1->viewport(), &event);
    };
    wheel(-40);
    wheel(-40);
    EXPECT_EQ(bar->value(), start);
    wheel(-40);
    EXPECT_EQ(bar->value(), start + 1);
    wheel(-120);
    EXPECT_EQ(bar->value(), start + 2);
}

}  // namespace

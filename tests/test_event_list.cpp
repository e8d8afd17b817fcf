// The dispatcher's list kept row by row through every action that writes events:
// after each, the list, the earliest event, the panels and the nearest event are
// what a refresh from the whole table gives.
#include "test_event_fixture.h"

#include "core/MeasureNames.h"
#include "events/frmCaseMsr.h"
#include "events/frmWindow.h"
#include "mainwin/frmIconAdd.h"
#include "mainwin/frmMainPopUp.h"
#include "phonebook/frmCntAdd.h"
#include "platform/DateField.h"
#include "platform/WindowEffects.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>
#include <QTimeEdit>

namespace {

struct ListState {
    QList<DispatcherRow> rows;
    NextDueRecord next;
    QString nextTitle;
    QStringList panels;
    QStringList nearest;  // the main window's category, moment and title
};

class EventList : public EventWindowTest {
protected:
    QString Language() const override { return s("Russian"); }

    void SetUp() override
    {
        EventWindowTest::SetUp();
        FormTransparent::SetOpacitySupportedForTests(true);
        addCategory(s("Work"));
        addCategory(s("Sport"), "Sport");
        generateRows();
        process().DateRefresh();
    }

    void TearDown() override
    {
        EventWindowTest::TearDown();
        FormTransparent::SetOpacitySupportedForTests(std::nullopt);
    }

    // Rows of every kind a table holds: built-in, user, quick and orphaned
    // categories in any letter case, times in each stored form or none, ties of
    // moment, dates that are no dates, comments or none, snoozed copies. The
    // earliest is a snoozed copy at 15:00:40 today, which a new event at 15:00 ties.
    static void generateRows()
    {
        const char* const categories[] = {"Work", "Meetings", "_QM_", "Birthdays", "Gone", "work", "Sport"};
        const QVariant times[] = {QVariant(), s("09:05"), s("9:05"), s("09:05:40"), s("7:30 PM"), s("23:59"), s("")};
        ASSERT_TRUE(db().BeginTrans().Ok());
        ASSERT_TRUE(db().Execute(s("INSERT INTO lst_Dates (Measure_Name, Step_Name, Step_Date, Step_Time, Step_Rep) "
                                   "VALUES ('Work', 'Tie', '2026-12-10', '15:00:40', 1)"))
                        .Ok());
        for (int i = 0; i < 240; ++i) {
            const QString date = i % 37 == 5 ? s("no date") : QDate(2026, 12, 11).addDays(i % 29).toString(Qt::ISODate);
            ASSERT_TRUE(db().Execute(s("INSERT INTO lst_Dates (Measure_Name, Step_Name, Step_Date, Step_Time, "
                                       "Step_Notes, Step_Rep) VALUES (?, ?, ?, ?, ?, ?)"),
                                     {s(categories[i % 7]), s("Event %1").arg(i % 50), date, times[i % 7],
                                      i % 3 ? QVariant() : QVariant(s("note %1").arg(i)), i % 11 == 0})
                            .Ok());
        }
        ASSERT_TRUE(db().CommitTrans().Ok());
    }

    static ListState state()
    {
        ListState state;
        const DispatcherList& list = process().ListView1;
        for (int item = 1; item <= list.Count(); ++item)
            state.rows.append(list.Item(item));
        state.next = process().NextDue;
        state.nextTitle = process().NextEventTitle;
        for (int panel = 1; panel <= 6; ++panel)
            state.panels.append(process().Panel(panel));
        state.nearest = {main().Label1->text(), main().Label2->text(), main().Label19->text()};
        return state;
    }

    static void expectSame(const ListState& kept, const ListState& full, const char* action)
    {
        ASSERT_EQ(kept.rows.size(), full.rows.size()) << action;
        for (qsizetype i = 0; i < kept.rows.size(); ++i) {
            const DispatcherRow& a = kept.rows[i];
            const DispatcherRow& b = full.rows[i];
            EXPECT_EQ(a.id, b.id) << action << " item " << i + 1;
            EXPECT_EQ(a.category, b.category) << action << " id " << b.id;
            EXPECT_EQ(a.title, b.title) << action << " id " << b.id;
            EXPECT_EQ(a.comment, b.comment) << action << " id " << b.id;
            EXPECT_EQ(a.date, b.date) << action << " id " << b.id;
            EXPECT_EQ(a.time, b.time) << action << " id " << b.id;
            EXPECT_EQ(a.oneOff, b.oneOff) << action << " id " << b.id;
        }
        EXPECT_EQ(kept.next.item, full.next.item) << action;
        EXPECT_EQ(kept.next.date, full.next.date) << action;
        EXPECT_EQ(kept.next.time, full.next.time) << action;
        EXPECT_EQ(kept.nextTitle, full.nextTitle) << action;
        EXPECT_EQ(kept.panels, full.panels) << action;
        EXPECT_EQ(kept.nearest, full.nearest) << action;
    }

    static frmOrg& openPlanner(const QString& shownName)
    {
        main().ShowModeless();
        selectCategory(shownName);
        main().ListView1_DblClick();
        frmOrg& planner = Forms::Get<frmOrg>();
        planner.DataGrid1->setCurrentIndex(planner.GridModel->index(1, 1));
        return planner;
    }

    static void editCategory(const QString& shownName, const QString& newName)
    {
        selectCategory(shownName);
        whenModal([newName] {
            frmIconAdd& window = Forms::Get<frmIconAdd>();
            window.Text1->setText(newName);
            window.Command2_Click();
        });
        Forms::Get<frmMainPopUp>().mnuOptions_Click();
        Forms::Unload<frmMainPopUp>();
    }

    // The dispatcher's tick at a moment that makes the earliest row due.
    static frmWindow& fireEarliest()
    {
        Clock::SetFixed({process().NextDue.date.addDays(1), QTime(12, 0)});
        process().Timer1_Timer();
        frmWindow* window = Forms::Find<frmWindow>();
        EXPECT_TRUE(window && window->isVisible());
        return *window;
    }

    static void newEvent(const QString& title, void (frmMesAdd::*save)())
    {
        frmMesAdd& editor = Forms::Get<frmMesAdd>();
        editor.SetCategory(s("Work"), s("Work"));
        editor.Text1->setText(title);
        editor.DTPicker1->setDate(QDate(2026, 12, 10));
        editor.Check1->setChecked(true);
        editor.DTPicker2->setTime(QTime(15, 30));
        editor.Option2->setChecked(true);
        SelectEntry(editor.Combo1, 2);
        (editor.*save)();
        Forms::Unload<frmMesAdd>();
    }

    static void editPlannerRow()
    {
        frmOrg& planner = openPlanner(s("Work"));
        whenShown<frmMesAdd>([](frmMesAdd& editor) {
            editor.Text1->setText(s("Edited"));
            editor.DTPicker1->setDate(QDate(2026, 12, 11));
            editor.Command3_Click();
            if (Forms::IsLoaded<frmMesAdd>())
                Forms::Unload<frmMesAdd>();
        });
        planner.EditEvent();
        Forms::Unload<frmOrg>();
    }

    static void saveBirthday()
    {
        frmCntAdd& card = Forms::Get<frmCntAdd>();
        card.Text1Name->setText(s("Petrova"));
        card.Text2Name->setText(s("Anna"));
        card.Check1->setChecked(true);
        card.TextDate->setDate(QDate(1980, 1, 2));
        card.Command1_Click();
        Forms::Unload<frmCntAdd>();
    }
};

TEST_F(EventList, EveryActionThatWritesEventsKeepsTheListAFullRefreshGives)
{
    const struct {
        const char* action;
        std::function<void()> run;
    } actions[] = {
        {"the editor's OK with a notice", [] { newEvent(s("Early call"), &frmMesAdd::Command0_Click); }},
        {"the editor's Add of a title taken",
         [] {
             MsgBoxScript::Push(vbYes);
             newEvent(s("Event 7"), &frmMesAdd::Command2_Click);
         }},
        {"the editor's OK on a planner row", editPlannerRow},
        {"a planner cell edit",
         [] {
             frmOrg& planner = openPlanner(s("Work"));
             EXPECT_TRUE(planner.GridModel->setData(planner.GridModel->index(2, 2), s("2026-11-30"), Qt::EditRole));
             EXPECT_TRUE(planner.GridModel->setData(planner.GridModel->index(3, 3), s("6:15"), Qt::EditRole));
             Forms::Unload<frmOrg>();
         }},
        {"a planner delete",
         [] {
             frmOrg& planner = openPlanner(s("Work"));
             MsgBoxScript::Push(vbYes);
             planner.DeleteEvent();
             Forms::Unload<frmOrg>();
         }},
        {"a reminder's close", [] { fireEarliest().close(); }},
        {"a reminder's snooze", [] { fireEarliest().Command1_Click(2); }},
        {"the contact card's birthday reminder, at the next refresh",
         [] {
             saveBirthday();
             process().DateRefreshChanged();
         }},
        {"the contact-date reminder, at the next refresh",
         [] {
             frmCaseMsr& dialog = Forms::Get<frmCaseMsr>();
             dialog.Surname = s("Ivanov");
             dialog.GivenName = s("Ivan");
             dialog.Anniversary = QDate(2027, 6, 1);
             dialog.Command1_Click();
             process().DateRefreshChanged();
         }},
        {"a user category's rename", [] { editCategory(s("Work"), s("Office")); }},
        {"a built-in category's rename", [] { editCategory(s("Встречи"), s("Собрания")); }},
        {"a category's delete",
         [] {
             selectCategory(s("Sport"));
             MsgBoxScript::Push(vbYes);
             Forms::Get<frmMainPopUp>().mnuDelete_Click();
         }},
    };
    for (const auto& step : actions) {
        MsgBoxScript::Clear();
        step.run();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const ListState kept = state();
        process().DateRefresh();
        const ListState full = state();
        expectSame(kept, full, step.action);
        // The categories as the table names them, shown as every reader shows them.
        const QList<QVariantList> stored = rows("SELECT Measure_Name FROM lst_Dates ORDER BY Step_Numeric");
        ASSERT_EQ(stored.size(), full.rows.size()) << step.action;
        for (qsizetype i = 0; i < stored.size(); ++i)
            EXPECT_EQ(full.rows[i].category, ShownMeasureName(stored[i].value(0).toString())) << step.action;
    }
}

}  // namespace

// The planner's Edit and New: the current row shown in the editor at the event's
// own moment with its own rule, the edit save, and a new event of the category.

#include "test_event_fixture.h"

#include "platform/DateField.h"
#include "support/FailingReads.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimeEdit>

namespace {

class PlannerEdit : public EventWindowTest {
protected:
    void SetUp() override
    {
        EventWindowTest::SetUp();
        addCategory(s("Work"));
    }

    frmOrg& open()
    {
        main().ShowModeless();
        selectCategory(s("Work"));
        main().ListView1_DblClick();
        return Forms::Get<frmOrg>();
    }

    static void select(frmOrg& planner, qint64 id)
    {
        for (int row = 0; row < planner.GridModel->rowCount(); ++row) {
            if (DataEnvironment1().rsCommand3.IdAt(row) == id)
                planner.DataGrid1->setCurrentIndex(planner.GridModel->index(row, 1));
        }
        ASSERT_EQ(DataEnvironment1().rsCommand3.CurrentId(), id);
    }

    static void rule(qint64 id, const char* type, const char* count)
    {
        if (type) {
            ASSERT_TRUE(RegWrite(SpecialKeyPath(id) + s("NextType"), s(type)));
        }
        if (count) {
            ASSERT_TRUE(RegWrite(SpecialKeyPath(id) + s("NextInterval"), s(count)));
        }
    }

    // What the editor shows for a row: date, time (null when Time is not ticked),
    // advance index (-1 at the set time) and rule (mode, count, unit; mode -1 none).
    struct Shown {
        QDate date;
        QTime time;
        int advance = -1;
        int mode = -1;
        QString count;
        int unit = -1;
    };

    static Shown shown(const frmMesAdd& editor)
    {
        Shown result;
        result.date = editor.DTPicker1->date();
        if (editor.Check1->isChecked())
            result.time = editor.DTPicker2->time();
        if (editor.Option2->isChecked())
            result.advance = editor.Combo1->currentIndex();
        if (editor.Check3->isChecked()) {
            result.mode = editor.Combo2->currentIndex();
            result.count = editor.Text2->text();
            result.unit = editor.Combo3->currentIndex();
        }
        return result;
    }

    static Shown at(const QDate& date, const QTime& time, int advance = -1, int mode = -1,
                    const QString& count = QString(), int unit = -1)
    {
        return {date, time, advance, mode, count, unit};
    }

    // Opens the editor on the row and hands what it shows to check; the editor is
    // then closed by its Cancel, or by act when one is given.
    static void editRow(frmOrg& planner, qint64 id, std::function<void(frmMesAdd&)> check)
    {
        select(planner, id);
        whenModal([check] {
            frmMesAdd& editor = Forms::Get<frmMesAdd>();
            check(editor);
            if (Forms::IsLoaded<frmMesAdd>() && editor.isVisible())
                editor.Command1->click();
        });
        planner.EditEvent();
    }
};

TEST_F(PlannerEdit, AnEventShownAheadOpensAtItsOwnMomentWithItsOwnRuleAndSavesBack)
{
    const qint64 id = addRow(s("Work"), s("Dentist"), QDate(2026, 12, 20), s("08:50"));
    ASSERT_TRUE(RegWrite(InAdvanceValuePath(id), s("1")));
    rule(id, "w", "3");
    frmOrg& planner = open();
    editRow(planner, id, [&](frmMesAdd& editor) {
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(editor.parentWidget(), &planner);
        EXPECT_EQ(editor.Text1->text(), s("Dentist"));
        const Shown seen = shown(editor);
        EXPECT_EQ(seen.date, QDate(2026, 12, 20));
        EXPECT_EQ(seen.time, QTime(9, 0));
        EXPECT_EQ(seen.advance, 1);
        EXPECT_EQ(seen.mode, 4);
        EXPECT_EQ(seen.count, s("3"));
        EXPECT_EQ(seen.unit, 2);
        EXPECT_TRUE(editor.Check2->isHidden());
        EXPECT_TRUE(editor.Command0->isHidden());
        EXPECT_TRUE(editor.Command2->isHidden());
        EXPECT_FALSE(editor.Command3->isHidden());
        EXPECT_EQ(editor.Command3->x(), Px(3000));
        EXPECT_EQ(editor.Command1->x(), Px(4440));
        EXPECT_EQ(editor.windowTitle(), s("Dentist"));
        editor.DTPicker2->setTime(QTime(10, 0));
        editor.Command3->click();
    });
    EXPECT_FALSE(Forms::IsLoaded<frmMesAdd>());
    const Row row = stored().value(0);
    EXPECT_EQ(row.id, id);
    EXPECT_EQ(row.date, QDate(2026, 12, 20));
    EXPECT_EQ(row.time.toString(), s("09:50"));
    EXPECT_EQ(row.category, s("Work"));
    EXPECT_EQ(advance(id), s("1"));
    EXPECT_EQ(ruleType(id), s("w"));
    EXPECT_EQ(ruleCount(id), s("3"));
    EXPECT_EQ(process().ListView1.Item(1).time, QTime(9, 50));
}

TEST_F(PlannerEdit, StoredMomentsAndRulesReadBackAsTheEditorShowsThem)
{
    struct Case {
        const char* title;
        QDate date;
        QVariant time;
        const char* code;
        const char* type;
        const char* count;
        Shown expected;
    };
    const QDate day(2027, 2, 28);
    const Case cases[] = {
        {"midnight", day, s("00:00"), nullptr, nullptr, nullptr, at(day, QTime(0, 0))},
        {"no time", day, QVariant(), nullptr, nullptr, nullptr, at(day, QTime())},
        {"5 min before midnight", day, s("23:55"), "0", nullptr, nullptr, at(QDate(2027, 3, 1), QTime(0, 0), 0)},
        {"5 min same day", day, s("23:54"), "0", nullptr, nullptr, at(day, QTime(23, 59), 0)},
        {"hour", day, s("23:10"), "3", nullptr, nullptr, at(QDate(2027, 3, 1), QTime(0, 10), 3)},
        {"day no time", day, QVariant(), "4", nullptr, nullptr, at(QDate(2027, 3, 1), QTime(), 4)},
        {"weekly", day, QVariant(), nullptr, "w", "1", at(day, QTime(), -1, 2, s("1"), 2)},
        {"hourly", day, QVariant(), nullptr, "h", "1", at(day, QTime(), -1, 4, s("1"), 4)},
        {"15 minutes", day, QVariant(), nullptr, "n", "15", at(day, QTime(), -1, 4, s("15"), 5)},
        {"count 0", day, QVariant(), nullptr, "d", "0", at(day, QTime())},
        {"unknown unit", day, QVariant(), nullptr, "m", "2", at(day, QTime())},
        {"type only", day, QVariant(), nullptr, "d", nullptr, at(day, QTime())},
    };
    QList<qint64> ids;
    for (const Case& c : cases) {
        const qint64 id = addRow(s("Work"), s(c.title), c.date, c.time);
        if (c.code) {
            ASSERT_TRUE(RegWrite(InAdvanceValuePath(id), s(c.code)));
        }
        rule(id, c.type, c.count);
        ids.append(id);
    }
    frmOrg& planner = open();
    for (int i = 0; i < ids.size(); ++i) {
        const Case& c = cases[i];
        editRow(planner, ids[i], [&](frmMesAdd& editor) {
            const Shown seen = shown(editor);
            EXPECT_EQ(seen.date, c.expected.date) << c.title;
            EXPECT_EQ(seen.time, c.expected.time) << c.title;
            EXPECT_EQ(seen.advance, c.expected.advance) << c.title;
            EXPECT_EQ(seen.mode, c.expected.mode) << c.title;
            if (c.expected.mode >= 0) {
                EXPECT_EQ(seen.count, c.expected.count) << c.title;
                EXPECT_EQ(seen.unit, c.expected.unit) << c.title;
            }
        });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(stored().size(), ids.size());
}

TEST_F(PlannerEdit, AnEditCanDropTheTimeTheAdvanceAndTheRuleAndKeepsCategoryAndFlag)
{
    const qint64 id = addRow(s("Work"), s("Gym"), QDate(2026, 12, 21), s("17:30"));
    ASSERT_TRUE(db().Execute(s("UPDATE lst_Dates SET Step_Rep = 1 WHERE Step_Numeric = ?"), {id}).Ok());
    ASSERT_TRUE(RegWrite(InAdvanceValuePath(id), s("2")));
    rule(id, "d", "2");
    frmOrg& planner = open();
    editRow(planner, id, [](frmMesAdd& editor) {
        editor.Check1->setChecked(false);
        editor.Option1->setChecked(true);
        editor.Check3->setChecked(false);
        editor.Text3->setPlainText(QString());
        editor.Command3->click();
    });
    const Row row = stored().value(0);
    EXPECT_EQ(row.date, QDate(2026, 12, 21));
    EXPECT_TRUE(row.time.isNull());
    EXPECT_EQ(row.notes.toString(), s(""));
    EXPECT_EQ(row.category, s("Work"));
    EXPECT_TRUE(row.oneOff);
    EXPECT_EQ(advance(id), s("<none>"));
    EXPECT_EQ(RegKeyExists(SpecialKeyPath(id)), ReadResult::Missing);
}

TEST_F(PlannerEdit, AnEditWhoseEntriesCannotBeWrittenPutsTheRowBack)
{
    const qint64 id = addRow(s("Work"), s("Gym"), QDate(2026, 12, 21), s("17:30"));
    frmOrg& planner = open();
    editRow(planner, id, [](frmMesAdd& editor) {
        editor.Text1->setText(s("Swimming"));
        editor.Check3->setChecked(true);
        refuseRegistryChanges(true);
        editor.Command3->click();
        refuseRegistryChanges(false);
        EXPECT_TRUE(Forms::IsLoaded<frmMesAdd>());
        EXPECT_EQ(editor.Text1->text(), s("Swimming"));
    });
    const Row row = stored().value(0);
    EXPECT_EQ(row.title, s("Gym"));
    EXPECT_EQ(row.time.toString(), s("17:30"));
    EXPECT_EQ(ruleType(id), s("<none>"));
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes327"))});
}

// A rule or notice that cannot be read would open as none, and OK would delete it.
TEST_F(PlannerEdit, AnEventWhoseEntriesCannotBeReadIsNotOpened)
{
    const qint64 id = addRow(s("Work"), s("Gym"), QDate(2026, 12, 21), s("17:20"));
    ASSERT_TRUE(RegWrite(InAdvanceValuePath(id), s("1")));
    rule(id, "w", "1");
    frmOrg& planner = open();
    select(planner, id);
    whenModal([] {
        if (frmMesAdd* editor = Forms::Find<frmMesAdd>())
            editor->Command3->click();
    });
    {
        FailingReads failing(db(), "registry", "value", 2);
        planner.EditEvent();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes396"))});
    EXPECT_FALSE(Forms::IsLoaded<frmMesAdd>());
    EXPECT_EQ(ruleType(id), s("w"));
    EXPECT_EQ(advance(id), s("1"));
}

TEST_F(PlannerEdit, AnEmptyViewHasNothingToEdit)
{
    frmOrg& planner = open();
    planner.ToolbarButton(8)->trigger();
    EXPECT_EQ(messages(), QStringList{GetLangText(s("mes295"))});
    EXPECT_FALSE(Forms::IsLoaded<frmMesAdd>());
}

TEST_F(PlannerEdit, NewMakesAnEventOfThePlannersCategory)
{
    frmOrg& planner = open();
    whenModal([] {
        frmMesAdd& editor = Forms::Get<frmMesAdd>();
        EXPECT_EQ(editor.DTPicker1->date(), Now().date());
        EXPECT_EQ(editor.DTPicker2->time(), Now().time());
        EXPECT_FALSE(editor.Command0->isHidden());
        editor.Text1->setText(s("Call Bob"));
        editor.DTPicker1->setDate(QDate(2026, 12, 11));
        editor.Command0->click();
    });
    planner.ToolbarButton(4)->trigger();
    ASSERT_EQ(stored().size(), 1);
    EXPECT_EQ(stored()[0].category, s("Work"));
    EXPECT_EQ(planner.GridModel->rowCount(), 1);
    EXPECT_EQ(planner.GridModel->index(0, 1).data().toString(), s("Call Bob"));
}

}  // namespace

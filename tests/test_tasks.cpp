// The task list: the row-height rule, opening and closing in the main window's
// place, adding, marking and deleting tasks (each stored at once, each refusal of
// the database shown), sorting and tasks with missing values.

#include "test_tasks_fixture.h"

#include "core/BusSettings.h"
#include "core/Fatal.h"
#include "core/Formats.h"
#include "platform/DateField.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>

namespace {

class TaskList : public TaskListTest {
protected:
    static void press(QWidget* widget, int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }

    static QStringList storedTexts()
    {
        QStringList texts;
        for (const Task& task : storedTasks())
            texts.append(task.text.toString());
        return texts;
    }
};

TEST(TaskRowHeight, GridAndSliderReadTheStoredText)
{
    const struct {
        const char* stored;
        int pixels;
        int slider;
    } cases[] = {
        {"", 16, 1},    {"abc", 16, 1}, {"0", 16, 1},   {"1", 16, 1},  {"1.5", 48, 2},  {"2", 32, 2},
        {" 2", 32, 2},  {"2.5", 48, 2}, {"3", 48, 3},   {"7", 48, 3},  {"-1", 48, 1},
        {"99999999999999999999", 48, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RowHeightPixels(RowHeightUnits(s(c.stored))), c.pixels) << c.stored;
        EXPECT_EQ(RowHeightSliderPosition(s(c.stored)), c.slider) << c.stored;
    }
}

TEST_F(TaskList, ItTakesTheMainWindowsPlaceAndBackGivesItBack)
{
    addTask(QDate(2026, 12, 9), s("Buy bread"));
    frmBus& tasks = open();
    EXPECT_TRUE(tasks.isVisible());
    EXPECT_EQ(tasks.Left(), 1500);
    EXPECT_EQ(tasks.Top(), 900);
    EXPECT_EQ(process().PositionHandOffLeft, 0);
    EXPECT_EQ(tasks.windowTitle(), s("Tessaryn v.3.30 - [") + GetLangText(s("mes57")) + s("]"));
    EXPECT_EQ(tasks.Text1->text(), GetLangText(s("mes59")));
    EXPECT_EQ(tasks.DTPicker1->date(), QDate(2026, 12, 10));
    const char* const buttons[][2] = {{"2", "mnu10"}, {"4", "mnu11"}, {"6", "mnu12"}, {"8", "mnu13"}, {"10", "mnu14"}};
    for (const auto& button : buttons)
        EXPECT_EQ(tasks.ToolbarButton(s(button[0]).toInt())->text(), GetLangText(s(button[1])));
    const QStringList headers = {GetLangText(s("mes61")), GetLangText(s("mes62")), GetLangText(s("mes63")), s("ID")};
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(tasks.GridModel->headerData(column, Qt::Horizontal).toString(), headers[column]);
    EXPECT_EQ(shown(), QStringList{DateText(QDate(2026, 12, 9)) + s("|Buy bread|Not done")});
    tasks.Form_Activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Forms::IsLoaded<frmMain>());

    tasks.Move(2100, 1200);
    tasks.ToolbarButton(2)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Forms::IsLoaded<frmBus>());
    ASSERT_TRUE(Forms::IsLoaded<frmMain>());
    EXPECT_TRUE(main().isVisible());
    main().Form_Activate();
    EXPECT_EQ(main().Left(), 2100);
    EXPECT_EQ(main().Top(), 1200);
    EXPECT_EQ(DataEnvironment1().rstbl_Business.State(), 0);

    // The title bar's close leaves only the tray.
    open().Form_Activate();
    list().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Forms::IsLoaded<frmBus>());
    EXPECT_FALSE(Forms::IsLoaded<frmMain>());
    EXPECT_EQ(process().PositionHandOffLeft, 0);
}

TEST_F(TaskList, AddStoresTheTextAsTypedUnderThePickersDate)
{
    frmBus& tasks = open();
    const QString prompt = GetLangText(s("mes59"));
    tasks.Command1->click();  // untouched: the prompt is a task
    tasks.Text1->setText(s("   "));
    tasks.DTPicker1->setDate(QDate(2020, 2, 29));
    tasks.AddTask();
    EXPECT_TRUE(tasks.Text1->text().isEmpty());
    EXPECT_EQ(tasks.focusWidget(), tasks.Text1);

    // Enter in the box moves on to the picker, Enter there adds what the picker
    // makes of the typed text.
    tasks.Text1->setText(s("Call Anna"));
    press(tasks.Text1, Qt::Key_Return);
    EXPECT_EQ(tasks.focusWidget(), tasks.DTPicker1);
    tasks.DTPicker1->setText(s("2027/3/1"));
    press(tasks.DTPicker1, Qt::Key_Enter);

    const QList<Task> stored = storedTasks();
    ASSERT_EQ(stored.size(), 3);
    EXPECT_EQ(stored[0].text.toString(), prompt);
    EXPECT_EQ(stored[0].date.toString(), s("2026-12-10"));
    EXPECT_EQ(stored[1].text.toString(), s("   "));
    EXPECT_EQ(stored[1].date.toString(), s("2020-02-29"));
    EXPECT_EQ(stored[2].text.toString(), s("Call Anna"));
    EXPECT_EQ(stored[2].date.toString(), s("2027-03-01"));
    EXPECT_EQ(stored[2].status.toLongLong(), 0);
    EXPECT_EQ(selectedId(), stored[2].id);
    EXPECT_TRUE(messages().isEmpty());

    // Refused before anything is stored: an empty text, a text that is no date.
    tasks.Text1->clear();
    tasks.AddTask();
    EXPECT_EQ(tasks.focusWidget(), tasks.Text1);
    tasks.Text1->setText(s("Pay rent"));
    tasks.DTPicker1->setText(s("31/31/"));
    tasks.Command1->click();
    EXPECT_EQ(tasks.focusWidget(), tasks.DTPicker1);
    EXPECT_EQ(messages(), (QStringList{GetLangText(s("mes64")), GetLangText(s("mes66"))}));
    EXPECT_EQ(storedTasks().size(), 3);
    EXPECT_EQ(tasks.Text1->text(), s("Pay rent"));
}

TEST_F(TaskList, DoneAndNotDoneAreStoredAtOnceAndOutliveAnAbruptEnd)
{
    frmBus& tasks = open();
    tasks.ToolbarButton(8)->trigger();
    tasks.ToolbarButton(10)->trigger();
    tasks.ToolbarButton(4)->trigger();
    EXPECT_EQ(messages(),
              (QStringList{GetLangText(s("mes68")), GetLangText(s("mes68")), GetLangText(s("mes69"))}));
    Forms::Unload(&tasks);

    const qint64 first = addTask(QDate(2026, 12, 1), s("First"));
    const qint64 second = addTask(QDate(2026, 12, 2), s("Second"));
    open();
    select(second);
    list().ToolbarButton(8)->trigger();
    EXPECT_EQ(storedStatus(second).toLongLong(), 1);
    EXPECT_EQ(cell(1, 2), s("Done"));
    list().ToolbarButton(10)->trigger();
    EXPECT_EQ(storedStatus(second).toLongLong(), 0);
    EXPECT_EQ(storedStatus(first).toLongLong(), 0);

    // The tray's Exit ends the process at once, right after the tick.
    select(first);
    EXPECT_EXIT(
        {
            list().SetTaskStatus(true);
            EndProcess(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(storedStatus(first).toLongLong(), 1);
}

TEST_F(TaskList, UnderASortTheCommandsKeepActingOnTheSameTask)
{
    const qint64 a = addTask(QDate(2026, 12, 3), s("a"));
    const qint64 b = addTask(QDate(2026, 12, 1), s("b"), true);
    const qint64 c = addTask(QDate(2026, 12, 2), s("c"));
    open();
    for (int column : {2, 0}) {
        list().DataGrid1_HeadClick(column);
        for (qint64 id : {a, b, c}) {
            select(id);
            list().SetTaskStatus(true);
            EXPECT_EQ(selectedId(), id) << column;
            list().SetTaskStatus(false);
            EXPECT_EQ(selectedId(), id) << column;
            EXPECT_EQ(storedStatus(id).toLongLong(), 0) << column;
        }
    }
}

TEST_F(TaskList, HeaderClicksSortByTheBareFieldNameAndIdDoesNothing)
{
    addTask(QDate(2026, 12, 3), s("b"), true);
    addTask(QDate(2026, 12, 1), s("c"));
    addTask(QDate(2026, 12, 2), s("A"));
    open();
    const Recordset& rs = DataEnvironment1().rstbl_Business;
    const struct {
        int column;
        const char* sort;
        QStringList texts;
    } cases[] = {{1, "bsn_Text", {s("A"), s("b"), s("c")}},
                 {3, "bsn_Text", {s("A"), s("b"), s("c")}},
                 {0, "bsn_Date", {s("c"), s("A"), s("b")}},
                 {2, "bsn_Status", {s("c"), s("A"), s("b")}}};
    for (const auto& c : cases) {
        list().DataGrid1->horizontalHeader()->sectionClicked(c.column);
        EXPECT_EQ(rs.Sort(), s(c.sort)) << c.column;
        QStringList texts;
        for (int row = 0; row < 3; ++row)
            texts.append(cell(row, 1));
        EXPECT_EQ(texts, c.texts) << c.column;
    }
}

TEST_F(TaskList, AfterADeletionTheRowThatTookItsPlaceIsCurrent)
{
    const qint64 a = addTask(QDate(2026, 12, 4), s("a"));
    const qint64 b = addTask(QDate(2026, 12, 3), s("b"));
    const qint64 c = addTask(QDate(2026, 12, 2), s("c"));
    const qint64 d = addTask(QDate(2026, 12, 1), s("d"));
    open();
    list().DataGrid1_HeadClick(0);  // d c b a

    select(c);  // the middle: b slides into its place
    list().ToolbarButton(4)->trigger();
    EXPECT_EQ(selectedId(), b);
    select(a);  // the end: the one before it
    list().DeleteTask();
    EXPECT_EQ(selectedId(), b);

    // The grid's Delete key asks first; No keeps the row.
    MsgBoxScript::Push(vbNo);
    press(list().DataGrid1, Qt::Key_Delete);
    EXPECT_EQ(selectedId(), b);
    MsgBoxScript::Push(vbYes);
    press(list().DataGrid1, Qt::Key_Delete);
    EXPECT_EQ(selectedId(), d);
    ASSERT_EQ(MsgBoxScript::Log().size(), 2);
    EXPECT_EQ(MsgBoxScript::Log()[0].text, GetLangText(s("mes67")));
    EXPECT_EQ(MsgBoxScript::Log()[0].buttons, 36);

    list().DeleteTask();  // the only row
    EXPECT_EQ(list().GridModel->rowCount(), 0);
    EXPECT_EQ(selectedId(), 0);
    list().SetTaskStatus(true);
    EXPECT_EQ(messages().last(), GetLangText(s("mes68")));
    EXPECT_TRUE(storedTasks().isEmpty());
}

TEST_F(TaskList, WhatTheDatabaseRefusesIsShownAndNotPretended)
{
    const qint64 a = addTask(QDate(2026, 12, 1), s("a"));
    const qint64 b = addTask(QDate(2026, 12, 2), s("b"));
    refuse("UPDATE");
    refuse("DELETE");
    refuse("INSERT");
    open();
    select(b);
    list().SetTaskStatus(true);
    EXPECT_EQ(cell(1, 2), s("Not done"));
    EXPECT_EQ(selectedId(), b);
    list().DeleteTask();
    EXPECT_EQ(list().GridModel->rowCount(), 2);
    EXPECT_EQ(selectedId(), b);
    EXPECT_EQ(messages(), (QStringList{GetLangText(s("mes66")), GetLangText(s("mes66"))}));

    list().Text1->setText(s("c"));
    list().AddTask();
    ASSERT_EQ(messages().size(), 3);
    // The database's words, without the statement.
    EXPECT_EQ(messages().last(), GetLangText(s("mes65")) + s(": refused by the test"));
    // The list is open again with what is stored, laid out as before, and goes on working.
    EXPECT_EQ(DataEnvironment1().rstbl_Business.State(), 1);
    const QHeaderView* header = list().DataGrid1->horizontalHeader();
    EXPECT_EQ(header->sectionSize(0), Px(1800));
    EXPECT_EQ(header->sectionResizeMode(1), QHeaderView::Stretch);
    EXPECT_EQ(header->sectionSize(2), Px(1800));
    EXPECT_EQ(header->sectionSize(3), Px(900));
    EXPECT_EQ(list().GridModel->rowCount(), 2);
    EXPECT_EQ(selectedId(), a);
    ASSERT_TRUE(tasksDb().Execute(s("DROP TRIGGER refuse_UPDATE")).Ok());
    list().SetTaskStatus(true);
    EXPECT_EQ(storedStatus(a).toLongLong(), 1);
    EXPECT_EQ(storedTasks().size(), 2);
}

TEST_F(TaskList, MissingOrUnreadableValuesShowEmptyAndCanBeMarkedAndDeleted)
{
    addTask(QVariant(), QVariant(), QVariant());
    addTask(s("soon"), s("odd"), s("maybe"));
    const qint64 fine = addTask(QDate(2026, 12, 1), s("fine"), true);
    open();
    EXPECT_EQ(shown(), (QStringList{s("||Error"), s("|odd|Error"), DateText(QDate(2026, 12, 1)) + s("|fine|Done")}));
    for (int column : {0, 1, 2}) {
        list().DataGrid1_HeadClick(column);
        EXPECT_EQ(list().GridModel->rowCount(), 3);
    }
    list().DataGrid1_HeadClick(0);  // no dates first
    const qint64 empty = idAt(0);
    select(empty);
    list().SetTaskStatus(true);
    EXPECT_EQ(storedStatus(empty).toLongLong(), 1);
    list().DeleteTask();
    list().DeleteTask();
    EXPECT_EQ(storedTasks().size(), 1);
    EXPECT_EQ(selectedId(), fine);
    EXPECT_TRUE(messages().isEmpty());
}

}  // namespace

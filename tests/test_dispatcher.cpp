#include "core/DataEnvironment.h"
#include "core/Fatal.h"
#include "core/Formats.h"
#include "core/IconBaloonTray.h"
#include "core/NewVersion.h"
#include "core/Options.h"
#include "core/SourceText.h"
#include "core/XMLParser.h"
#include "core/frmProcess.h"
#include "events/frmWindow.h"
#include "mainwin/frmMain.h"
#include "platform/Clock.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "platform/TrayIcon.h"
#include "support/HttpServer.h"
#include "support/TestEnv.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QKeyEvent>
#include <QApplication>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>

namespace {

class Dispatcher : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.PrepareUser();
        process().BuiltInMeasure1 = s("Birthdays");
    }

    static frmProcess& process() { return Forms::Get<frmProcess>(); }

    // Adds an event row straight to the events table; a null date or time is stored as NULL.
    static void addEvent(const char* category, const char* title, const QDate& date, const QVariant& time,
                         bool oneOff = false)
    {
        Connection& db = DataEnvironment1().Connection1;
        if (db.State() == 0) {
            ASSERT_TRUE(db.Open().Ok());
        }
        ASSERT_TRUE(db.Execute(s("INSERT INTO lst_Dates (Measure_Name, Step_Name, Step_Date, Step_Time, "
                                 "Step_Notes, Step_Rep) VALUES (?, ?, ?, ?, ?, ?)"),
                               {s(category), s(title), date.isValid() ? QVariant(date.toString(Qt::ISODate)) : QVariant(),
                                time, QVariant(), oneOff})
                        .Ok());
    }

    TestEnv env;
};

QDateTime at(int y, int m, int d, int h, int min, int sec = 0) { return {QDate(y, m, d), QTime(h, min, sec)}; }

}  // namespace

TEST_F(Dispatcher, EarliestIsByDateThenMinuteWithFirstOfEqualsAndNoTimeAsMidnight)
{
    addEvent("Work", "later", QDate(2026, 12, 10), s("09:05"));
    addEvent("Work", "midnight", QDate(2026, 12, 10), QVariant());
    addEvent("Work", "same minute", QDate(2026, 12, 10), s("00:00:40"));
    addEvent("Birthdays", "next day", QDate(2026, 12, 11), s("08:00"));
    process().DateRefresh();
    EXPECT_EQ(process().ListView1.Count(), 4);
    EXPECT_EQ(process().NextDue.item, 2);
    EXPECT_EQ(process().NextEventTitle, s("midnight"));
    EXPECT_EQ(process().Panel(3), s("2"));
    EXPECT_EQ(process().Panel(1), GetLangText(s("mes238")) + s(": 4"));
    EXPECT_EQ(process().ListView1.Item(4).category, GetOwnText(s("evn1")));
    EXPECT_EQ(process().ListView1.Item(1).time, QTime(9, 5));
}

// At start the list is read before the main window has listed the categories: a
// built-in category's events must still carry its shown name, by which the reminder
// finds the category's picture and repeat rule.
TEST_F(Dispatcher, TheFirstRefreshShowsBuiltInCategoriesUnderTheirOwnTexts)
{
    process().LanguageName = s("Russian");
    process().BuiltInMeasure1.clear();
    addEvent("Birthdays", "Anna", QDate(2026, 12, 11), s("08:00"));
    process().DateRefresh();
    EXPECT_EQ(process().ListView1.Item(1).category, s("Дни рождения"));
}

TEST_F(Dispatcher, OverdueRowsAreCandidatesAndUndatedRowsNever)
{
    addEvent("Work", "undated", QDate(), s("08:00"));
    addEvent("Work", "tomorrow", QDate(2026, 12, 10), s("08:00"));
    addEvent("Work", "last year", QDate(2025, 12, 10), s("23:59"), true);
    process().DateRefresh();
    EXPECT_EQ(process().ListView1.Count(), 3);
    EXPECT_EQ(process().NextDue.item, 3);
    EXPECT_TRUE(process().ListView1.Item(3).oneOff);
}

TEST_F(Dispatcher, NothingCanFallDueWhenNoRowHasADate)
{
    addEvent("Work", "undated", QDate(), QVariant());
    process().NextDue = {1, QDate(2026, 1, 1), QTime(1, 0)};
    process().DateRefresh();
    EXPECT_EQ(process().NextDue.item, 0);
    EXPECT_FALSE(IsDue(process().NextDue, at(2027, 1, 1, 0, 0)));
}

TEST_F(Dispatcher, EmptyTableClearsTheListAndShowsTheEmptyPanel)
{
    process().SetPanel(3, s("7"));
    process().DateRefresh();
    EXPECT_EQ(process().ListView1.Count(), 0);
    EXPECT_EQ(process().Panel(1), GetLangText(s("mes238")) + s(": 0"));
    EXPECT_EQ(process().Panel(2), GetLangText(s("mes239")));
    EXPECT_EQ(process().Panel(3), s("7"));
    EXPECT_EQ(Forms::Get<frmMain>().Label1->text(), GetLangText(s("mes240")));
}

// Rows come, change and go in any place of a list of many blocks, a block filling up
// to its split or emptying; the list and its earliest row stay what a list read
// afresh would hold.
TEST(KeptList, FollowsChangesAnywhereAndKeepsTheEarliest)
{
    struct Model {
        QDate date;
        QTime time;
    };
    std::map<qint64, Model> model;
    std::mt19937 random(36);
    // One in ten without a date, two in ten without a time; many ties of a minute.
    auto someRow = [&] {
        const int kind = int(random() % 10);
        return Model{kind == 0 ? QDate() : QDate(2026, 1, 1).addDays(int(random() % 60)),
                     kind < 3 ? QTime() : QTime(int(random() % 24), int(random() % 60), int(random() % 60))};
    };
    auto rowsOf = [](const std::map<qint64, Model>& rows) {
        DispatcherRows read;
        for (const auto& [id, row] : rows)
            read.Append("Work", "title", {}, row.date, row.time, id, false);
        return read;
    };
    for (qint64 id = 3; id <= 27000; id += 3)
        model[id] = someRow();
    DispatcherList list;
    list.SetRows(rowsOf(model));
    for (int round = 0; round < 12; ++round) {
        std::map<qint64, Model> changed;
        QList<qint64> ids;
        // New ids fill the first block past its split; others change or go anywhere.
        for (qint64 id = 1 + round * 600; id < 1 + (round + 1) * 600; ++id) {
            if (id % 3 != 0)
                changed[id] = model[id] = someRow();
        }
        for (int i = 0; i < 300; ++i) {
            const qint64 id = 3 + 3 * qint64(random() % 9000);
            if (random() % 2) {
                model.erase(id);
                changed.erase(id);
            } else {
                changed[id] = model[id] = someRow();
            }
            ids.append(id);
        }
        // The last round empties whole blocks.
        for (qint64 id = 12200; round == 11 && id < 18500; ++id) {
            if (model.erase(id) + changed.erase(id) > 0)
                ids.append(id);
        }
        for (const auto& entry : changed)
            ids.append(entry.first);
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        list.Update(ids, rowsOf(changed));

        ASSERT_EQ(list.Count(), int(model.size())) << round;
        int number = 0;
        int earliest = 0;
        QDate earliestDate;
        int earliestMinute = 0;
        for (const auto& [id, row] : model) {
            ++number;
            const DispatcherRow item = list.Item(number);
            ASSERT_EQ(item.id, id) << round;
            ASSERT_EQ(item.date, row.date) << round;
            ASSERT_EQ(item.time, row.time) << round;
            const int minute = row.time.isValid() ? row.time.hour() * 60 + row.time.minute() : 0;
            const bool earlier = row.date < earliestDate || (row.date == earliestDate && minute < earliestMinute);
            if (row.date.isValid() && (earliest == 0 || earlier)) {
                earliest = number;
                earliestDate = row.date;
                earliestMinute = minute;
            }
        }
        EXPECT_EQ(list.Earliest(), earliest) << round;
    }
}

TEST(DueRule, FromTheFirstSecondOfItsMinuteAndAtOnceOnLaterDays)
{
    const NextDueRecord today{1, QDate(2026, 12, 9), QTime(14, 30)};
    EXPECT_FALSE(IsDue(today, at(2026, 12, 9, 14, 29, 59)));
    EXPECT_TRUE(IsDue(today, at(2026, 12, 9, 14, 30, 0)));
    EXPECT_FALSE(IsDue(today, at(2026, 12, 8, 23, 59)));
    EXPECT_TRUE(IsDue({1, QDate(2026, 12, 8), QTime(23, 59)}, at(2026, 12, 9, 0, 0)));
    EXPECT_TRUE(IsDue({1, QDate(2026, 12, 9), QTime()}, at(2026, 12, 9, 0, 0)));
    EXPECT_TRUE(IsDue({1, QDate(2026, 12, 9), QTime(9, 5, 40)}, at(2026, 12, 9, 9, 5, 0)));
    EXPECT_FALSE(IsDue({0, QDate(2026, 12, 1), QTime()}, at(2026, 12, 9, 0, 0)));
}

TEST(TimeFormat, TwelveHourFormatShowsAmAndPm)
{
    EXPECT_EQ(QtTimeFormat(s("H:mm AMPM")), s("h:mm AP"));
    EXPECT_EQ(TimeText(QTime(14, 5), s("H:mm AMPM")), s("2:05 PM"));
    EXPECT_EQ(TimeText(QTime(), s("H:mm AMPM")), s("12:00 AM"));
    EXPECT_EQ(TimeText(QTime(9, 5), s("H:mm")), s("9:05"));
}

class TaskCleanup : public Dispatcher {
protected:
    static void addTask(const QDate& date, bool done)
    {
        Connection& db = DataEnvironment1().Connection3;
        if (db.State() == 0) {
            ASSERT_TRUE(db.Open().Ok());
        }
        ASSERT_TRUE(db.Execute(s("INSERT INTO tbl_Business (bsn_Date, bsn_Text, bsn_Status) VALUES (?, ?, ?)"),
                               {date.isValid() ? QVariant(date.toString(Qt::ISODate)) : QVariant(), s("task"), done})
                        .Ok());
    }
    static int taskCount()
    {
        QList<QVariantList> rows;
        EXPECT_TRUE(DataEnvironment1().Connection3.Query(s("SELECT COUNT(*) FROM tbl_Business"), {}, &rows).Ok());
        return rows.value(0).value(0).toInt();
    }
    void SetUp() override
    {
        Dispatcher::SetUp();
        Clock::SetFixed(at(2026, 12, 9, 10, 0));
    }
};

TEST_F(TaskCleanup, OldTasksGoWhateverTheirStatusAndTheNoticeCountsUndoneOnes)
{
    EXPECT_TRUE(WriteOption(s("BusSettings"), s("delwait"), s("7")));
    EXPECT_TRUE(WriteOption(s("BusSettings"), s("notify"), s(" 1")));
    addTask(QDate(2026, 12, 1), true);    // 8 days: deleted
    addTask(QDate(2026, 12, 1), false);   // 8 days: deleted, not counted
    addTask(QDate(2026, 12, 2), true);    // 7 days, done: kept
    addTask(QDate(), false);              // no date: kept
    addTask(QDate(2026, 12, 20), false);  // future: kept, not counted
    process().BusRefresh();
    EXPECT_EQ(taskCount(), 3);
    EXPECT_TRUE(TrayIcon::HeldBalloons().isEmpty());

    addTask(QDate(2026, 12, 2), false);   // 7 days, undone: kept and counted
    process().BusRefresh();
    EXPECT_EQ(taskCount(), 4);
    ASSERT_EQ(TrayIcon::HeldBalloons().size(), 1);
    EXPECT_EQ(TrayIcon::HeldBalloons().first().text, GetLangText(s("mes237")));
}

TEST_F(TaskCleanup, ZeroOrNegativeAgeDeletesNothingAndNotifyOffShowsNothing)
{
    EXPECT_TRUE(WriteOption(s("BusSettings"), s("notify"), s("0")));
    addTask(QDate(2000, 1, 1), false);
    for (const char* age : {"0", "-5"}) {
        EXPECT_TRUE(WriteOption(s("BusSettings"), s("delwait"), s(age)));
        process().BusRefresh();
    }
    EXPECT_EQ(taskCount(), 1);
    EXPECT_TRUE(TrayIcon::HeldBalloons().isEmpty());
}

TEST_F(TaskCleanup, MissingOrNonNumericSettingEndsTheProgram)
{
    EXPECT_TRUE(WriteOption(s("BusSettings"), s("delwait"), s("soon")));
    EXPECT_EXIT(process().BusRefresh(), ::testing::ExitedWithCode(1), "MsgBox");
}

TEST_F(Dispatcher, BalloonsAskedBeforeTheIconExistAreHeldAndCut)
{
    TrayBalloon(s("T"), QString(300, QLatin1Char('x')), 1);
    ASSERT_EQ(TrayIcon::HeldBalloons().size(), 1);
    EXPECT_EQ(TrayIcon::HeldBalloons().first().text.size(), 256);
    TrayBalloon(QString(80, QLatin1Char('t')), s("x"), 1);
    EXPECT_EQ(TrayIcon::HeldBalloons().last().title.size(), 64);
}

namespace {

class FakeDialog : public Form {
public:
    FakeDialog()
        : Form(QStringLiteral("frmIconAdd"), DialogWindow)
    {
    }
};

class FakeView : public Form {
public:
    FakeView()
        : Form(QStringLiteral("frmPhones"), MainWindow)
    {
    }
};

void activate(Form& form)
{
    form.show();
    QApplication::setActiveWindow(&form);
    QCoreApplication::processEvents();
}

}  // namespace

TEST_F(Dispatcher, TrayMenuGivesWayToAnActiveDialog)
{
    EXPECT_TRUE(process().TrayMenuMayShow());
    activate(Forms::Get<FakeView>());
    EXPECT_TRUE(process().TrayMenuMayShow());
    activate(Forms::Get<FakeDialog>());
    ASSERT_EQ(Forms::ActiveForm(), &Forms::Get<FakeDialog>());
    EXPECT_FALSE(process().TrayMenuMayShow());
}

TEST_F(Dispatcher, OpenClosesEveryOtherWindowButTheReminderAndShowsTheMain)
{
    Forms::Get<FakeDialog>().show();
    Forms::Get<FakeView>().show();
    process().mOpen_Click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(Forms::IsLoaded<FakeDialog>());
    EXPECT_FALSE(Forms::IsLoaded<FakeView>());
    ASSERT_TRUE(Forms::IsLoaded<frmMain>());
    EXPECT_TRUE(Forms::Get<frmMain>().isVisible());
    EXPECT_TRUE(Forms::IsLoaded<frmProcess>());
}

TEST_F(Dispatcher, HelpNamesWhatIsMissing)
{
    qputenv("TESSARYN_PDF_HANDLER", "0");
    process().mHelp_Click();
    qputenv("TESSARYN_PDF_HANDLER", "1");
    process().mHelp_Click();
    qunsetenv("TESSARYN_PDF_HANDLER");
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_EQ(MsgBoxScript::Log().first().text, GetLangText(s("mes19")));
    EXPECT_TRUE(Shell::Opened().last().endsWith(s("/Help/enhelp.pdf")));

    // A program folder with its language files but without the manuals.
    QDir().mkpath(env.Root() + s("/program/Language"));
    QFile::copy(TestEnv::BuildShare() + s("/Language/English.ini"), env.Root() + s("/program/Language/English.ini"));
    process().AppPath = env.Root() + s("/program");
    process().mHelp_Click();
    EXPECT_EQ(MsgBoxScript::Log().last().text, GetLangText(s("mes20")));
}

// The list's view is made when the window is first shown, above the status bar.
TEST_F(Dispatcher, TheShownWindowListsTheEventsAboveItsStatusBar)
{
    addEvent("Birthdays", "Ann", QDate(2030, 1, 2), QVariant());
    process().DateRefresh();
    process().show();
    const auto* list = process().findChild<QTreeView*>(s("ListView1"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->model()->rowCount(), 1);
    EXPECT_LT(list->geometry().bottom(), process().StatusBar1->geometry().top());
    process().hide();
}

TEST_F(Dispatcher, EscapeAndClosingOnlyHideTheDispatcherWindow)
{
    process().show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&process(), &escape);
    EXPECT_FALSE(process().isVisible());
    process().show();
    process().close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Forms::IsLoaded<frmProcess>());
    EXPECT_FALSE(process().isVisible());
}

TEST_F(Dispatcher, ExitAnsweredNoKeepsTheProgramAndYesEndsIt)
{
    MsgBoxScript::Push(vbNo);
    process().mExit_Click();
    EXPECT_EQ(MsgBoxScript::Log().last().buttons, 4 + 48 + 256);
    EXPECT_EXIT(
        {
            MsgBoxScript::Push(vbYes);
            process().mExit_Click();
        },
        ::testing::ExitedWithCode(0), "");
}

// The update question is the program's own: a reminder that falls due while it is up
// withdraws it and is shown at its tick, and the question comes again once the
// reminder has closed. A question the user asked for holds the next one back.
TEST_F(Dispatcher, AReminderDueWhileTheUpdateQuestionIsUpIsShownAndTheQuestionAskedAfter)
{
    HttpServer server;
    server.Serve(s("/tessaryn/tsversion.txt"), {200, "3.31"});
    qputenv("TESSARYN_SITE_BASE", (server.Base() + s("/")).toUtf8());
    WriteMainXml(s("Version"), s("3.30"));
    process().Timer1->stop();
    Clock::SetFixed(at(2026, 12, 12, 10, 0, 50));
    addEvent("Work", "Call Ann", QDate(2026, 12, 12), s("10:01"));
    addEvent("Work", "Call Bob", QDate(2026, 12, 12), s("10:02"));
    process().DateRefresh();
    MsgBoxScript::SetAutomatic(false);
    const qsizetype opened = Shell::Opened().size();

    // Each question, once it is up, is handed to the step of the test that waits for it.
    int asked = 0;
    std::function<void(QMessageBox&)> whenAsked;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box->property("seen").toBool())
            return;
        box->setProperty("seen", true);
        ++asked;
        whenAsked(*box);
    });
    watch.start(10);
    const auto tickUntilAsked = [&](int times) {
        return PumpUntil([&] {
            process().Timer1_Timer();
            return asked == times;
        });
    };

    const auto reminderShown = [] { return Forms::Find<frmWindow>() && Forms::Find<frmWindow>()->isVisible(); };
    bool shownAtItsTick = false;
    whenAsked = [&](QMessageBox& box) {
        EXPECT_EQ(box.text(), GetLangText(s("mes292")));
        process().Timer1_Timer();
        EXPECT_TRUE(box.isVisible());
        Clock::SetFixed(at(2026, 12, 12, 10, 1));
        process().Timer1_Timer();
        shownAtItsTick = reminderShown() && !box.isVisible();
        if (box.isVisible())  // the test fails rather than wait for ever
            box.button(QMessageBox::No)->click();
    };
    CheckForUpdate();
    ASSERT_TRUE(tickUntilAsked(1));
    EXPECT_TRUE(shownAtItsTick);
    EXPECT_TRUE(TrayIcon::HeldBalloons().isEmpty());  // nor was the reminder held back

    // Not while the reminder is up; after its close the question is asked again.
    for (int i = 0; i < 5; ++i)
        process().Timer1_Timer();
    QCoreApplication::processEvents();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(UpdateCheckPending());
    whenAsked = [](QMessageBox& box) { box.button(QMessageBox::No)->click(); };
    ASSERT_TRUE(Forms::Find<frmWindow>());
    Forms::Find<frmWindow>()->close();
    ASSERT_TRUE(tickUntilAsked(2));
    EXPECT_FALSE(UpdateCheckPending());
    EXPECT_EQ(Shell::Opened().size(), opened);
    EXPECT_EQ(server.Requests().size(), 1);
    qputenv("TESSARYN_SITE_BASE", "http://127.0.0.1:9/");

    bool heldBack = false;
    whenAsked = [&](QMessageBox& box) {
        Clock::SetFixed(at(2026, 12, 12, 10, 2));
        process().Timer1_Timer();
        heldBack = box.isVisible() && !reminderShown() && !TrayIcon::HeldBalloons().isEmpty()
                   && TrayIcon::HeldBalloons().last().text == GetLangText(s("mes247"));
        box.button(QMessageBox::No)->click();
    };
    MsgBox(s("Delete the task?"), 4 + 32, ProductName());
    EXPECT_TRUE(heldBack);
    process().Timer1_Timer();
    EXPECT_TRUE(reminderShown());
}

// The reminder road end to end: an event saved as the editor saves it comes up at
// its moment, with its sound, and is snoozed or closed into its next occurrence.
#include "test_reminder_fixture.h"

#include "core/Formats.h"
#include "mainwin/frmIconAdd.h"
#include "mainwin/frmMain.h"
#include "platform/MsgBox.h"
#include "platform/TrayIcon.h"
#include "support/FailingReads.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace reminder_test;

namespace {

class FakeWindow : public Form {
public:
    FakeWindow()
        : Form(QStringLiteral("frmPhones"), MainWindow)
    {
    }
};

class FakeEditor : public Form {
public:
    FakeEditor()
        : Form(QStringLiteral("frmMesAdd"), DialogWindow)
    {
    }
};

class FakePlanner : public Form {
public:
    FakePlanner()
        : Form(QStringLiteral("frmOrg"), MainWindow)
    {
    }
};

QList<TrayIcon::Balloon> balloons() { return TrayIcon::HeldBalloons() + TrayIcon::ShownBalloons(); }

}  // namespace

TEST_F(ReminderTest, SavedEventComesUpAtItsMinuteFilledWithItsSoundAndEveryOtherWindowDisabled)
{
    Clock::SetFixed(at(2026, 3, 10, 9, 59, 30));
    Forms::Get<FakeWindow>().show();
    const qint64 id = save({.title = s("Dentist appointment"), .date = QDate(2026, 3, 10), .time = s("10:00"),
                            .notes = s("Bring the card")});
    tick();
    EXPECT_FALSE(reminder());
    EXPECT_TRUE(playSound::LastStarted().isEmpty());

    Clock::SetFixed(at(2026, 3, 10, 10, 0));
    tick();
    frmWindow* window = reminder();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Label1->text(), s("Dentist appointment"));
    EXPECT_EQ(window->Label2->text(), DateText(QDate(2026, 3, 10)));
    EXPECT_EQ(window->Label4->text(), s("10:00"));
    EXPECT_EQ(window->Label3->text(), s("Work"));
    EXPECT_EQ(window->Label7->text(), s("Work"));
    EXPECT_EQ(window->Label9->text(), QString::number(id));
    EXPECT_EQ(window->Label8->text(), s("False"));
    EXPECT_EQ(window->Label5->toPlainText(), s("Bring the card"));
    EXPECT_TRUE(window->Label5->isVisible());
    EXPECT_EQ(playSound::LastStarted(), soundPath);
    EXPECT_TRUE(playSound::IsOn());

    // Shown transparent and on top, then faded in by its timer.
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_DOUBLE_EQ(window->windowOpacity(), 0.0);
    EXPECT_TRUE(window->Timer1->isActive());
    EXPECT_EQ(window->parentWidget(), nullptr);

    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(process().isEnabled());
    EXPECT_FALSE(Forms::Get<FakeWindow>().isEnabled());
    ASSERT_TRUE(Forms::IsLoaded<frmMain>());
    EXPECT_FALSE(Forms::Get<frmMain>().isEnabled());

    // Further ticks leave it alone, and a close from the window manager does not
    // reach the windows it disabled.
    playSound::StopSound();
    tick();
    EXPECT_EQ(reminder(), window);
    EXPECT_FALSE(playSound::IsOn());
    QCloseEvent close;
    QCoreApplication::sendEvent(&Forms::Get<FakeWindow>(), &close);
    EXPECT_TRUE(Forms::IsLoaded<FakeWindow>());
    EXPECT_TRUE(Forms::Get<FakeWindow>().isVisible());
}

TEST_F(ReminderTest, SnoozeAddsAOneOffCopyThatIsDeletedWithoutSuccessorWhenItFires)
{
    Clock::SetFixed(at(2026, 3, 10, 10, 0));
    const qint64 id = save({.date = QDate(2026, 3, 10), .time = s("10:00")});
    tick();
    ASSERT_TRUE(reminder());
    Clock::SetFixed(at(2026, 3, 10, 10, 0, 20));
    reminder()->Command1[1]->click();
    QCoreApplication::processEvents();

    EXPECT_FALSE(reminder());
    EXPECT_EQ(CurrentReminderStage(), ReminderStage::Idle);
    QList<Row> table = rows();
    ASSERT_EQ(table.size(), 1);
    EXPECT_GT(table[0].id, id);
    EXPECT_TRUE(table[0].oneOff);
    EXPECT_EQ(table[0].date, QDate(2026, 3, 10));
    EXPECT_EQ(table[0].time.toString(), s("10:10:20"));
    EXPECT_EQ(table[0].notes.toString(), s(""));
    EXPECT_TRUE(process().isEnabled());
    EXPECT_FALSE(playSound::IsOn());

    Clock::SetFixed(at(2026, 3, 10, 10, 9, 59));
    tick();
    EXPECT_FALSE(reminder());
    Clock::SetFixed(at(2026, 3, 10, 10, 10));
    tick();
    ASSERT_TRUE(reminder());
    EXPECT_EQ(reminder()->Label8->text(), s("True"));
    closeReminder();
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(process().ListView1.Count(), 0);
}

TEST_F(ReminderTest, SnoozeReadsTheClockOnceSoItCrossesMidnightWithItsDate)
{
    Clock::SetFixed(at(2026, 3, 10, 23, 58));
    save({.category = s("_QM_"), .date = QDate(2026, 3, 10), .time = s("23:58")});
    tick();
    ASSERT_TRUE(reminder());
    EXPECT_EQ(reminder()->Label7->text(), GetLangText(s("mes1")));
    EXPECT_EQ(reminder()->Label3->text(), s("_QM_"));
    EXPECT_TRUE(reminder()->Image1->pixmap().isNull());
    reminder()->Command1_Click(0);
    const QList<Row> table = rows();
    ASSERT_EQ(table.size(), 1);
    EXPECT_EQ(table[0].category, s("_QM_"));
    EXPECT_EQ(table[0].date, QDate(2026, 3, 11));
    EXPECT_EQ(table[0].time.toString(), s("00:03:00"));
}

TEST_F(ReminderTest, ClosingAWeeklyEventWritesNextWeeksRowAndMovesItsEntries)
{
    // The event at 10:00, shown 5 minutes ahead, on its own weekly rule.
    Clock::SetFixed(at(2026, 3, 10, 9, 55));
    const qint64 id = save({.category = s("Birthdays"), .date = QDate(2026, 3, 10), .time = s("09:55"),
                            .notes = s("cake"), .advanceCode = s("0"), .ownType = s("w"), .ownCount = s("1")});
    tick();
    ASSERT_TRUE(reminder());
    EXPECT_EQ(reminder()->Label7->text(), GetOwnText(s("evn1")));
    closeReminder();

    EXPECT_FALSE(reminder());
    const QList<Row> table = rows();
    ASSERT_EQ(table.size(), 1);
    const Row& next = table[0];
    EXPECT_EQ(next.category, s("Birthdays"));
    EXPECT_EQ(next.date, QDate(2026, 3, 17));
    EXPECT_EQ(next.time.toString(), s("09:55"));
    EXPECT_EQ(next.notes.toString(), s("cake"));
    EXPECT_FALSE(next.oneOff);
    const QString newId = QString::number(next.id);
    const QString oldId = QString::number(id);
    EXPECT_EQ(reg(s("Special\\") + newId + s("\\NextType")), s("w"));
    EXPECT_EQ(reg(s("Special\\") + newId + s("\\NextInterval")), s("1"));
    EXPECT_EQ(reg(s("InAdvance\\") + newId), s("0"));
    EXPECT_EQ(RegKeyExists(ProgramKey() + s("Special\\") + oldId + s("\\")), ReadResult::Missing);
    EXPECT_EQ(reg(s("InAdvance\\") + oldId), s("<missing>"));

    EXPECT_TRUE(process().isEnabled());
    EXPECT_EQ(process().ListView1.Count(), 1);
    EXPECT_EQ(process().NextDue.date, QDate(2026, 3, 17));
    // The main window was never shown, so the close unloads it again.
    QCoreApplication::processEvents();
    EXPECT_FALSE(Forms::IsLoaded<frmMain>());
}

TEST_F(ReminderTest, CategoryRuleAppliesWhenTheEventHasNoneOrOnlyHalfOfOne)
{
    addCategory(s("Work"));
    setCategoryRule(s("Work"), s("d"), s("1"));
    setCategoryRule(GetOwnText(s("evn2")), s("M"), s("1"));
    Clock::SetFixed(at(2026, 3, 10, 8, 0));
    const qint64 half = save({.date = QDate(2026, 3, 10), .time = s("08:00")});
    EXPECT_TRUE(RegWrite(ProgramKey() + s("Special\\") + QString::number(half) + s("\\NextType"), s("yyyy")));
    tick();
    closeReminder();
    ASSERT_EQ(rows().size(), 1);
    EXPECT_EQ(rows()[0].date, QDate(2026, 3, 11));
    // No entry outlives its row.
    EXPECT_EQ(reg(s("Special\\") + QString::number(half) + s("\\NextType")), s("<missing>"));

    // A built-in category's rule is kept under its shown name; an event without a
    // time stays without one.
    save({.category = s("Meetings"), .title = s("Rent"), .date = QDate(2026, 3, 1)});
    tick();
    ASSERT_TRUE(reminder());
    EXPECT_EQ(reminder()->Label1->text(), s("Rent"));
    closeReminder();
    const QList<Row> table = rows();
    ASSERT_EQ(table.size(), 2);
    EXPECT_EQ(table[1].category, s("Meetings"));
    EXPECT_EQ(table[1].date, QDate(2026, 4, 1));
    EXPECT_TRUE(table[1].time.isNull());
    EXPECT_TRUE(table[1].notes.isNull());
}

TEST_F(ReminderTest, UnknownLetterIsReportedAndBadCountsEndTheRowWithoutSuccessor)
{
    Clock::SetFixed(at(2026, 3, 10, 8, 0));
    const qint64 id = save({.date = QDate(2026, 3, 10), .time = s("08:00"), .ownType = s("m"), .ownCount = s("1")});
    tick();
    closeReminder();
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_EQ(MsgBoxScript::Log()[0].text, GetLangText(s("mes277")));
    EXPECT_EQ(MsgBoxScript::Log()[0].buttons, 48);
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(reg(s("Special\\") + QString::number(id) + s("\\NextType")), s("<missing>"));
    EXPECT_TRUE(process().isEnabled());

    for (const char* count : {"1.5", "-1", "often", "0"}) {
        save({.date = QDate(2026, 3, 10), .time = s("08:00"), .ownType = s("d"), .ownCount = s(count)});
        tick();
        ASSERT_TRUE(reminder()) << count;
        closeReminder();
        EXPECT_TRUE(rows().isEmpty()) << count;
        EXPECT_TRUE(process().isEnabled()) << count;
        EXPECT_EQ(CurrentReminderStage(), ReminderStage::Idle);
    }
    EXPECT_EQ(MsgBoxScript::Log().size(), 1);
}

TEST_F(ReminderTest, YearlyRuleOn29FebruaryComesBackOn28February)
{
    Clock::SetFixed(at(2024, 2, 29, 9, 0));
    save({.date = QDate(2024, 2, 29), .time = s("09:00"), .ownType = s("yyyy"), .ownCount = s("1")});
    tick();
    closeReminder();
    ASSERT_EQ(rows().size(), 1);
    EXPECT_EQ(rows()[0].date, QDate(2025, 2, 28));

    Clock::SetFixed(at(2025, 2, 28, 9, 0));
    tick();
    closeReminder();
    ASSERT_EQ(rows().size(), 1);
    EXPECT_EQ(rows()[0].date, QDate(2026, 2, 28));
}

TEST_F(ReminderTest, EventsShownAheadRepeatByTheirEventMoment)
{
    // Monthly on the 1st without a time, one hour ahead: reminded at 23:00 the day before.
    Clock::SetFixed(at(2024, 2, 29, 23, 0));
    save({.title = s("Rent"), .date = QDate(2024, 2, 29), .time = s("23:00"), .advanceCode = s("3"),
          .ownType = s("M"), .ownCount = s("1")});
    tick();
    closeReminder();
    ASSERT_EQ(rows().size(), 1);
    EXPECT_EQ(rows()[0].date, QDate(2024, 3, 31));
    EXPECT_EQ(rows()[0].time.toString(), s("23:00"));

    Clock::SetFixed(at(2024, 3, 31, 23, 0));
    tick();
    closeReminder();
    ASSERT_EQ(rows().size(), 1);
    EXPECT_EQ(rows()[0].date, QDate(2024, 4, 30));
}

TEST_F(ReminderTest, YearlyEventADayAheadComesBackADayAheadNextYear)
{
    // Yearly on 10 May, one day ahead, closed on 9 May: back on 9 May next year.
    Clock::SetFixed(at(2026, 5, 9, 12, 0));
    const qint64 id = save({.title = s("Anniversary"), .date = QDate(2026, 5, 9), .advanceCode = s("4"),
                            .ownType = s("yyyy"), .ownCount = s("1")});
    tick();
    ASSERT_TRUE(reminder());
    ASSERT_EQ(reminder()->Fired.id, id);
    closeReminder();
    const Row next = rows().last();
    EXPECT_EQ(next.title, s("Anniversary"));
    EXPECT_EQ(next.date, QDate(2027, 5, 9));
    EXPECT_TRUE(next.time.isNull());
    EXPECT_EQ(reg(s("InAdvance\\") + QString::number(next.id)), s("4"));
}

TEST_F(ReminderTest, ReminderHeldBackByTheEditorShowsOneBalloonThenAppearsWhenItCloses)
{
    Clock::SetFixed(at(2026, 3, 10, 10, 0));
    save({.date = QDate(2026, 3, 10), .time = s("10:00")});
    FakeEditor& editor = Forms::Get<FakeEditor>();
    editor.show();
    QApplication::setActiveWindow(&editor);
    QCoreApplication::processEvents();
    ASSERT_EQ(Forms::ActiveForm(), &editor);

    tick();
    tick();
    EXPECT_FALSE(reminder() && reminder()->isVisible());
    EXPECT_TRUE(playSound::LastStarted().isEmpty());
    ASSERT_EQ(balloons().size(), 1);
    EXPECT_EQ(balloons()[0].text, GetLangText(s("mes247")));

    Forms::Unload(&editor);
    QCoreApplication::processEvents();
    tick();
    ASSERT_TRUE(reminder());
    EXPECT_TRUE(reminder()->isVisible());
    EXPECT_EQ(playSound::LastStarted(), soundPath);
    EXPECT_FALSE(process().ReminderBalloonShown);
    EXPECT_EQ(balloons().size(), 1);
}

TEST_F(ReminderTest, RefreshBetweenShowAndCloseStillDeletesTheFiredRow)
{
    Clock::SetFixed(at(2026, 3, 10, 10, 0));
    const qint64 fired = save({.title = s("Fired"), .date = QDate(2026, 3, 10), .time = s("10:00")});
    tick();
    ASSERT_TRUE(reminder());
    // A contact-date reminder written meanwhile becomes the earliest row at the next refresh.
    Connection& db = DataEnvironment1().Connection1;
    OpenIfClosed(db);
    ASSERT_TRUE(db.Execute(s("INSERT INTO lst_Dates (Measure_Name, Step_Name, Step_Date, Step_Rep) "
                             "VALUES ('Birthdays', 'Contact date', '2026-03-09', 0)"))
                    .Ok());
    process().DateRefresh();
    ASSERT_NE(process().ListView1.Item(process().NextDue.item).id, fired);

    closeReminder();
    const QList<Row> table = rows();
    ASSERT_EQ(table.size(), 1);
    EXPECT_EQ(table[0].title, s("Contact date"));
}

TEST_F(ReminderTest, OneReminderAtATimeAndTheCloseEnablesExactlyWhatItDisabled)
{
    Clock::SetFixed(at(2026, 3, 10, 10, 0));
    FakeWindow& disabledBefore = Forms::Get<FakeWindow>();
    disabledBefore.show();
    disabledBefore.setEnabled(false);
    save({.title = s("First"), .date = QDate(2026, 3, 10), .time = s("09:00")});
    save({.title = s("Second"), .date = QDate(2026, 3, 10), .time = s("09:30")});
    tick();
    ASSERT_TRUE(reminder());
    const qint64 first = reminder()->Fired.id;
    tick();
    EXPECT_EQ(reminder()->Fired.id, first);
    reminder()->SetStage(ReminderStage::Closing);
    tick();
    EXPECT_EQ(reminder()->Fired.id, first);
    reminder()->SetStage(ReminderStage::Showing);

    FakeEditor& openedMeanwhile = Forms::Get<FakeEditor>();
    openedMeanwhile.show();
    closeReminder();
    EXPECT_FALSE(disabledBefore.isEnabled());
    EXPECT_TRUE(openedMeanwhile.isEnabled());
    EXPECT_TRUE(process().isEnabled());

    // The next due event comes up at the next tick.
    Forms::Unload(&openedMeanwhile);
    QCoreApplication::processEvents();
    tick();
    ASSERT_TRUE(reminder());
    EXPECT_EQ(reminder()->Label1->text(), s("Second"));
}

TEST_F(ReminderTest, AnOpenPlannerIsClosedBeforeTheReminderComesUp)
{
    Clock::SetFixed(at(2026, 3, 10, 10, 0));
    save({.date = QDate(2026, 3, 10), .time = s("10:00")});
    Forms::Get<FakePlanner>().show();
    tick();
    EXPECT_FALSE(Forms::IsLoaded<FakePlanner>());
    ASSERT_TRUE(reminder());
    EXPECT_TRUE(reminder()->isVisible());
}

TEST_F(ReminderTest, NothingOpensFromADisabledWindowWhileTheTrayMenuKeepsWorking)
{
    Clock::SetFixed(at(2026, 3, 10, 10, 0));
    frmMain& main = Forms::Get<frmMain>();
    main.ShowModeless();
    main.ListView1->setCurrentRow(0);
    auto rightClick = [&main] {
        const QPointF spot(20, 20);
        QMouseEvent release(QEvent::MouseButtonRelease, spot, main.ListView1->viewport()->mapToGlobal(spot),
                            Qt::RightButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(main.ListView1->viewport(), &release);
    };
    save({.date = QDate(2026, 3, 10), .time = s("10:00")});
    tick();
    ASSERT_TRUE(reminder());

    // A menu that opened would be closed a moment later.
    bool menuOpened = false;
    QTimer::singleShot(50, [&menuOpened] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            menuOpened = true;
            popup->close();
        }
    });
    rightClick();
    pump(100);
    EXPECT_FALSE(menuOpened);
    EXPECT_FALSE(Forms::IsLoaded<frmIconAdd>());

    // Open from the tray: the reminder stays in front of a usable main window.
    EXPECT_TRUE(process().mPopUp->isEnabled());
    QApplication::setActiveWindow(reminder());
    QCoreApplication::processEvents();
    ASSERT_EQ(Forms::ActiveForm(), reminder());
    process().mOpen_Click();
    QCoreApplication::processEvents();
    ASSERT_TRUE(reminder());
    EXPECT_TRUE(reminder()->isVisible());
    ASSERT_TRUE(Forms::IsLoaded<frmMain>());
    EXPECT_TRUE(Forms::Get<frmMain>().isVisible());
    EXPECT_TRUE(Forms::Get<frmMain>().isEnabled());
}

// The rows and the entries of an answer go together: a store that refuses a write
// or fails a read, the fired row's or its rule's, leaves both as they were, and the
// reminder stays up to be answered again.
TEST_F(ReminderTest, AnAnswerThatCannotBeStoredKeepsTheFiredRowItsEntriesAndTheWindow)
{
    Clock::SetFixed(at(2026, 3, 10, 10, 0));
    Connection& db = DataEnvironment1().Connection1;
    OpenIfClosed(db);
    std::optional<FailingReads> failing;
    const auto refuseInserts = [&](const char* table) {
        ASSERT_TRUE(db.Execute(s("CREATE TEMP TRIGGER refuse BEFORE INSERT ON main.%1 "
                                 "BEGIN SELECT RAISE(ABORT, 'full'); END")
                                   .arg(s(table)))
                        .Ok());
    };
    const QList<std::pair<const char*, std::function<void()>>> faults = {
        {"a row refused", [&] { refuseInserts("lst_Dates"); }},
        {"an entry refused", [&] { refuseInserts("registry"); }},
        {"the rule unreadable", [&] { failing.emplace(db, "registry", "value"); }},
        {"the fired row unreadable", [&] { failing.emplace(db, "lst_Dates", "Step_Numeric", 2); }},
    };
    for (const auto& [name, fault] : faults) {
        SCOPED_TRACE(name);
        const qint64 id = save({.date = QDate(2026, 3, 10), .time = s("10:00"), .advanceCode = s("1"),
                                .ownType = s("d"), .ownCount = s("1")});
        MsgBoxScript::Clear();
        tick();
        ASSERT_TRUE(reminder());
        fault();
        reminder()->Command1_Click(2);
        closeReminder();
        ASSERT_TRUE(reminder());
        EXPECT_TRUE(reminder()->isVisible());
        failing.reset();
        ASSERT_TRUE(db.Execute(s("DROP TRIGGER IF EXISTS temp.refuse")).Ok());

        ASSERT_EQ(MsgBoxScript::Log().size(), 2);
        EXPECT_EQ(MsgBoxScript::Log()[0].text, GetLangText(s("mes329")));
        EXPECT_EQ(MsgBoxScript::Log()[1].text, GetLangText(s("mes329")));
        ASSERT_EQ(rows().size(), 1);
        EXPECT_EQ(rows()[0].id, id);
        EXPECT_EQ(reg(s("InAdvance\\") + QString::number(id)), s("1"));
        EXPECT_EQ(reg(s("Special\\") + QString::number(id) + s("\\NextType")), s("d"));

        closeReminder();
        EXPECT_FALSE(reminder());
        EXPECT_TRUE(process().isEnabled());
        ASSERT_EQ(rows().size(), 1);
        EXPECT_EQ(rows()[0].date, QDate(2026, 3, 11));
        EXPECT_EQ(reg(s("InAdvance\\") + QString::number(rows()[0].id)), s("1"));
        ASSERT_TRUE(db.Execute(s("DELETE FROM lst_Dates")).Ok());
    }
}

TEST_F(ReminderTest, BadEffectSettingEndsTheProgramBeforeAnythingChanges)
{
    Clock::SetFixed(at(2026, 3, 10, 10, 0));
    save({.date = QDate(2026, 3, 10), .time = s("10:00")});
    EXPECT_TRUE(WriteOption(s("RemWindow"), s("efect1"), s("sometimes")));
    EXPECT_EXIT(tick(), ::testing::ExitedWithCode(1), GetLangText(s("mes294")).toStdString());
    EXPECT_TRUE(WriteOption(s("RemWindow"), s("efect1"), s("1")));
    EXPECT_TRUE(WriteOption(s("RemWindow"), s("txtcolor"), s("-1")));
    EXPECT_EXIT(tick(), ::testing::ExitedWithCode(1), "MsgBox");
}

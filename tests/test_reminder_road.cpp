// The whole road of one reminder: saved in the event editor, fired by the
// dispatcher's tick at its minute, snoozed, fired again and closed.
#include "test_event_fixture.h"

#include "core/Formats.h"
#include "events/frmMesAdd.h"
#include "events/frmWindow.h"
#include "platform/DateField.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>

namespace {

class ReminderRoad : public EventWindowTest {
protected:
    void SetUp() override
    {
        EventWindowTest::SetUp();
        addCategory(s("Work"));
        Clock::SetFixed({QDate(2026, 3, 10), QTime(9, 59)});
        main();
    }

    static frmWindow* shownReminder()
    {
        frmWindow* window = Forms::Find<frmWindow>();
        return window && window->isVisible() ? window : nullptr;
    }

    static void tickAt(const QTime& time)
    {
        Clock::SetFixed({QDate(2026, 3, 10), time});
        process().Timer1_Timer();
    }
};

}  // namespace

TEST_F(ReminderRoad, AStartWithAnEventDueShowsItsReminderAtTheFirstTickAfterTheListIsIn)
{
    addEvent(s("Work"), s("Overdue call"), QDate(2026, 3, 9), s("08:00"));
    DeleteAllWindows();
    process().Timer1->stop();
    // The start does not wait for the rows, which a worker reads: until they are in,
    // a tick finds nothing due, and the first tick after them shows the reminder.
    ASSERT_TRUE(process().Refreshing());
    tickAt(QTime(9, 59));
    EXPECT_EQ(shownReminder(), nullptr);
    QElapsedTimer waited;
    waited.start();
    while (process().Refreshing() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(process().ListView1.Count(), 1);
    EXPECT_EQ(process().NextEventTitle, s("Overdue call"));
    tickAt(QTime(9, 59));
    frmWindow* window = shownReminder();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Label1->text(), s("Overdue call"));
}

TEST_F(ReminderRoad, AnEventSavedInTheEditorComesUpAtItsMinuteAndSnoozesOnce)
{
    frmMesAdd& editor = Forms::Get<frmMesAdd>();
    editor.SetCategory(s("Work"), s("Work"));
    editor.Text1->setText(s("Call the dentist"));
    editor.DTPicker1->setDate(QDate(2026, 3, 10));
    editor.Check1->setChecked(true);
    editor.DTPicker2->setTime(QTime(10, 0));
    editor.Command0_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(stored().size(), 1);
    EXPECT_EQ(stored().first().time, QVariant(s("10:00")));

    tickAt(QTime(9, 59, 59));
    EXPECT_EQ(shownReminder(), nullptr);

    tickAt(QTime(10, 0));
    frmWindow* window = shownReminder();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Label1->text(), s("Call the dentist"));
    EXPECT_EQ(window->Label4->text(), TimeText(QTime(10, 0), process().TimeFormat));
    EXPECT_EQ(window->Label7->text(), s("Work"));
    EXPECT_FALSE(window->Image1->pixmap().isNull());
    EXPECT_FALSE(main().isEnabled());

    window->Command1_Click(1);  // 10 minutes
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(shownReminder(), nullptr);
    EXPECT_TRUE(main().isEnabled());
    ASSERT_EQ(stored().size(), 1);
    EXPECT_TRUE(stored().first().oneOff);
    EXPECT_EQ(stored().first().time, QVariant(s("10:10:00")));

    tickAt(QTime(10, 9, 59));
    EXPECT_EQ(shownReminder(), nullptr);
    tickAt(QTime(10, 10));
    window = shownReminder();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Label8->text(), s("True"));
    Forms::Unload(window);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_EQ(process().ListView1.Count(), 0);
}

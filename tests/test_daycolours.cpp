// Day colours, day tooltips and the nearest-event panel of the main window.

#include "test_mainwin_fixture.h"

#include "core/Colors.h"
#include "core/Formats.h"
#include "core/Resources.h"
#include "core/WindowHelpers.h"
#include "mainwin/MonthGrid.h"

#include <QComboBox>

namespace {

const QString CRLF = QStringLiteral("\r\n");

TEST(DayMarks, ColoursTravelAsBlueGreenRed)
{
    EXPECT_EQ(ColorFromBgr(0x0040C0), QColor(192, 64, 0));
    EXPECT_EQ(ColorFromBgr(0x004000), QColor(0, 64, 0));
    EXPECT_EQ(BgrFromColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
    EXPECT_EQ(BgrFromColor(ColorFromBgr(0xFFFFFF)), 0xFFFFFFu);
}

TEST(DayMarks, TodayAndEventDaysInTableOrder)
{
    const QDate today(2026, 12, 10);
    const QList<DayEvent> events = {
        {s("Work"), s("Report"), QDate(2026, 12, 10)},
        {s("Quick reminder"), s("Call"), QDate(2026, 12, 10)},
        {s("Work"), s("Other month"), QDate(2026, 11, 10)},
        {s("Work"), s("Other year"), QDate(2025, 12, 10)},
        {s("Sport"), s("Run"), QDate(2026, 12, 31)},
    };
    const MonthMarks marks = MarkMonth(2026, 12, 1, today, s("Today"), events);
    EXPECT_EQ(marks.colour[10], EventDayColour);
    EXPECT_EQ(marks.tip[10], CRLF + s("Today") + CRLF + s("Work: Report") + CRLF + s("Quick reminder: Call"));
    EXPECT_EQ(marks.colour[31], EventDayColour);
    EXPECT_EQ(marks.tip[31], CRLF + s("Sport: Run"));
    for (int cell : {0, 9, 11, 30, 32, 41}) {
        EXPECT_EQ(marks.colour[cell], PlainDayColour) << cell;
        EXPECT_TRUE(marks.tip[cell].isEmpty()) << cell;
    }
}

TEST(DayMarks, TodayAloneIsGreenAndAnotherMonthHasNoGreen)
{
    const QDate today(2026, 12, 10);
    const MonthMarks current = MarkMonth(2026, 12, 1, today, s("Today"), {});
    EXPECT_EQ(current.colour[10], TodayColour);
    EXPECT_EQ(current.tip[10], CRLF + s("Today"));
    const MonthMarks other = MarkMonth(2026, 11, 6, today, s("Today"), {});
    EXPECT_EQ(std::count(other.colour.begin(), other.colour.end(), TodayColour), 0);
}

class DayColours : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        addCategory(s("Work"), "Work");
    }

    // December 2026 begins on a Tuesday: day d is cell d.
    static int cell(int day) { return day; }

    static QImage picture(const QLabel* label) { return label->pixmap().toImage(); }
    static QImage picture(const QIcon& icon) { return icon.pixmap(32, 32).toImage(); }
};

TEST_F(DayColours, ADayWithTwoEventsOneOverdueIsOrangeBrownWithBothLines)
{
    addEvent(s("Work"), s("Report"), QDate(2026, 12, 4), s("09:00"));
    addEvent(s("_QM_"), s("Call the garage"), QDate(2026, 12, 4));
    addEvent(s("Birthdays"), s("Anna"), QDate(2026, 12, 20));
    EXPECT_TRUE(SetOwnText(s("evn1"), s("Geburtstage")));
    main().ShowModeless();

    EXPECT_EQ(main().DayColour(cell(4)), 0x0040C0u);
    EXPECT_EQ(ColorFromBgr(main().DayColour(cell(4))), QColor(192, 64, 0));
    const QString lines = s("Work: Report") + CRLF + GetLangText(s("mes3")) + s(": Call the garage");
    EXPECT_EQ(main().DayTip(cell(4)), CRLF + lines);
    EXPECT_EQ(BalloonTipText(main().PicDay[cell(4)]), lines);
    EXPECT_EQ(main().TextDay[cell(4)]->palette().color(QPalette::WindowText), QColor(192, 64, 0));

    // A built-in category's line shows its own text, not its stored name.
    EXPECT_EQ(BalloonTipText(main().PicDay[cell(20)]), s("Geburtstage: Anna"));
    EXPECT_EQ(BalloonTipText(main().PicDay[cell(10)]), GetLangText(s("mes2")));
    EXPECT_EQ(main().DayColour(cell(10)), TodayColour);
    EXPECT_EQ(main().DayColour(cell(11)), PlainDayColour);
    EXPECT_TRUE(BalloonTipText(main().PicDay[cell(11)]).isEmpty());
}

TEST_F(DayColours, TodayWithEventsListsTodayFirstAndOtherMonthsAddNothing)
{
    addEvent(s("Work"), s("Standup"), QDate(2026, 12, 10), s("10:00"));
    addEvent(s("Work"), s("Review"), QDate(2026, 12, 10), s("11:00"));
    main().ShowModeless();
    EXPECT_EQ(main().DayColour(cell(10)), EventDayColour);
    EXPECT_EQ(BalloonTipText(main().PicDay[cell(10)]),
              GetLangText(s("mes2")) + CRLF + s("Work: Standup") + CRLF + s("Work: Review"));

    main().ComboMonth->setCurrentIndex(10);  // November: nothing coloured, no green
    for (int c = 0; c < DayCellCount; ++c) {
        EXPECT_EQ(main().DayColour(c), PlainDayColour) << c;
        EXPECT_TRUE(main().DayTip(c).isEmpty()) << c;
    }
}

TEST_F(DayColours, AnEmptyTableLeavesOnlyTodayAndTheEmptyPanel)
{
    main().ShowModeless();
    int coloured = 0;
    for (int c = 0; c < DayCellCount; ++c)
        coloured += main().DayColour(c) != PlainDayColour;
    EXPECT_EQ(coloured, 1);
    EXPECT_EQ(main().DayColour(cell(10)), TodayColour);
    EXPECT_EQ(main().Label1->text(), GetLangText(s("mes240")));
    EXPECT_EQ(main().Label2->text(), GetLangText(s("mes239")));
    EXPECT_TRUE(main().Label19->text().isEmpty());
    EXPECT_EQ(picture(main().Image4), picture(ResourceIcon(s("RES_5"))));
}

TEST_F(DayColours, TheNearestEventShowsCategoryPictureDateTimeAndTitle)
{
    addEvent(s("Work"), s("Report"), QDate(2026, 12, 11), s("09:05"));
    main().ShowModeless();
    EXPECT_EQ(main().Label1->text(), s("Work"));
    EXPECT_EQ(main().Label2->text(), DateText(QDate(2026, 12, 11)) + s(" (9:05)"));
    EXPECT_EQ(main().Label19->text(), s("Report"));
    EXPECT_EQ(picture(main().Image4), picture(main().ImageList1.Icon(s("_Work"))));
}

TEST_F(DayColours, OfManyEventsThePanelShowsTheEarliestAndATimelessOneByItsDateAlone)
{
    addEvent(s("Work"), s("Later"), QDate(2027, 1, 5), s("08:00"));
    addEvent(s("Birthdays"), s("Anna"), QDate(2026, 12, 12));
    addEvent(s("Work"), s("Same day, later"), QDate(2026, 12, 12), s("07:00"));
    addEvent(s("Work"), s("Next year"), QDate(2027, 12, 12), s("07:00"));
    main().ShowModeless();
    EXPECT_EQ(main().Label1->text(), GetOwnText(s("evn1")));
    EXPECT_EQ(main().Label2->text(), DateText(QDate(2026, 12, 12)));
    EXPECT_EQ(main().Label19->text(), s("Anna"));
    EXPECT_EQ(picture(main().Image4), picture(ResourceIcon(s("RES_1"))));
}

TEST_F(DayColours, AQuickReminderIsShownAsAReminderWithTheAlarmPicture)
{
    addEvent(s("_QM_"), s("Call"), QDate(2026, 12, 1), s("17:45"));
    addEvent(s("Work"), s("Report"), QDate(2026, 12, 11));
    main().ShowModeless();
    EXPECT_EQ(main().Label1->text(), GetLangText(s("mes1")));
    EXPECT_EQ(main().Label2->text(), DateText(QDate(2026, 12, 1)) + s(" (17:45)"));
    EXPECT_EQ(picture(main().Image4), picture(ResourceIcon(s("RES_4"))));
}

TEST_F(DayColours, ACategoryWithoutAPictureKeepsThePreviousOne)
{
    addEvent(s("Gone"), s("Orphan"), QDate(2026, 12, 11), s("08:00"));
    main().ShowModeless();
    EXPECT_EQ(main().Label1->text(), s("Gone"));
    main().Image4->setPixmap(ResourcePixmap(s("RES_2"), 32));
    const QImage before = picture(main().Image4);
    main().ColorDates();
    EXPECT_EQ(picture(main().Image4), before);
}

}  // namespace

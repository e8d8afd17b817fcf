// The month calendar of the main window: grid arithmetic, drawing, browsing, the
// "today" link and the return to today at a change of day.

#include "test_mainwin_fixture.h"

#include "core/Formats.h"
#include "mainwin/MonthGrid.h"

#include <QComboBox>

namespace {

TEST(MonthGrid, OffsetFollowsTheFirstWeekday)
{
    // March 2026 begins on a Sunday, June 2026 on a Monday.
    EXPECT_EQ(MonthOffset(2026, 3, false), 6);
    EXPECT_EQ(MonthOffset(2026, 3, true), 0);
    EXPECT_EQ(MonthOffset(2026, 6, false), 0);
    EXPECT_EQ(MonthOffset(2026, 6, true), 1);
    EXPECT_EQ(MonthOffset(2026, 10, false), 3);  // a Thursday
}

TEST(MonthGrid, FebruaryFollowsTheGregorianLeapYears)
{
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2026, 2), 28);
    EXPECT_EQ(DaysInMonth(2100, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2026, 4), 30);
    EXPECT_EQ(DaysInMonth(2026, 12), 31);
}

class Calendar : public MainWindowTest {
protected:
    static QList<int> shownCells()
    {
        QList<int> cells;
        for (int cell = 0; cell < DayCellCount; ++cell) {
            if (!main().TextDay[cell]->isHidden())
                cells.append(cell);
        }
        return cells;
    }

    static QList<int> range(int first, int last)
    {
        QList<int> cells;
        for (int cell = first; cell <= last; ++cell)
            cells.append(cell);
        return cells;
    }

    static void browse(int year, int month)
    {
        main().ComboYears->setCurrentIndex(main().ComboYears->findText(QString::number(year)));
        main().ComboMonth->setCurrentIndex(month - 1);
    }

    static QString shownMonth()
    {
        return main().ComboYears->currentText() + s("-") + QString::number(main().ComboMonth->currentIndex() + 1);
    }

    static void setFirstWeekday(const char* value) { EXPECT_TRUE(WriteOption(s("General"), s("fday"), s(value))); }
};

TEST_F(Calendar, AMonthStartingOnTheLastColumnUsesAllSixRows)
{
    setFirstWeekday("M");
    main().ShowModeless();
    browse(2026, 3);
    EXPECT_EQ(shownCells(), range(6, 36));
    EXPECT_EQ(main().TextDay[6]->text(), s("1"));
    EXPECT_EQ(main().TextDay[36]->text(), s("31"));

    browse(2027, 2);  // a common year's February from a Monday
    EXPECT_EQ(shownCells(), range(0, 27));
    EXPECT_EQ(main().TextDay[27]->text(), s("28"));
}

TEST_F(Calendar, SundayFirstOnlyForExactlyS)
{
    setFirstWeekday("S");
    main().ShowModeless();
    browse(2026, 3);
    EXPECT_EQ(shownCells().first(), 0);
    EXPECT_EQ(main().WeekdayCaptions[0]->text(), GetLangText(s("wdays7")));
    EXPECT_EQ(main().WeekdayCaptions[1]->text(), GetLangText(s("wdays1")));
    Forms::Unload<frmMain>();

    setFirstWeekday("s");
    main().ShowModeless();
    browse(2026, 3);
    EXPECT_EQ(shownCells().first(), 6);
    EXPECT_EQ(main().WeekdayCaptions[0]->text(), GetLangText(s("wdays1")));
    EXPECT_EQ(main().WeekdayCaptions[6]->text(), GetLangText(s("wdays7")));
}

TEST_F(Calendar, February2100HasTwentyEightDays)
{
    Clock::SetFixed({QDate(2100, 2, 10), QTime(9, 0)});
    main().ShowModeless();
    EXPECT_EQ(shownMonth(), s("2100-2"));
    EXPECT_EQ(main().ComboYears->count(), 21);
    EXPECT_EQ(main().ComboYears->itemText(0), s("2090"));
    EXPECT_EQ(shownCells().size(), 28);
}

TEST_F(Calendar, LoadShowsTheCurrentMonthAndTheTodayLinkReturnsAfterBrowsing)
{
    main().ShowModeless();
    EXPECT_EQ(shownMonth(), s("2026-12"));
    EXPECT_EQ(main().ComboYears->currentIndex(), 10);
    EXPECT_EQ(main().LabelToday->text(), DateText(QDate(2026, 12, 10)));
    EXPECT_EQ(main().ComboMonth->itemText(0), GetLangText(s("month1")));
    EXPECT_EQ(main().ComboMonth->itemText(11), GetLangText(s("month12")));

    browse(2019, 5);
    EXPECT_EQ(shownMonth(), s("2019-5"));
    EXPECT_EQ(shownCells(), range(2, 32));  // May 2019 begins on a Wednesday

    main().Label43_Click();
    EXPECT_EQ(shownMonth(), s("2026-12"));
    EXPECT_EQ(shownCells(), range(1, 31));
    EXPECT_EQ(main().TextDay[31]->text(), s("31"));
}

TEST_F(Calendar, ReturningToTodayKeepsTwentyOneYearsCentredOnThisYear)
{
    main().ShowModeless();
    browse(2030, 7);
    main().Label3_Click();
    main().Label3_Click();
    EXPECT_EQ(main().ComboYears->count(), 21);
    EXPECT_EQ(main().ComboYears->currentText(), s("2026"));
    EXPECT_EQ(main().ComboYears->itemText(20), s("2036"));
    EXPECT_EQ(shownMonth(), s("2026-12"));
}

TEST_F(Calendar, ChoosingAMonthWhileHiddenDrawsNothingUntilShown)
{
    frmMain& window = main();
    ASSERT_FALSE(window.isVisible());
    const QList<int> before = shownCells();
    EXPECT_EQ(before, range(1, 31));  // the load drew December 2026
    window.ComboMonth->setCurrentIndex(2);
    EXPECT_EQ(shownCells(), before);

    window.ShowModeless();
    window.DrawMonth();
    EXPECT_EQ(shownCells(), range(6, 36));
}

TEST_F(Calendar, NewYearsDayMovesTheCalendarToTheNewMonthAndYears)
{
    main().ShowModeless();
    browse(2020, 4);
    Clock::SetFixed({QDate(2027, 1, 1), QTime(0, 0, 1)});
    pump(400);  // the 150 ms timer sees the new day
    EXPECT_EQ(shownMonth(), s("2027-1"));
    EXPECT_EQ(main().ComboYears->itemText(10), s("2027"));
    EXPECT_EQ(main().LabelToday->text(), DateText(QDate(2027, 1, 1)));
    EXPECT_EQ(main().DayColour(MonthOffset(2027, 1, SundayFirst())), TodayColour);
    EXPECT_EQ(main().Timer->text(), LongTimeText(QTime(0, 0, 1)));
}

TEST_F(Calendar, ShownAfterADayChangeInTheTrayTheClockAndDaysAreRightAtOnce)
{
    addEvent(s("Work"), s("Meeting"), QDate(2027, 1, 5));
    main().ShowModeless();
    main().hide();
    EXPECT_FALSE(main().Timer1->isActive());
    Clock::SetFixed({QDate(2027, 1, 1), QTime(0, 0, 1)});
    process().DateRefresh();
    main().ShowModeless();
    EXPECT_TRUE(main().Timer1->isActive());
    EXPECT_EQ(shownMonth(), s("2027-1"));
    EXPECT_EQ(main().Timer->text(), LongTimeText(QTime(0, 0, 1)));
    const int first = MonthOffset(2027, 1, SundayFirst());
    EXPECT_EQ(main().DayColour(first), TodayColour);
    EXPECT_EQ(main().DayColour(first + 4), EventDayColour);
}

// Stands in for the About window, which the timer only looks at.
class AboutStandIn : public Form {
public:
    AboutStandIn()
        : Form(s("frmAbout"), DialogWindow)
    {
    }
};

TEST_F(Calendar, TheDayChangeWaitsWhileTheAboutWindowIsVisible)
{
    main().ShowModeless();
    Forms::Get<AboutStandIn>().show();
    Clock::SetFixed({QDate(2027, 1, 1), QTime(0, 0, 1)});
    main().Timer1_Timer();
    EXPECT_EQ(shownMonth(), s("2026-12"));
    EXPECT_EQ(main().Timer->text(), LongTimeText(QTime(0, 0, 1)));

    Forms::Get<AboutStandIn>().hide();
    main().Timer1_Timer();
    EXPECT_EQ(shownMonth(), s("2027-1"));
}

TEST_F(Calendar, DayNumbersUseTheSerifFaceAndTwoDigitsFitTheCell)
{
    main().ShowModeless();
    const QLabel* cell = main().TextDay[30];
    const QFontInfo face(cell->font());
    EXPECT_TRUE(face.family() == s("Liberation Serif") || face.family() == s("Times New Roman"))
        << face.family().toStdString();
    EXPECT_TRUE(cell->font().bold());
    EXPECT_EQ(cell->width(), 17);   // 255 twips
    EXPECT_EQ(cell->height(), 19);  // 285 twips
    EXPECT_LE(cell->fontMetrics().horizontalAdvance(s("28")), cell->width());
    EXPECT_EQ(main().PicDay[8]->geometry(), QRect(33, 71, 19, 19));  // column 1, row 1
}

}  // namespace

// The date rules of a repeating event's next occurrence.
#include "core/SourceText.h"
#include "events/NextOccurrence.h"

#include <gtest/gtest.h>

namespace {

QDateTime at(int y, int m, int d, int h = 0, int min = 0, int sec = 0) { return {QDate(y, m, d), QTime(h, min, sec)}; }

// The next reminder moment as wall-clock date and time.
QDateTime next(const QDateTime& fired, const char* type, int count, const QDateTime& now, int advance = 0)
{
    const std::optional<QDateTime> moment =
        NextReminderMoment(fired.date(), fired.time(), {s(type), count}, advance, now);
    return moment ? QDateTime(moment->date(), moment->time()) : QDateTime();
}

}  // namespace

TEST(NextOccurrence, DayRulesGiveTheFirstDayAfterTodayAtTheSameTime)
{
    // Closed three days late: one row, tomorrow.
    EXPECT_EQ(next(at(2026, 3, 7, 9, 0), "d", 1, at(2026, 3, 10, 8, 0)), at(2026, 3, 11, 9, 0));
    // Earlier in the day than the event's time still counts as today.
    EXPECT_EQ(next(at(2026, 3, 10, 18, 0), "d", 1, at(2026, 3, 10, 8, 0)), at(2026, 3, 11, 18, 0));
    EXPECT_EQ(next(at(2026, 3, 10, 9, 0), "w", 2, at(2026, 3, 10, 9, 0)), at(2026, 3, 24, 9, 0));
    EXPECT_EQ(next(at(2026, 3, 10, 9, 0), "w", 1, at(2026, 4, 1, 9, 0)), at(2026, 4, 7, 9, 0));
    // Seconds of the fired time are dropped; no time is midnight.
    EXPECT_EQ(next(at(2026, 3, 10, 9, 5, 40), "d", 3, at(2026, 3, 10, 9, 6)), at(2026, 3, 13, 9, 5));
    EXPECT_EQ(NextReminderMoment(QDate(2026, 3, 10), QTime(), {s("d"), 1}, 0, at(2026, 3, 10))->time(), QTime(0, 0));
}

TEST(NextOccurrence, MonthAndYearStepsClampAndGoOnFromTheClampedDay)
{
    EXPECT_EQ(next(at(2026, 1, 31, 8, 0), "M", 1, at(2026, 1, 31, 8, 0)), at(2026, 2, 28, 8, 0));
    EXPECT_EQ(next(at(2024, 1, 31, 8, 0), "M", 1, at(2024, 1, 31, 8, 0)), at(2024, 2, 29, 8, 0));
    EXPECT_EQ(next(at(2026, 2, 28, 8, 0), "M", 1, at(2026, 2, 28, 8, 0)), at(2026, 3, 28, 8, 0));
    EXPECT_EQ(next(at(2026, 1, 15), "M", 3, at(2026, 6, 1)), at(2026, 7, 15));
    EXPECT_EQ(next(at(2024, 2, 29, 9, 0), "yyyy", 1, at(2024, 2, 29, 9, 0)), at(2025, 2, 28, 9, 0));
    EXPECT_EQ(next(at(2025, 2, 28, 9, 0), "yyyy", 1, at(2025, 2, 28, 9, 0)), at(2026, 2, 28, 9, 0));
    // Closed years late: the first year after today, stepping from the clamped day.
    EXPECT_EQ(next(at(2020, 2, 29), "yyyy", 1, at(2026, 3, 1)), at(2027, 2, 28));
}

TEST(NextOccurrence, HourAndMinuteRulesGiveTheFirstMomentAfterNowOnTheirGrid)
{
    EXPECT_EQ(next(at(2026, 3, 10, 23, 0), "h", 2, at(2026, 3, 10, 23, 0, 30)), at(2026, 3, 11, 1, 0));
    EXPECT_EQ(next(at(2026, 3, 10, 9, 0), "n", 15, at(2026, 3, 10, 10, 7)), at(2026, 3, 10, 10, 15));
    EXPECT_EQ(next(at(2026, 3, 10, 9, 0), "n", 15, at(2026, 3, 10, 10, 15)), at(2026, 3, 10, 10, 30));
    EXPECT_EQ(next(at(2026, 3, 10, 9, 0), "h", 1, at(2026, 3, 10, 8, 0)), at(2026, 3, 10, 9, 0));
}

TEST(NextOccurrence, EventsShownAheadStepTheirEventMoment)
{
    // An event on the 1st at 00:00, one hour ahead: it stays on the 1st.
    EXPECT_EQ(next(at(2026, 1, 31, 23, 0), "M", 1, at(2026, 1, 31, 23, 0), 60), at(2026, 2, 28, 23, 0));
    EXPECT_EQ(next(at(2026, 2, 28, 23, 0), "M", 1, at(2026, 2, 28, 23, 0), 60), at(2026, 3, 31, 23, 0));
    // 10 May, a day ahead, closed on 9 May: 9 May next year.
    EXPECT_EQ(next(at(2026, 5, 9), "yyyy", 1, at(2026, 5, 9, 12, 0), 1440), at(2027, 5, 9));
    // An event on 1 March shown a day ahead comes back on the last day of February.
    EXPECT_EQ(next(at(2023, 2, 28, 10, 0), "yyyy", 1, at(2023, 2, 28, 10, 0), 1440), at(2024, 2, 29, 10, 0));
    // Fixed-length rules move the event and its reminder alike.
    EXPECT_EQ(next(at(2026, 3, 9, 23, 55), "d", 1, at(2026, 3, 9, 23, 55), 5), at(2026, 3, 10, 23, 55));
}

TEST(NextOccurrence, RulesCountsAndAdvanceCodesAreCheckedAsStored)
{
    for (const char* type : {"yyyy", "M", "w", "d", "h", "n"})
        EXPECT_TRUE(IsRepeatType(s(type))) << type;
    for (const char* type : {"m", "D", "y", "", "ww"})
        EXPECT_FALSE(IsRepeatType(s(type))) << type;
    EXPECT_EQ(RepeatCount(s("3")), 3);
    EXPECT_EQ(RepeatCount(s(" 12 ")), 12);
    for (const char* count : {"0", "-1", "1.5", "two", "", "99999999999"})
        EXPECT_FALSE(RepeatCount(s(count))) << count;
    const std::pair<const char*, int> codes[] = {{"0", 5}, {"1", 10}, {"2", 30}, {"3", 60}, {"4", 1440},
                                                 {"5", 0}, {"", 0},   {"12", 0}};
    for (const auto& [code, minutes] : codes)
        EXPECT_EQ(AdvanceMinutes(s(code)), minutes) << code;
}

TEST(NextOccurrence, UnknownRulesAndMomentsPastTheCalendarGiveNothing)
{
    EXPECT_FALSE(NextReminderMoment(QDate(2026, 3, 10), QTime(9, 0), {s("m"), 1}, 0, at(2026, 3, 10)));
    EXPECT_FALSE(NextReminderMoment(QDate(2026, 3, 10), QTime(9, 0), {s("d"), 0}, 0, at(2026, 3, 10)));
    EXPECT_FALSE(NextReminderMoment(QDate(), QTime(9, 0), {s("d"), 1}, 0, at(2026, 3, 10)));
    EXPECT_FALSE(NextReminderMoment(QDate(2026, 3, 10), QTime(), {s("yyyy"), 20000}, 0, at(2026, 3, 10)));
    EXPECT_FALSE(NextReminderMoment(QDate(2026, 3, 10), QTime(), {s("w"), 2000000000}, 0, at(2026, 3, 10)));
}

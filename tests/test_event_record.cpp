// The event record's rules without windows: the advance notice both ways, the
// past-date test, the move of a past date to its next occurrence, the planner's
// cell conversions and the registry entries of an event.

#include "core/RegData.h"
#include "core/SourceText.h"
#include "events/EventRecord.h"
#include "events/PlannerGridModel.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

namespace {

QDate d(int year, int month, int day) { return QDate(year, month, day); }
QTime t(int hour, int minute, int second = 0) { return QTime(hour, minute, second); }

TEST(Advance, EachCodeWithATimeGoesBackAcrossMidnightWhereItMust)
{
    const QDate march1 = d(2027, 3, 1);
    struct Case {
        int code;
        QTime time;
        QDate date;
        QTime expected;
    } cases[] = {
        {0, t(12, 0), march1, t(11, 55)},       {0, t(0, 4), d(2027, 2, 28), t(23, 59)},
        {0, t(0, 5), march1, t(0, 0)},          {1, t(0, 7), d(2027, 2, 28), t(23, 57)},
        {2, t(0, 29), d(2027, 2, 28), t(23, 59)}, {2, t(9, 45, 30), march1, t(9, 15)},
        {3, t(0, 59), d(2027, 2, 28), t(23, 59)}, {3, t(1, 0), march1, t(0, 0)},
        {4, t(8, 0), d(2027, 2, 28), t(8, 0)},
    };
    for (const Case& c : cases) {
        const EventMoment moment = CalcAdvanceTime(c.code, march1, c.time, true);
        EXPECT_EQ(moment.date, c.date) << c.code << " " << c.time.toString().toStdString();
        EXPECT_EQ(moment.time, c.expected) << c.code << " " << c.time.toString().toStdString();
    }
}

TEST(Advance, WithoutATimeTheDayBeforeAtTheAdvanceFromMidnightAndADayStaysWithoutTime)
{
    const QDate may15 = d(2027, 5, 15);
    const QTime expected[] = {t(23, 55), t(23, 50), t(23, 30), t(23, 0)};
    for (int code = 0; code < 4; ++code) {
        // The hidden picker's time plays no part.
        const EventMoment moment = CalcAdvanceTime(code, may15, t(10, 0), false);
        EXPECT_EQ(moment.date, d(2027, 5, 14)) << code;
        EXPECT_EQ(moment.time, expected[code]) << code;
    }
    const EventMoment day = CalcAdvanceTime(4, d(2027, 1, 1), t(10, 0), false);
    EXPECT_EQ(day.date, d(2026, 12, 31));
    EXPECT_FALSE(day.time.isValid());
    EXPECT_EQ(AdvanceMinutes(3), 60);
    EXPECT_EQ(AdvanceMinutes(4), 1440);
    EXPECT_EQ(AdvanceMinutes(5), 0);
    const EventMoment unknown = CalcAdvanceTime(7, may15, t(10, 0), true);
    EXPECT_EQ(unknown.date, may15);
    EXPECT_EQ(unknown.time, t(10, 0));
}

TEST(Advance, AddingItBackShowsTheEventMoment)
{
    const QDate day = d(2027, 1, 31);
    EXPECT_EQ(AddAdvanceBack(s("0"), day, t(23, 54)).time, t(23, 59));
    EXPECT_EQ(AddAdvanceBack(s("0"), day, t(23, 54)).date, day);
    EXPECT_EQ(AddAdvanceBack(s("0"), day, t(23, 55)).time, t(0, 0));
    EXPECT_EQ(AddAdvanceBack(s("0"), day, t(23, 55)).date, d(2027, 2, 1));
    EXPECT_EQ(AddAdvanceBack(s("3"), day, t(23, 10)).time, t(0, 10));
    EXPECT_EQ(AddAdvanceBack(s("3"), day, t(23, 10)).date, d(2027, 2, 1));
    EXPECT_EQ(AddAdvanceBack(s("3"), day, t(22, 59)).time, t(23, 59));
    EXPECT_EQ(AddAdvanceBack(s("3"), day, t(22, 59)).date, day);
    EXPECT_EQ(AddAdvanceBack(s("4"), day, t(7, 30)).date, d(2027, 2, 1));
    EXPECT_EQ(AddAdvanceBack(s("4"), d(2027, 2, 28), t(7, 30)).date, d(2027, 3, 1));
    EXPECT_EQ(AddAdvanceBack(s("4"), day, t(7, 30)).time, t(7, 30));
    // The seconds a picker holds are dropped; an unknown code moves nothing.
    EXPECT_EQ(AddAdvanceBack(s("1"), day, t(8, 0, 42)).time, t(8, 10));
    EXPECT_EQ(AddAdvanceBack(s(" 1"), day, t(8, 0)).time, t(8, 0));
    // Every code undoes its own advance.
    for (int code = 0; code < 5; ++code) {
        for (const QTime& time : {t(0, 0), t(0, 3), t(12, 30), t(23, 59)}) {
            const EventMoment ahead = CalcAdvanceTime(code, day, time, true);
            const EventMoment back = AddAdvanceBack(QString::number(code), ahead.date, ahead.time);
            EXPECT_EQ(back.date, day) << code;
            EXPECT_EQ(back.time, time) << code;
        }
    }
}

TEST(PastDate, TodayCountsOnlyWithATimeAndTomorrowNever)
{
    const QDateTime now(d(2026, 12, 10), t(14, 30, 20));
    const QDate today = now.date();
    for (PastThreshold threshold : {PastThreshold::TwoMinutes, PastThreshold::OneSecond}) {
        EXPECT_TRUE(IsPastMoment(today.addDays(-1), t(23, 59), true, now, threshold));
        EXPECT_TRUE(IsPastMoment(today.addDays(-1), t(23, 59), false, now, threshold));
        EXPECT_FALSE(IsPastMoment(today.addDays(1), t(0, 0), true, now, threshold));
        EXPECT_FALSE(IsPastMoment(today.addDays(1), t(0, 0), false, now, threshold));
        // Without a time only the date counts, whatever the hidden picker holds.
        EXPECT_FALSE(IsPastMoment(today, t(0, 0), false, now, threshold));
        EXPECT_TRUE(IsPastMoment(today, t(14, 27), true, now, threshold));
        EXPECT_FALSE(IsPastMoment(today, t(14, 31), true, now, threshold));
    }
    // OK counts whole minutes: more than two minute boundaries back is past.
    EXPECT_FALSE(IsPastMoment(today, t(14, 29), true, now, PastThreshold::TwoMinutes));
    EXPECT_FALSE(IsPastMoment(today, t(14, 28, 59), true, now, PastThreshold::TwoMinutes));
    EXPECT_TRUE(IsPastMoment(today, t(14, 27, 59), true, now, PastThreshold::TwoMinutes));
    // Add counts seconds.
    EXPECT_TRUE(IsPastMoment(today, t(14, 29), true, now, PastThreshold::OneSecond));
    EXPECT_TRUE(IsPastMoment(today, t(14, 30, 19), true, now, PastThreshold::OneSecond));
    EXPECT_FALSE(IsPastMoment(today, t(14, 30, 20), true, now, PastThreshold::OneSecond));
}

TEST(YearMove, ThePastDayComesRoundThisYearWhileAheadOtherwiseNextYear)
{
    const QDate may = d(2027, 5, 12);
    EXPECT_EQ(NextOccurrenceOfDay(d(2019, 12, 25), may), d(2027, 12, 25));
    EXPECT_EQ(NextOccurrenceOfDay(d(2027, 1, 3), may), d(2028, 1, 3));
    EXPECT_EQ(NextOccurrenceOfDay(d(2020, 5, 12), may), may);
    EXPECT_EQ(NextOccurrenceOfDay(may, may), may);
    // 29 February rolls over into March in a year without it.
    EXPECT_EQ(NextOccurrenceOfDay(d(2024, 2, 29), may), d(2028, 2, 29));
    EXPECT_EQ(NextOccurrenceOfDay(d(2024, 2, 29), d(2026, 12, 10)), d(2027, 3, 1));
    EXPECT_EQ(NextOccurrenceOfDay(d(2024, 2, 29), d(2027, 1, 20)), d(2027, 3, 1));
    EXPECT_EQ(DateWithDayOverflow(2027, 2, 29), d(2027, 3, 1));
    EXPECT_EQ(DateWithDayOverflow(2027, 4, 31), d(2027, 5, 1));
    EXPECT_EQ(DateWithDayOverflow(2028, 2, 29), d(2028, 2, 29));
    // Unlike the clamping addition of repeat steps.
    EXPECT_EQ(d(2024, 2, 29).addYears(3), d(2027, 2, 28));
}

TEST(YearMove, TheCommentKeepsTheUsersTextAfterTheNote)
{
    EXPECT_EQ(MovedDateComment(s("Birthday - 3 Jan 2020"), QString()), s("Birthday - 3 Jan 2020"));
    EXPECT_EQ(MovedDateComment(s("Birthday - 3 Jan 2020"), s("Bring flowers")),
              s("Birthday - 3 Jan 2020\nBring flowers"));
}

TEST(PlannerCells, TitleDateAndTimeAreCheckedAndConvertedBeforeAnyWrite)
{
    QVariant stored;
    QString refusal;
    EXPECT_FALSE(PlannerCellValue(s("Step_Name"), s(""), &stored, &refusal));
    EXPECT_EQ(refusal, s("mes222"));
    EXPECT_TRUE(PlannerCellValue(s("Step_Name"), s("  "), &stored, &refusal));
    EXPECT_EQ(stored.toString(), s("  "));

    EXPECT_FALSE(PlannerCellValue(s("Step_Date"), s(" "), &stored, &refusal));
    EXPECT_EQ(refusal, s("mes223"));
    EXPECT_FALSE(PlannerCellValue(s("Step_Date"), s("31 Feb 2027"), &stored, &refusal));
    EXPECT_EQ(refusal, s("mes66"));
    EXPECT_FALSE(PlannerCellValue(s("Step_Date"), s("tomorrow"), &stored, &refusal));
    EXPECT_EQ(refusal, s("mes66"));
    ASSERT_TRUE(PlannerCellValue(s("Step_Date"), s("2027.3.4"), &stored, &refusal));
    EXPECT_EQ(stored.toDate(), d(2027, 3, 4));
    ASSERT_TRUE(PlannerCellValue(s("Step_Date"), s("2027-03-05"), &stored, &refusal));
    EXPECT_EQ(stored.toDate(), d(2027, 3, 5));

    ASSERT_TRUE(PlannerCellValue(s("Step_Time"), s("9:05"), &stored, &refusal));
    EXPECT_EQ(stored.toString(), s("09:05"));
    ASSERT_TRUE(PlannerCellValue(s("Step_Time"), s("9:05 PM"), &stored, &refusal));
    EXPECT_EQ(stored.toString(), s("21:05"));
    ASSERT_TRUE(PlannerCellValue(s("Step_Time"), s(""), &stored, &refusal));
    EXPECT_TRUE(stored.isNull());
    for (const char* bad : {"25:00", "9.05", "noon", "12:61"}) {
        EXPECT_FALSE(PlannerCellValue(s("Step_Time"), s(bad), &stored, &refusal)) << bad;
        EXPECT_EQ(refusal, s("mes66")) << bad;
    }
    ASSERT_TRUE(PlannerCellValue(s("Step_Notes"), s(""), &stored, &refusal));
    EXPECT_EQ(stored.toString(), s(""));
}

class Entries : public ::testing::Test {
protected:
    void SetUp() override { env.PrepareUser(); }

    static QString value(const QString& path)
    {
        QString text;
        return RegRead(path, &text) == ReadResult::Found ? text : s("<none>");
    }

    TestEnv env;
};

TEST_F(Entries, NamesAndReadersFollowTheRowId)
{
    EXPECT_EQ(InAdvanceValuePath(42), ProgramKey() + s("InAdvance\\42"));
    EXPECT_EQ(SpecialKeyPath(42), ProgramKey() + s("Special\\42\\"));
    QString type;
    QString interval;
    EXPECT_EQ(ReadEventRule(42, &type, &interval), ReadResult::Missing);
    ASSERT_TRUE(RegWrite(SpecialKeyPath(42) + s("NextType"), s("w")));
    EXPECT_EQ(ReadEventRule(42, &type, &interval), ReadResult::Missing);
    ASSERT_TRUE(RegWrite(SpecialKeyPath(42) + s("NextInterval"), s("3")));
    ASSERT_EQ(ReadEventRule(42, &type, &interval), ReadResult::Found);
    EXPECT_EQ(type, s("w"));
    EXPECT_EQ(interval, s("3"));
    QString code;
    EXPECT_EQ(ReadAdvanceCode(42, &code), ReadResult::Missing);
}

TEST_F(Entries, ChangesGoTogetherAndRemovingWhatIsMissingIsNoError)
{
    ASSERT_TRUE(RegWrite(InAdvanceValuePath(7), s("2")));
    ASSERT_TRUE(RegWrite(ProgramKey() + s("Measures\\Work\\NextType"), s("d")));
    QList<EntryChange> changes = AdvanceEntryChanges(8, 4) + SpecialEntryChanges(8, s("M"), 2)
        + RemoveEventEntries(7) + RemoveEventEntries(99) + SpecialEntryChanges(9, QString(), 0);
    ASSERT_TRUE(WriteEntries(changes).Ok());
    EXPECT_EQ(value(InAdvanceValuePath(8)), s("4"));
    EXPECT_EQ(value(SpecialKeyPath(8) + s("NextType")), s("M"));
    EXPECT_EQ(value(SpecialKeyPath(8) + s("NextInterval")), s("2"));
    EXPECT_EQ(value(InAdvanceValuePath(7)), s("<none>"));
    EXPECT_EQ(value(ProgramKey() + s("Measures\\Work\\NextType")), s("d"));
    EXPECT_TRUE(WriteEntries(RemoveEventEntries(12345)).Ok());
    EXPECT_TRUE(WriteEntries({}).Ok());

    // A change the store refuses takes the ones before it back.
    EXPECT_FALSE(WriteEntries(AdvanceEntryChanges(10, 1) + RemoveEventEntries(8)
                              + QList<EntryChange>{{s("NoKey"), s("x")}})
                     .Ok());
    EXPECT_EQ(value(InAdvanceValuePath(10)), s("<none>"));
    EXPECT_EQ(value(InAdvanceValuePath(8)), s("4"));
}

}  // namespace

#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <optional>

// The date rules by which a repeating event comes back. Moments are wall-clock
// date and time of day, without a time zone.

// A repeat rule as the registry keeps it: interval letter ("yyyy" years, "M"
// months, "w" weeks, "d" days, "h" hours, "n" minutes; letter case counts) and count.
struct RepeatRule {
    QString type;
    int count = 0;
};

bool IsRepeatType(const QString& type);
// The count of a stored rule: a whole number above 0. A count of 0, a negative one
// or a text that is no whole number means the event does not repeat.
std::optional<int> RepeatCount(const QString& text);
// Minutes of an advance-notice code: "0" 5, "1" 10, "2" 30, "3" 60, "4" one day;
// 0 for any other text.
int AdvanceMinutes(const QString& code);

// The next reminder moment of an event whose reminder fired at `fired` (its listed
// date and time of day, minutes only) and that is shown `advanceMinutes` ahead of
// the event itself. The event moment (reminder plus advance) is stepped by the rule
// until the reminder moment (event less advance) lies after today (day, week, month
// and year rules) or after now (hour and minute rules). Month and year steps clamp
// to the end of a month and go on from there. Nothing for an unknown rule or a
// moment out of the calendar's range.
std::optional<QDateTime> NextReminderMoment(const QDate& date, const QTime& time, const RepeatRule& rule,
                                            int advanceMinutes, const QDateTime& now);

// True for the rules that step whole days, which keep the event's time of day.
bool IsDayRule(const QString& type);

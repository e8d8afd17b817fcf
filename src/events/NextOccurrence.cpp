#include "NextOccurrence.h"

namespace {

// Wall-clock moments are kept in UTC QDateTimes, so that no daylight-saving change
// moves a time of day.
QDateTime wallClock(const QDate& date, const QTime& time) { return QDateTime(date, time, Qt::UTC); }

// Seconds of one step of a fixed-length rule; 0 for months and years.
qint64 stepSeconds(const RepeatRule& rule)
{
    qint64 unit = 0;
    if (rule.type == QLatin1String("n"))
        unit = 60;
    else if (rule.type == QLatin1String("h"))
        unit = 3600;
    else if (rule.type == QLatin1String("d"))
        unit = 86400;
    else if (rule.type == QLatin1String("w"))
        unit = 7 * 86400;
    return unit * rule.count;
}

// The reminder moment is past when its day is today or earlier (day rules), or when
// it is now or earlier (hour and minute rules).
bool isPast(const QDateTime& reminder, const RepeatRule& rule, const QDateTime& now)
{
    return IsDayRule(rule.type) ? reminder.date() <= now.date() : reminder <= now;
}

// Stored dates have four-digit years.
constexpr int LastYear = 9999;

bool inRange(const QDateTime& moment) { return moment.isValid() && moment.date().year() <= LastYear; }

}  // namespace

bool IsRepeatType(const QString& type)
{
    return IsDayRule(type) || type == QLatin1String("h") || type == QLatin1String("n");
}

bool IsDayRule(const QString& type)
{
    return type == QLatin1String("yyyy") || type == QLatin1String("M") || type == QLatin1String("w")
        || type == QLatin1String("d");
}

std::optional<int> RepeatCount(const QString& text)
{
    bool ok = false;
    const int count = text.trimmed().toInt(&ok);
    if (!ok || count <= 0)
        return std::nullopt;
    return count;
}

int AdvanceMinutes(const QString& code)
{
    static const int minutes[] = {5, 10, 30, 60, 1440};
    const QString trimmed = code.trimmed();
    if (trimmed.size() != 1 || trimmed.at(0) < QLatin1Char('0') || trimmed.at(0) > QLatin1Char('4'))
        return 0;
    return minutes[trimmed.at(0).unicode() - '0'];
}

std::optional<QDateTime> NextReminderMoment(const QDate& date, const QTime& time, const RepeatRule& rule,
                                            int advanceMinutes, const QDateTime& nowLocal)
{
    if (!IsRepeatType(rule.type) || rule.count <= 0 || !date.isValid())
        return std::nullopt;
    const QTime minute = time.isValid() ? QTime(time.hour(), time.minute()) : QTime(0, 0);
    const QDateTime reminder = wallClock(date, minute);
    const QDateTime now = wallClock(nowLocal.date(), nowLocal.time());

    if (const qint64 step = stepSeconds(rule); step > 0) {
        // Fixed-length steps move the event and its reminder alike: count them at once.
        qint64 steps = 0;
        if (isPast(reminder, rule, now)) {
            const qint64 behind = IsDayRule(rule.type) ? reminder.date().daysTo(now.date()) * 86400
                                                       : reminder.secsTo(now);
            steps = behind / step + 1;
        }
        const QDateTime next = reminder.addSecs(steps * step);
        if (!inRange(next))
            return std::nullopt;
        return next;
    }

    // Months and years step the event moment, one calendar step at a time, so that
    // an event on the 1st stays on the 1st whatever its advance notice.
    if (rule.count > LastYear * (rule.type == QLatin1String("M") ? 12 : 1))
        return std::nullopt;
    QDateTime event = reminder.addSecs(qint64(advanceMinutes) * 60);
    QDateTime next = reminder;
    while (isPast(next, rule, now)) {
        event = rule.type == QLatin1String("M") ? event.addMonths(rule.count) : event.addYears(rule.count);
        if (!inRange(event))
            return std::nullopt;
        next = event.addSecs(-qint64(advanceMinutes) * 60);
    }
    return next;
}

#include "MonthGrid.h"

#include "core/Options.h"

bool SundayFirst() { return ReadOption(QStringLiteral("General"), QStringLiteral("fday")) == QLatin1String("S"); }

int MonthOffset(int year, int month, bool sundayFirst)
{
    const int weekday = QDate(year, month, 1).dayOfWeek();  // 1 Monday ... 7 Sunday
    return sundayFirst ? weekday % 7 : weekday - 1;
}

int DaysInMonth(int year, int month) { return QDate(year, month, 1).daysInMonth(); }

MonthMarks MarkMonth(int year, int month, int offset, const QDate& today, const QString& todayLine,
                     const QList<DayEvent>& events)
{
    MonthMarks marks;
    marks.colour.fill(PlainDayColour);
    const QString lineBreak = QStringLiteral("\r\n");
    if (today.year() == year && today.month() == month) {
        const int cell = offset + today.day() - 1;
        marks.colour[cell] = TodayColour;
        marks.tip[cell] = lineBreak + todayLine;
    }
    for (const DayEvent& event : events) {
        if (!event.date.isValid() || event.date.year() != year || event.date.month() != month)
            continue;
        const int cell = offset + event.date.day() - 1;
        marks.colour[cell] = EventDayColour;
        marks.tip[cell] += lineBreak + event.label + QStringLiteral(": ") + event.title;
    }
    return marks;
}

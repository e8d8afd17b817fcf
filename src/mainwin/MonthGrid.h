#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>

// The month calendar's grid: 42 day cells, 6 rows of 7 columns, row by row.
constexpr int DayCellCount = 42;

// Day states as 0xBBGGRR colours.
constexpr quint32 PlainDayColour = 0x808080;
constexpr quint32 TodayColour = 0x004000;
constexpr quint32 EventDayColour = 0x0040C0;

// True when the week starts on Sunday ([General] fday is exactly "S").
bool SundayFirst();
// Column of the month's 1st day in the first row.
int MonthOffset(int year, int month, bool sundayFirst);
int DaysInMonth(int year, int month);

// One event as the calendar shows it: the category label and title of its line.
struct DayEvent {
    QString label;
    QString title;
    QDate date;
};

// Colour and tooltip text of every cell. A tooltip text is the day's lines, each
// after a CR LF; empty means no tooltip.
struct MonthMarks {
    std::array<quint32, DayCellCount> colour;
    std::array<QString, DayCellCount> tip;
};

// Marks the month shown at offset: today (when it lies in that month) with the
// todayLine first, then one line per event of the month, in the order given.
MonthMarks MarkMonth(int year, int month, int offset, const QDate& today, const QString& todayLine,
                     const QList<DayEvent>& events);

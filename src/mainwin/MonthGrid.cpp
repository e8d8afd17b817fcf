#include "MonthGrid.h"

#include "core/Options.h"

#include <algorithm>

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
    // A day may hold hundreds of lines: each tooltip is sized once, then its lines
    // are copied in.
    const QString separator = QStringLiteral(": ");
    QList<int> cells;  // each event's cell, -1 for another month
    cells.reserve(events.size());
    std::array<qsizetype, DayCellCount> written{};
    std::array<qsizetype, DayCellCount> size{};
    for (const DayEvent& event : events) {
        int y = 0, m = 0, d = 0;
        event.date.getDate(&y, &m, &d);
        const int cell = event.date.isValid() && y == year && m == month ? offset + d - 1 : -1;
        cells.append(cell);
        if (cell >= 0)
            size[cell] += lineBreak.size() + event.label.size() + separator.size() + event.title.size();
    }
    for (int cell = 0; cell < DayCellCount; ++cell) {
        written[cell] = marks.tip[cell].size();
        marks.tip[cell].resize(written[cell] + size[cell]);
    }
    for (qsizetype i = 0; i < events.size(); ++i) {
        const int cell = cells[i];
        if (cell < 0)
            continue;
        marks.colour[cell] = EventDayColour;
        QChar* const start = marks.tip[cell].data();
        QChar* out = start + written[cell];
        for (const QString* piece : {&lineBreak, &events[i].label, &separator, &events[i].title})
            out = std::copy(piece->begin(), piece->end(), out);
        written[cell] = out - start;
    }
    return marks;
}

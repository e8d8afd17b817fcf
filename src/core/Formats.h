#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// How dates and times are shown. Dates use the system's short form with a
// four-digit year; times follow the program's time format ("H:mm AMPM" or "H:mm").

QString ShortDateFormat();
QString DateText(const QDate& date);
// A date typed as text: the short form, the locale's own short form or ISO; an
// invalid date for anything else.
QDate DateFromText(const QString& text);
// Qt's form of a time format text: "H:mm AMPM" gives "h:mm AP", "H:mm" stays.
QString QtTimeFormat(const QString& timeFormat);
// A time in the program's time format; a null time is shown as midnight.
QString TimeText(const QTime& time, const QString& timeFormat);
// The system's long time form (the main window's clock).
QString LongTimeText(const QTime& time);
// The program's time format for this system: "H:mm AMPM" when the system's time
// text ends in "M" (AM/PM), else "H:mm".
QString SystemTimeFormat();
// True when the system's week starts on Monday.
bool SystemWeekStartsOnMonday();

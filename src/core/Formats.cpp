#include "Formats.h"

#include <QLocale>

QString ShortDateFormat()
{
    QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QString DateText(const QDate& date) { return date.isValid() ? date.toString(ShortDateFormat()) : QString(); }

QDate DateFromText(const QString& text)
{
    QDate date = QLocale::system().toDate(text, ShortDateFormat());
    if (!date.isValid())
        date = QLocale::system().toDate(text, QLocale::ShortFormat);
    if (!date.isValid())
        date = QDate::fromString(text, Qt::ISODate);
    return date;
}

QString QtTimeFormat(const QString& timeFormat)
{
    return timeFormat == QLatin1String("H:mm AMPM") ? QStringLiteral("h:mm AP") : QStringLiteral("H:mm");
}

QString TimeText(const QTime& time, const QString& timeFormat)
{
    return QLocale::c().toString(time.isValid() ? time : QTime(0, 0), QtTimeFormat(timeFormat));
}

QString LongTimeText(const QTime& time)
{
    // The clock shows hours, minutes and seconds; the long form's time zone is left out.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale::system().toString(time, format.trimmed());
}

QString SystemTimeFormat()
{
    const QString sample = QLocale::system().toString(QTime(14, 5), QLocale::ShortFormat).trimmed();
    return sample.endsWith(QLatin1Char('M'), Qt::CaseInsensitive) ? QStringLiteral("H:mm AMPM")
                                                                   : QStringLiteral("H:mm");
}

bool SystemWeekStartsOnMonday() { return QLocale::system().firstDayOfWeek() == Qt::Monday; }

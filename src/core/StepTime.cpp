#include "StepTime.h"

#include <QDateTime>
#include <QLocale>

QTime ReadStepTime(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QTime)
        return value.toTime();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().time();
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return {};
    static const char* const forms[] = {"H:mm", "H:mm:ss", "h:mm AP", "h:mm:ss AP", "h:mm ap", "h:mm:ss ap"};
    for (const char* form : forms) {
        const QTime time = QLocale::c().toTime(text, QString::fromLatin1(form));
        if (time.isValid())
            return time;
    }
    QDateTime moment = QDateTime::fromString(text, Qt::ISODate);
    if (!moment.isValid())
        moment = QLocale::c().toDateTime(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return moment.isValid() ? moment.time() : QTime();
}

QString StepTimeText(const QTime& time) { return time.toString(QStringLiteral("HH:mm")); }

QString StepTimeTextSeconds(const QTime& time) { return time.toString(QStringLiteral("HH:mm:ss")); }

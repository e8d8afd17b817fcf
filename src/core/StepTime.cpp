#include "StepTime.h"

#include <QDateTime>
#include <QLocale>

namespace {

// "H:mm", "HH:mm" and "HH:mm:ss", the forms the program writes, read without the
// locale machinery (the dispatcher reads every row at every refresh).
char16_t unit(QStringView text, qsizetype i) { return text[i].unicode(); }
char16_t unit(QByteArrayView text, qsizetype i) { return static_cast<unsigned char>(text[i]); }

template <class Text>
QTime readPlain(Text text)
{
    auto digit = [&](qsizetype i) { return i < text.size() && unit(text, i) >= '0' && unit(text, i) <= '9'; };
    auto number = [&](qsizetype i) { return unit(text, i) - '0'; };
    qsizetype colon = digit(1) ? 2 : 1;
    if (!digit(0) || colon >= text.size() || unit(text, colon) != ':' || !digit(colon + 1) || !digit(colon + 2))
        return {};
    const int hours = colon == 2 ? number(0) * 10 + number(1) : number(0);
    const int minutes = number(colon + 1) * 10 + number(colon + 2);
    int seconds = 0;
    const qsizetype end = colon + 3;
    if (end != text.size()) {
        if (end + 3 != text.size() || unit(text, end) != ':' || !digit(end + 1) || !digit(end + 2))
            return {};
        seconds = number(end + 1) * 10 + number(end + 2);
    }
    return QTime(hours, minutes, seconds);
}

}  // namespace

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
    const QTime plain = readPlain(QStringView(text));
    if (plain.isValid())
        return plain;
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

QTime ReadStepTime(QByteArrayView utf8)
{
    const QTime plain = readPlain(utf8);
    return plain.isValid() ? plain : ReadStepTime(QVariant(QString::fromUtf8(utf8)));
}

QString StepTimeText(const QTime& time) { return time.toString(QStringLiteral("HH:mm")); }

QString StepTimeTextSeconds(const QTime& time) { return time.toString(QStringLiteral("HH:mm:ss")); }

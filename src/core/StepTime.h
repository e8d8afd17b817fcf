#pragma once

#include <QByteArrayView>
#include <QString>
#include <QTime>
#include <QVariant>

// The time of day of an event row (Step_Time): "HH:mm" as the editor and the next
// occurrence write it, "HH:mm:ss" for a snoozed copy, NULL for an event without a
// time (due at 00:00).

// Reads every form older rows may hold ("H:mm", "HH:mm:ss", "h:mm AP", a full
// date-time, a QTime); a null time for NULL, "" or an unreadable text. Never fails.
QTime ReadStepTime(const QVariant& value);
// The same from the stored UTF-8 bytes; the forms the program writes need no decoding.
QTime ReadStepTime(QByteArrayView utf8);
QString StepTimeText(const QTime& time);         // "HH:mm"
QString StepTimeTextSeconds(const QTime& time);  // "HH:mm:ss"

#include "Clock.h"

#include <QtGlobal>

namespace {

enum class Mode { Real, Fixed, Offset };

struct ClockState {
    Mode mode = Mode::Real;
    QDateTime fixed;
    qint64 offsetMs = 0;
    bool envRead = false;
};

ClockState& state()
{
    static ClockState s;
    if (!s.envRead) {
        s.envRead = true;
        const QString text = qEnvironmentVariable("TESSARYN_CLOCK");
        const QDateTime start = QDateTime::fromString(text, Qt::ISODate);
        if (start.isValid()) {
            s.mode = Mode::Offset;
            s.offsetMs = QDateTime::currentDateTime().msecsTo(start);
        }
    }
    return s;
}

}  // namespace

namespace Clock {

QDateTime Now()
{
    const ClockState& s = state();
    switch (s.mode) {
    case Mode::Fixed:
        return s.fixed;
    case Mode::Offset:
        return QDateTime::currentDateTime().addMSecs(s.offsetMs);
    case Mode::Real:
        break;
    }
    return QDateTime::currentDateTime();
}

QDateTime TickNow()
{
    if (state().mode != Mode::Real)
        return Now();
    static qint64 checkedMinute = -1;
    static int offsetSeconds = 0;
    const qint64 utcMs = QDateTime::currentMSecsSinceEpoch();
    if (utcMs / 60000 != checkedMinute) {
        checkedMinute = utcMs / 60000;
        offsetSeconds = QDateTime::currentDateTime().offsetFromUtc();
    }
    return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::OffsetFromUTC, offsetSeconds);
}

QDate Today() { return Now().date(); }

QTime TimeOfDay() { return Now().time(); }

void SetFixed(const QDateTime& moment)
{
    ClockState& s = state();
    s.mode = Mode::Fixed;
    s.fixed = moment;
}

void SetRunningFrom(const QDateTime& moment)
{
    ClockState& s = state();
    s.mode = Mode::Offset;
    s.offsetMs = QDateTime::currentDateTime().msecsTo(moment);
}

void Reset()
{
    ClockState& s = state();
    s.mode = Mode::Real;
    s.offsetMs = 0;
}

}  // namespace Clock

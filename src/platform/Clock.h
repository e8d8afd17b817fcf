#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

// The one clock every "now" of the program comes from. Tests fix it or shift it;
// the environment variable TESSARYN_CLOCK ("yyyy-MM-ddTHH:mm:ss") starts a process
// at that moment, after which the clock runs on in real time.
namespace Clock {

QDateTime Now();
QDate Today();
QTime TimeOfDay();
// Now, for timers that read the clock many times a second: the local time's offset
// is looked up at most once a minute (a look-up checks the time-zone file), so a
// change of zone shows within a minute. The moment carries that offset.
QDateTime TickNow();

// Freezes the clock at the given moment until Reset or another Set.
void SetFixed(const QDateTime& moment);
// Lets the clock run from the given moment on.
void SetRunningFrom(const QDateTime& moment);
void Reset();

}  // namespace Clock

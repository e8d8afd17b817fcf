#pragma once

// For the start-up benchmark: when TESSARYN_EXPOSE_PROBE is set, the first expose of
// a window prints the milliseconds since start and ends the process. The variable
// holds the CLOCK_REALTIME nanoseconds at which the process was started; any other
// value measures from the process's start time in /proc/self/stat.
void InstallExposeProbe();

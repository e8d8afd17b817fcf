#pragma once

// For the start-up benchmark: when TESSARYN_EXPOSE_PROBE holds the CLOCK_REALTIME
// nanoseconds at which the process was started, the first expose of a window prints
// the milliseconds since then and ends the process.
void InstallExposeProbe();

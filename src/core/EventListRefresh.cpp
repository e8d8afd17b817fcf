#include "frmProcess.h"

void frmProcess::DateRefresh() {}

void frmProcess::BusRefresh() {}

void frmProcess::ShowDueReminder() {}

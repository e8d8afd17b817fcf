#include "frmProcess.h"

void frmProcess::ShowDueReminder() {}

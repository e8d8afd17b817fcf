#include "frmProcess.h"

frmProcess::frmProcess()
    : Form(QStringLiteral("frmProcess"), DialogWindow)
{
}

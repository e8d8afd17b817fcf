#include "frmMain.h"

frmMain::frmMain()
    : Form(QStringLiteral("frmMain"), MainWindow)
{
}

void frmMain::ColorDates() {}

void frmMain::SetBaloons() {}

void frmMain::GetWeather5days() {}

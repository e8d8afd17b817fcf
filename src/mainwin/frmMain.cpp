#include "frmMain.h"

#include <QLabel>

frmMain::frmMain()
    : Form(QStringLiteral("frmMain"), MainWindow)
    , Label1(new QLabel(this))
    , Label2(new QLabel(this))
    , Label19(new QLabel(this))
    , Image4(new QLabel(this))
{
}

void frmMain::ColorDates() {}

void frmMain::SetBaloons() {}

void frmMain::GetWeather5days() {}

#include "mMain.h"

#include "Resources.h"
#include "frmProcess.h"

#include <QApplication>

int Main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    InitResources();
    Forms::Get<frmProcess>().hide();
    return app.exec();
}

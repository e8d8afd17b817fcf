// The floor of the start-up and idle figures: a bare Qt Widgets program with one
// plain window the size of the main window, and nothing else.
#include "platform/ExposeProbe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InstallExposeProbe();
    QWidget window;
    window.resize(800, 444);
    window.show();
    return app.exec();
}

#include "PositionHandOff.h"

#include "frmProcess.h"
#include "mainwin/frmMain.h"

#include <algorithm>

namespace {

qint16 handOffValue(int twips) { return static_cast<qint16>(std::clamp(twips, -32768, 32767)); }

}  // namespace

void TakeHandedPosition(Form& view)
{
    frmProcess& process = Forms::Get<frmProcess>();
    view.Move(process.PositionHandOffLeft, process.PositionHandOffTop);
    process.PositionHandOffTop = 0;
    process.PositionHandOffLeft = 0;
}

void GiveBackToMainWindow(const Form& view)
{
    frmProcess& process = Forms::Get<frmProcess>();
    process.PositionHandOffLeft = handOffValue(view.Left());
    process.PositionHandOffTop = handOffValue(view.Top());
    // The main window's load pumps events: it is shown only when it is still there.
    Forms::Get<frmMain>();
    if (frmMain* main = Forms::Find<frmMain>())
        main->ShowModeless();
}

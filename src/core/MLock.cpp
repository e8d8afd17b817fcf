#include "MLock.h"

#include "platform/Form.h"
#include "platform/MsgBox.h"

#include <QApplication>

namespace {

const char* const DialogNames[] = {
    "frmAbout",   "frmBackUp",      "frmBusAdd",  "frmCaseMsr",   "frmCntAdd",  "frmCntSearch",
    "frmCntTable", "frmGroupes",    "frmNoteGroupes", "frmIconAdd", "frmMesAdd", "frmMesSelect",
    "frmOptions", "frmReports",     "frmSetSelect", "frmSupport",  "frmWAB",     "frmWeather",
};

}  // namespace

bool IsDialogActive()
{
    if (OpenMessageBoxCount() > 0 || QApplication::activeModalWidget())
        return true;
    const Form* active = Forms::ActiveForm();
    if (!active)
        return false;
    for (const char* name : DialogNames) {
        if (active->objectName() == QLatin1String(name))
            return true;
    }
    return false;
}

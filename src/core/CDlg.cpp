#include "frmProcess.h"

#include "platform/FileDialog.h"

#include <QPointer>

namespace {

// The dialog windows that the file dialog closes first (all but its caller).
const char* const DialogsClosedFirst[] = {"frmBusAdd",  "frmCntAdd", "frmCntTable",  "frmGroupes",
                                          "frmIconAdd", "frmMesAdd", "frmMesSelect", "frmOptions",
                                          "frmSetSelect", "frmNoteGroupes"};

void closeOtherDialogs(Form* owner)
{
    for (const char* name : DialogsClosedFirst) {
        for (Form* form : Forms::Loaded()) {
            if (form != owner && form->objectName() == QLatin1String(name))
                Forms::Unload(form);
        }
    }
}

}  // namespace

QString frmProcess::CDlg(Form* owner, int mode, const QString& title, const QString& fileName,
                         const QString& initDir, const QString& flags, const QString& filter, bool cancelError,
                         const QString& defaultSuffix)
{
    closeOtherDialogs(owner);

    // The caller steps aside while the dialog is up. A modal caller stays visible
    // (hiding it would end its modal loop) and is only disabled.
    QPointer<Form> caller(owner);
    const bool staysVisible = owner && (owner->objectName() == QLatin1String("frmNote")
                                        || owner->objectName() == QLatin1String("frmMain"));
    bool hidden = false;
    bool disabled = false;
    if (owner && !staysVisible) {
        if (owner->IsShownModal()) {
            owner->setEnabled(false);
            disabled = true;
        } else if (owner->isVisible()) {
            owner->hide();
            hidden = true;
        }
    }

    QString result;
    bool flagsOk = false;
    flags.toLong(&flagsOk);
    if (mode < 1 || mode > 3) {
        result = QString();
    } else if (!flagsOk) {
        result = QStringLiteral("Error");
    } else {
        const QString folder = initDir.isEmpty() ? AppPath : initDir;
        const FileDialog::Mode modes[] = {FileDialog::Mode::Open, FileDialog::Mode::Save, FileDialog::Mode::Folder};
        const QString chosen = FileDialog::Ask(staysVisible ? owner : nullptr, modes[mode - 1], title,
                                               folder, fileName, FileDialog::QtFilter(filter), defaultSuffix);
        if (!chosen.isEmpty())
            result = chosen;
        else
            result = cancelError ? QStringLiteral("Error") : fileName;
    }

    if (caller && hidden)
        caller->show();
    if (caller && disabled)
        caller->setEnabled(true);
    return result;
}

#include "frmMainPopUp.h"

#include "MeasureRecord.h"
#include "core/SourceText.h"
#include "frmIconAdd.h"
#include "frmMain.h"
#include "core/DBConfig.h"
#include "core/Fatal.h"
#include "core/FolderFileExists.h"
#include "core/Options.h"
#include "core/frmProcess.h"
#include "platform/FileSystem.h"
#include "platform/MsgBox.h"

#include <QListWidget>
#include <QMenu>
#include <QPointer>

frmMainPopUp::frmMainPopUp()
    : Form(s("frmMainPopUp"), DialogWindow)
{
    mnuPopUp = new QMenu(this);
    mnuPopUp->setObjectName(s("mnuPopUp"));
    mnuOpen = mnuPopUp->addAction(QString());
    mnuOpen->setObjectName(s("mnuOpen"));
    QFont bold = mnuOpen->font();
    bold.setBold(true);
    mnuOpen->setFont(bold);
    mnuPopUp->setDefaultAction(mnuOpen);
    mnuPopUp->addSeparator()->setObjectName(s("Sep0"));
    mnuOptions = mnuPopUp->addAction(QString());
    mnuOptions->setObjectName(s("mnuOptions"));
    mnuDelete = mnuPopUp->addAction(QString());
    mnuDelete->setObjectName(s("mnuDelete"));
    mnuPopUp->addSeparator()->setObjectName(s("Sep1"));
    mnuNew = mnuPopUp->addAction(QString());
    mnuNew->setObjectName(s("mnuNew"));
}

void frmMainPopUp::Form_Load()
{
    mnuOpen->setText(GetLangText(s("mnu23")));
    mnuOptions->setText(GetLangText(s("mnu12")));
    mnuDelete->setText(GetLangText(s("mnu11")));
    mnuNew->setText(GetLangText(s("mnu24")));
    // Over an empty spot with nothing selected only a new category can be made.
    const QListWidgetItem* item = Forms::Get<frmMain>().SelectedCategoryItem();
    mnuOpen->setEnabled(item);
    mnuOptions->setEnabled(item);
    mnuDelete->setEnabled(item && item->text() != GetOwnText(s("evn1")));
}

void frmMainPopUp::PopUp(const QPoint& at)
{
    // The command runs after the menu has closed, while this window is still loaded.
    QAction* chosen = mnuPopUp->exec(at, mnuOpen);
    if (chosen == mnuOpen)
        mnuOpen_Click();
    else if (chosen == mnuOptions)
        mnuOptions_Click();
    else if (chosen == mnuDelete)
        mnuDelete_Click();
    else if (chosen == mnuNew)
        mnuNew_Click();
}

void frmMainPopUp::mnuOpen_Click() { Forms::Get<frmMain>().ListView1_DblClick(); }

void frmMainPopUp::mnuNew_Click() { frmIconAdd::ShowNew(&Forms::Get<frmMain>()); }

void frmMainPopUp::mnuOptions_Click()
{
    frmMain& main = Forms::Get<frmMain>();
    const QListWidgetItem* item = main.SelectedCategoryItem();
    if (!item)
        return;
    const QString shown = item->text();
    const QString stored = frmMain::StoredNameOf(item);
    // A rule that cannot be read would come up as none, and OK would switch it off.
    QString nextType;
    QString nextInterval;
    const ReadResult rule = ReadCategoryRule(shown, &nextType, &nextInterval);
    if (rule == ReadResult::Failed) {
        MsgBox(GetLangText(s("mes396")), 48, ProductName());
        return;
    }
    QPointer<frmIconAdd> editor(&Forms::Get<frmIconAdd>());
    editor->tbsOptions->setCurrentIndex(1);

    const QString iconPath = CategoryIconSource(stored);

    editor->EditCategory(shown, stored, iconPath.left(4) == QLatin1String("RES_"),
                         main.ImageList1.Icon(QLatin1Char('_') + shown));
    editor->SetRepeatPickers(rule == ReadResult::Found, nextType, nextInterval);
    Form* owner = Forms::ActiveForm();
    editor->ShowModal(owner ? owner : &main);
}

void frmMainPopUp::mnuDelete_Click()
{
    // The question runs an event loop: the main window may be unloaded under it.
    const QPointer<frmMain> main(&Forms::Get<frmMain>());
    const QListWidgetItem* item = main->SelectedCategoryItem();
    if (!item)
        return;
    if (main->ListView1->count() == 1) {
        MsgBox(GetLangText(s("mes171")), 48, ProductName());
        return;
    }
    const QString shown = item->text();
    if (shown == GetLangText(s("rpt12"))) {
        MsgBox(GetLangText(s("mes172")), 48, ProductName());
        return;
    }
    const QString stored = frmMain::StoredNameOf(item);
    const QString question = GetLangText(s("mes173")) + s(": \"") + shown + s("\" ?");
    if (MsgBox(question, 36, ProductName()) != vbYes || !main)
        return;
    item = main->SelectedCategoryItem();
    if (!item || item->text() != shown)
        return;

    QString iconPath;
    const DbResult deleted = DeleteCategoryRecord(stored, shown, &iconPath);
    if (!deleted.Ok()) {
        LogDbFailure(s("the category ") + shown + s(" was not deleted"), deleted);
        MsgBox(GetLangText(s("mes378")), 48, ProductName());
        return;
    }
    delete main->ListView1->takeItem(main->ListView1->row(item));
    // Only a file of the user's icon folder is the category's own; a path that a
    // restored database names elsewhere is left alone. The file goes after the row;
    // should it stay, it belongs to no category and only takes room.
    if (!iconPath.isEmpty() && FileExists(iconPath) && IsInIconFolder(iconPath))
        std::ignore = FileSystem::RemoveFile(iconPath);
    main->ImageList1.Remove(QLatin1Char('_') + shown);
    main->RefreshCategoryIcons();
    Forms::Get<frmProcess>().DateRefreshChanged();
}

#include "frmIconAdd.h"

#include "CategoryNames.h"
#include "MeasureRecord.h"
#include "frmMain.h"
#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Fatal.h"
#include "core/FolderFileExists.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/frmProcess.h"
#include "platform/Criteria.h"
#include "platform/FileSystem.h"
#include "platform/MsgBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTabWidget>

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

QIcon iconFileOrGeneric(const QString& shownName)
{
    const QIcon icon = LoadPictureFile(CategoryIconPath(shownName));
    return icon.isNull() ? ResourceIcon(s("RES_GENERIC")) : icon;
}

void reportError(const QString& description)
{
    MsgBox(GetLangText(s("mes65")) + s(" ") + description, 48, ProductName());
}

// Windows that hold the events table in memory see the renamed rows.
void resyncOpenEventRecordsets()
{
    for (Recordset* events : {&DataEnvironment1().rsCommand2, &DataEnvironment1().rsCommand3}) {
        if (events->State() == 1)
            events->Resync();
    }
}

}  // namespace

void frmIconAdd::refuseCount(const char* messageKey)
{
    MsgBox(GetLangText(s(messageKey)), 48, ProductName());
    tbsOptions->setCurrentIndex(1);
    Text2->setFocus();
    Text2->selectAll();
}

void frmIconAdd::refuseTakenName()
{
    MsgBox(GetLangText(s("mes166")), 48, ProductName());
    tbsOptions->setCurrentIndex(0);
    Text1->setFocus();
}

void frmIconAdd::Command0_Click()
{
    const QString name = EnteredName();
    if (name.isEmpty() || PicturePath.isEmpty()) {
        QApplication::beep();
        return;
    }
    if (RepeatCountValue(Text2->text()) == 0) {
        refuseCount("mes165");
        return;
    }
    // A taken name changes nothing: it is refused before any file, key or row.
    if (CategoryNameTaken(name, QString())) {
        refuseTakenName();
        return;
    }
    const QString iconPath = CategoryIconPath(name);
    const bool iconFileExisted = FileExists(iconPath);
    if (!CopyIconFile(PicturePath, name)) {
        reportError(GetLangText(s("mes17")));
        return;
    }

    Recordset& categories = DataEnvironment1().rsCommand1;
    OpenIfClosed(categories);
    DbResult result = categories.AddNew();
    if (result.Ok())
        result = categories.SetField(s("Measure_Name"), name);
    if (result.Ok())
        result = categories.SetField(s("LVIcon_Path"), iconPath);
    if (result.Ok())
        result = categories.Update();
    if (!result.Ok()) {
        categories.CancelUpdate();
        CloseIfOpen(categories);
        if (!iconFileExisted)
            FileSystem::RemoveFile(iconPath);
        if (result.status == DbStatus::DuplicateKey)
            refuseTakenName();
        else
            reportError(result.text);
        return;
    }
    CloseIfOpen(categories);

    QString letter;
    int count = 0;
    GetRepeatCode(&letter, &count);
    WriteCategoryRule(name, letter, count, false);
    // A main window loaded later lists the new row itself.
    if (frmMain* main = Forms::Find<frmMain>())
        main->AddCategoryRow(name, iconFileOrGeneric(name), name);
    Forms::Unload(this);
}

void frmIconAdd::Command2_Click()
{
    frmMain& main = Forms::Get<frmMain>();
    QListWidgetItem* item = main.SelectedCategoryItem();
    const QString newName = EnteredName();
    if (!item || newName.isEmpty()) {
        QApplication::beep();
        return;
    }
    if (RepeatCountValue(Text2->text()) == 0) {
        refuseCount("mes168");
        return;
    }
    const QString oldName = item->text();
    const QString storedName = frmMain::StoredNameOf(item);
    const bool renamed = newName != oldName;
    if (renamed && CategoryNameTaken(newName, storedName)) {
        refuseTakenName();
        return;
    }
    bool builtIn = false;
    if (!saveEditedRow(storedName, newName, renamed, &builtIn))
        return;

    const bool pictureChosen = !PicturePath.isEmpty() && !builtIn;
    if (!builtIn && (pictureChosen || renamed)) {
        const QString oldFile = CategoryIconPath(oldName);
        const QString newFile = CategoryIconPath(newName);
        const QString source = pictureChosen ? PicturePath : oldFile;
        // The old file goes only once its picture has reached the new one.
        const bool copied = FileExists(source) && CopyIconFile(source, newName);
        if (copied && renamed && oldFile != newFile && FileExists(oldFile))
            FileSystem::RemoveFile(oldFile);
        RefreshCategoryIcon(oldName, newName);
        frmMain::SetStoredName(item, newName);
    } else if (renamed) {
        const QIcon picture = main.ImageList1.Icon(QLatin1Char('_') + oldName);
        main.ImageList1.Remove(QLatin1Char('_') + oldName);
        main.ImageList1.Add(QLatin1Char('_') + newName, picture);
        item->setText(newName);
        main.RefreshCategoryIcons();
    }
    if (renamed)
        MoveCategoryRule(oldName, newName);
    QString letter;
    int count = 0;
    GetRepeatCode(&letter, &count);
    WriteCategoryRule(newName, letter, count, true);
    Forms::Unload(this);
    Forms::Get<frmProcess>().DateRefresh();
}

// The category's row: a built-in category changes its own text, a user category its
// row and, in the same transaction, the events filed under it.
bool frmIconAdd::saveEditedRow(const QString& storedName, const QString& newName, bool renamed, bool* builtIn)
{
    Recordset& categories = DataEnvironment1().rsCommand1;
    OpenIfClosed(categories);
    categories.MoveFirst();
    categories.Find(s("Measure_Name = ") + Criteria::Quote(storedName));
    if (categories.Eof()) {
        CloseIfOpen(categories);
        reportError(storedName);
        return false;
    }
    *builtIn = categories.Field(1).toString().left(4) == QLatin1String("RES_");
    const frmProcess& process = Forms::Get<frmProcess>();
    const QString builtInNames[3] = {process.BuiltInMeasure1, process.BuiltInMeasure2, process.BuiltInMeasure3};
    for (int number = 0; number < 3; ++number) {
        if (builtInNames[number].isEmpty() || categories.Field(0).toString() != builtInNames[number])
            continue;
        CloseIfOpen(categories);
        if (renamed && !SetOwnText(QStringLiteral("evn%1").arg(number + 1), newName)) {
            reportError(OwnTextsFilePath(process.LanguageName));
            return false;
        }
        return true;
    }
    if (*builtIn || (!renamed && PicturePath.isEmpty())) {
        CloseIfOpen(categories);
        return true;
    }

    Connection& events = DataEnvironment1().Connection1;
    DbResult result = events.BeginTrans();
    if (result.Ok() && renamed)
        result = categories.SetField(s("Measure_Name"), newName);
    if (result.Ok())
        result = categories.SetField(s("LVIcon_Path"), CategoryIconPath(newName));
    if (result.Ok())
        result = categories.Update();
    if (result.Ok() && renamed)
        result = events.Execute(s("UPDATE lst_Dates SET Measure_Name = ? WHERE Measure_Name = ? COLLATE UNICODE_NOCASE"),
                                {newName, storedName});
    if (result.Ok())
        result = events.CommitTrans();
    if (!result.Ok()) {
        if (events.InTransaction())
            events.RollbackTrans();
        categories.CancelUpdate();
        CloseIfOpen(categories);
        if (result.status == DbStatus::DuplicateKey)
            refuseTakenName();
        else
            reportError(result.text);
        return false;
    }
    CloseIfOpen(categories);
    if (renamed)
        resyncOpenEventRecordsets();
    return true;
}

void frmIconAdd::RefreshCategoryIcon(const QString& oldName, const QString& newName)
{
    frmMain& main = Forms::Get<frmMain>();
    main.ImageList1.Remove(QLatin1Char('_') + oldName);
    main.ImageList1.Add(QLatin1Char('_') + newName, iconFileOrGeneric(newName));
    if (QListWidgetItem* item = main.SelectedCategoryItem())
        item->setText(newName);
    main.RefreshCategoryIcons();
}

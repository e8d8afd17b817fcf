#include "frmIconAdd.h"

#include "CategoryNames.h"
#include "CategoryRename.h"
#include "MeasureRecord.h"
#include "core/SourceText.h"
#include "frmMain.h"
#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Fatal.h"
#include "core/FolderFileExists.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/frmProcess.h"
#include "platform/FileSystem.h"
#include "platform/MsgBox.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTabWidget>

#include <filesystem>
#include <tuple>

namespace {

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
        // A view left with the old name would file an edited event under it again.
        const DbResult read = events->State() == 1 ? events->Resync() : DbResult();
        if (!read.Ok())
            DatabaseFailure(events->ActiveConnection(), read);
    }
}

bool sameFile(const QString& a, const QString& b)
{
    std::error_code error;
    return a == b
           || std::filesystem::equivalent(QFile::encodeName(a).toStdString(), QFile::encodeName(b).toStdString(), error);
}

// A category's icon file, written whole under its final name before the commit of
// the row that names it, and put back as it was when that commit fails.
class IconFileWrite {
public:
    bool Write(const QString& source, const QString& shownName)
    {
        path_ = CategoryIconPath(shownName);
        existed_ = FileSystem::IsFile(path_);
        if (existed_ && !FileSystem::ReadAll(path_, &before_))
            return false;
        return FileExists(source) && CopyIconFile(source, shownName);
    }
    void Undo() const
    {
        if (path_.isEmpty())
            return;
        // Either way a file that stays belongs to no category and only takes room.
        if (existed_)
            std::ignore = FileSystem::WriteAtomic(path_, before_);
        else
            std::ignore = FileSystem::RemoveFile(path_);
    }

private:
    QString path_;
    bool existed_ = false;
    QByteArray before_;
};

// The rule of an edited category under its new name, in the caller's transaction.
DbResult writeEditedRule(const QString& oldName, const QString& newName, const QString& letter, int count)
{
    const bool written = MoveCategoryRule(oldName, newName) && WriteCategoryRule(newName, letter, count, true);
    return written ? DbResult() : DbResult::Failure(DbStatus::Error, CategoryRuleKey(newName));
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

void frmIconAdd::refuseSave(const DbResult& result)
{
    if (result.status == DbStatus::DuplicateKey) {
        refuseTakenName();
        return;
    }
    LogDbFailure(s("category editor"), result);
    reportError(result.Description());
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
    IconFileWrite icon;
    if (!icon.Write(PicturePath, name)) {
        reportError(GetLangText(s("mes17")));
        return;
    }
    QString letter;
    int count = 0;
    GetRepeatCode(&letter, &count);

    Recordset& categories = DataEnvironment1().rsCommand1;
    OpenIfClosed(categories);
    const DbResult result = CommitCategoryChange([&] {
        DbResult written = categories.AddNew();
        if (written.Ok())
            written = categories.SetField(s("Measure_Name"), name);
        if (written.Ok())
            written = categories.SetField(s("LVIcon_Path"), CategoryIconPath(name));
        if (written.Ok())
            written = categories.Update();
        if (written.Ok() && !WriteCategoryRule(name, letter, count, false))
            written = DbResult::Failure(DbStatus::Error, CategoryRuleKey(name));
        return written;
    });
    if (!result.Ok())
        categories.CancelUpdate();
    std::ignore = CloseIfOpen(categories);  // its edit was stored or cancelled above
    if (!result.Ok()) {
        icon.Undo();
        refuseSave(result);
        return;
    }
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

    const QString iconPath = CategoryIconSource(storedName);
    if (iconPath.isNull()) {
        reportError(storedName);
        return;
    }
    const int builtIn = BuiltInCategoryNumber(iconPath);
    if (builtIn != 0 ? !saveBuiltInCategory(builtIn, oldName, newName)
                     : !saveUserCategory(storedName, oldName, newName, iconPath))
        return;

    if (builtIn == 0 && (renamed || !PicturePath.isEmpty())) {
        RefreshCategoryIcon(oldName, newName);
        frmMain::SetStoredName(item, newName);
    } else if (renamed) {
        const QIcon picture = main.ImageList1.Icon(QLatin1Char('_') + oldName);
        main.ImageList1.Remove(QLatin1Char('_') + oldName);
        main.ImageList1.Add(QLatin1Char('_') + newName, picture);
        item->setText(newName);
        main.RefreshCategoryIcons();
    }
    Forms::Unload(this);
    Forms::Get<frmProcess>().DateRefreshChanged();
}

// A built-in category keeps its name in its own text. Its rule moves in one commit
// with the record of the rename; the own text is written after it, and a text that
// cannot be written puts the rule back.
bool frmIconAdd::saveBuiltInCategory(int number, const QString& oldName, const QString& newName)
{
    const QString language = Forms::Get<frmProcess>().LanguageName.trimmed();
    const bool renamed = newName != oldName;
    QString letter;
    int count = 0;
    GetRepeatCode(&letter, &count);
    const DbResult result = CommitCategoryChange([&] {
        const DbResult recorded =
            renamed ? RecordBuiltInRename({number, language, oldName, newName}) : DbResult();
        return recorded.Ok() ? writeEditedRule(oldName, newName, letter, count) : recorded;
    });
    if (!result.Ok()) {
        refuseSave(result);
        return false;
    }
    if (renamed && !FinishBuiltInRename(number)) {
        reportError(OwnTextsFilePath(language));
        return false;
    }
    return true;
}

// A user category's row, the events filed under it and its rule change in one
// commit; a new picture or a renamed one is in place before it, the old file goes
// after it.
bool frmIconAdd::saveUserCategory(const QString& storedName, const QString& oldName, const QString& newName,
                                  const QString& iconPath)
{
    const bool renamed = newName != oldName;
    const bool newFile = renamed || !PicturePath.isEmpty();
    const QString ownFile = CategoryIconPath(oldName);
    IconFileWrite icon;
    if (newFile) {
        const QString source = !PicturePath.isEmpty() ? PicturePath : FileExists(ownFile) ? ownFile : iconPath;
        if (!icon.Write(source, newName)) {
            reportError(GetLangText(s("mes17")));
            return false;
        }
    }
    QString letter;
    int count = 0;
    GetRepeatCode(&letter, &count);

    Recordset& categories = DataEnvironment1().rsCommand1;
    Connection& events = DataEnvironment1().Connection1;
    OpenIfClosed(categories);
    const DbResult found = FindCategory(categories, storedName);
    const DbResult result = CommitCategoryChange([&] {
        DbResult written = found;
        if (written.Ok() && categories.Eof())
            written = DbResult::Failure(DbStatus::Error, storedName);
        if (written.Ok() && renamed)
            written = categories.SetField(s("Measure_Name"), newName);
        if (written.Ok() && newFile)
            written = categories.SetField(s("LVIcon_Path"), CategoryIconPath(newName));
        if (written.Ok() && newFile)
            written = categories.Update();
        if (written.Ok() && renamed)
            written = events.Execute(
                s("UPDATE lst_Dates SET Measure_Name = ? WHERE Measure_Name = ? COLLATE UNICODE_NOCASE"),
                {newName, storedName});
        if (written.Ok())
            written = writeEditedRule(oldName, newName, letter, count);
        return written;
    });
    if (!result.Ok())
        categories.CancelUpdate();
    std::ignore = CloseIfOpen(categories);  // its edit was stored or cancelled above
    if (!result.Ok()) {
        icon.Undo();
        refuseSave(result);
        return false;
    }
    if (renamed) {
        // The row names the new file; the old one, should it stay, only takes room.
        if (FileExists(ownFile) && !sameFile(ownFile, CategoryIconPath(newName)))
            std::ignore = FileSystem::RemoveFile(ownFile);
        resyncOpenEventRecordsets();
    }
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

#include "SaveCases.h"

#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Options.h"
#include "core/frmProcess.h"
#include "mainwin/MeasureRecord.h"
#include "mainwin/frmIconAdd.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmMainPopUp.h"
#include "platform/DatabaseCopy.h"
#include "platform/FileDialog.h"
#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"
#include "platform/MsgBox.h"
#include "Require.h"
#include "TestEnv.h"
#include "tools/frmBackUp.h"

#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

void setRule(frmIconAdd& editor, const QString& letter, int count)
{
    if (letter.isEmpty()) {
        editor.Option1->setChecked(true);
        return;
    }
    editor.Option2->setChecked(true);
    editor.Combo1->setCurrentIndex(4);
    editor.Combo2->setCurrentIndex(RepeatUnitIndex(letter));
    editor.Text2->setText(QString::number(count));
}

void choosePicture(frmIconAdd& editor, const QString& picture)
{
    FileDialog::PushResult(picture);
    editor.Command3_Click();
}

bool select(const QString& shownName)
{
    const QList<QListWidgetItem*> found = Forms::Get<frmMain>().ListView1->findItems(shownName, Qt::MatchExactly);
    if (found.size() != 1)
        return false;
    Forms::Get<frmMain>().ListView1->setCurrentItem(found.first());
    return true;
}

bool lastMessageIs(const char* key)
{
    const QList<MsgBoxScript::Shown> shown = MsgBoxScript::Log();
    return !shown.isEmpty() && shown.last().text == GetLangText(QString::fromLatin1(key));
}

}  // namespace

void LoadForSaveCases(const QString& language)
{
    frmProcess& process = Forms::LoadWithoutLoadRoutine<frmProcess>();
    process.AppPath = KnownFolders::ProgramFolder();
    process.LanguageName = language;
    process.TimeFormat = QStringLiteral("H:mm");
    process.Timer1->stop();
    MsgBoxScript::SetAutomatic(true);
    Forms::Get<frmMain>();
}

bool SaveNewCategory(const QString& name, const QString& picture, const QString& letter, int count)
{
    frmIconAdd& editor = Forms::Get<frmIconAdd>();
    editor.Text1->setText(name);
    choosePicture(editor, picture);
    setRule(editor, letter, count);
    editor.Command0_Click();
    const bool saved = !Forms::IsLoaded<frmIconAdd>();
    Forms::Unload<frmIconAdd>();
    return saved;
}

bool SaveEditedCategory(const QString& shownName, const QString& newName, const QString& picture,
                        const QString& letter, int count)
{
    if (!select(shownName))
        return false;
    bool saved = false;
    QTimer::singleShot(0, qApp, [&] {
        frmIconAdd& editor = Forms::Get<frmIconAdd>();
        if (!picture.isEmpty())
            choosePicture(editor, picture);
        editor.Text1->setText(newName);
        setRule(editor, letter, count);
        editor.Command2_Click();
        saved = !Forms::IsLoaded<frmIconAdd>();
        if (!saved)
            editor.Command1_Click();
    });
    Forms::Get<frmMainPopUp>().mnuOptions_Click();
    Forms::Unload<frmMainPopUp>();
    return saved;
}

bool DeleteCategory(const QString& shownName)
{
    if (!select(shownName))
        return false;
    MsgBoxScript::Push(vbYes);
    Forms::Get<frmMainPopUp>().mnuDelete_Click();
    Forms::Unload<frmMainPopUp>();
    return Forms::Get<frmMain>().ListView1->findItems(shownName, Qt::MatchExactly).isEmpty();
}

bool RestoreBackup(const QString& file)
{
    frmBackUp& wizard = Forms::Get<frmBackUp>();
    wizard.Option1[1]->setChecked(true);
    FileDialog::PushResult(file);
    wizard.cmdNext->click();
    // The backup is checked on a worker thread; the wizard then ends the restore.
    PumpUntil([] {
        const frmBackUp* shown = Forms::Find<frmBackUp>();
        return !shown || !shown->Restoring();
    });
    Forms::Unload<frmBackUp>();
    return lastMessageIs("mes51");
}

QStringList CategoryStoreFaults()
{
    QStringList faults;
    Recordset& categories = DataEnvironment1().rsCommand1;
    OpenIfClosed(categories);
    QStringList shown;
    for (int row = 0; row < categories.RecordCount(); ++row) {
        const QString name = categories.ValueAt(row, 0).toString();
        const QString icon = categories.ValueAt(row, 1).toString();
        if (icon == QLatin1String("System"))
            continue;
        if (icon.startsWith(QLatin1String("RES_"))) {
            shown.append(GetOwnText(QStringLiteral("evn") + icon.mid(4)));
            continue;
        }
        shown.append(name);
        if (icon != CategoryIconPath(name))
            faults.append(QStringLiteral("%1 names the icon file %2").arg(name, icon));
        else if (LoadPictureFile(icon).isNull())
            faults.append(QStringLiteral("%1 has no whole icon file").arg(name));
    }
    Require(CloseIfOpen(categories));
    for (const QString& rule : CategoryRuleNames()) {
        if (!shown.contains(rule, Qt::CaseInsensitive))
            faults.append(QStringLiteral("a rule of %1, which no category shows").arg(rule));
    }
    const QString system = KnownFolders::UserDataFolder() + QStringLiteral("/System");
    for (const QString& root : {KnownFolders::UserDataFolder(), KnownFolders::SharedDataFolder()}) {
        QDirIterator files(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            files.next();
            if (FileSystem::IsAtomicWriteLeftOver(files.fileName())
                || (files.path() == system && DatabaseCopy::IsRestoreLeftOver(system, files.fileName())))
                faults.append(QStringLiteral("the left-over %1").arg(files.filePath()));
        }
    }
    return faults;
}

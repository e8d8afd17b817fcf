#include "frmMain.h"

#include "MeasureRecord.h"
#include "frmMainPopUp.h"
#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Fatal.h"
#include "core/FolderFileExists.h"
#include "core/MeasureNames.h"
#include "core/Options.h"
#include "core/Resources.h"
#include "core/frmProcess.h"
#include "events/frmOrg.h"
#include "platform/MsgBox.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>

namespace {

struct CategoryRow {
    QString name;
    QString iconPath;
};

QList<CategoryRow> readCategories()
{
    Recordset& categories = DataEnvironment1().rsCommand1;
    OpenIfClosed(categories);
    QList<CategoryRow> rows;
    for (int row = 0; row < categories.RecordCount(); ++row)
        rows.append({categories.ValueAt(row, 0).toString(), categories.ValueAt(row, 1).toString()});
    std::ignore = CloseIfOpen(categories);  // only read: the writers store their edits themselves
    return rows;
}

// The picture of a file, or the generic category picture when the file is none: a
// damaged icon file must not keep the program from starting.
QIcon pictureOrGeneric(const QString& path)
{
    QIcon icon = LoadPictureFile(path);
    if (icon.isNull()) {
        qWarning().noquote() << QStringLiteral("Tessaryn: the category icon %1 cannot be loaded as a picture; "
                                               "the category is shown with the generic picture.")
                                    .arg(path);
        icon = ResourceIcon(QStringLiteral("RES_GENERIC"));
    }
    return icon;
}

}  // namespace

void frmMain::OpenDB()
{
    {
        const QSignalBlocker blocker(ListView1);
        ListView1->clear();
    }
    frmProcess& process = Forms::Get<frmProcess>();
    QString* const builtInNames[3] = {&process.BuiltInMeasure1, &process.BuiltInMeasure2,
                                      &process.BuiltInMeasure3};
    QStringList shownNames;
    for (const CategoryRow& row : readCategories()) {
        if (row.iconPath == QLatin1String("System"))
            continue;
        const int number = BuiltInCategoryNumber(row.iconPath);
        if (number == 0) {
            // Another resource picture names no category of the list.
            if (row.iconPath.left(4) != QLatin1String("RES_")) {
                AddCategoryRow(row.name, LoadCategoryIcon(row.iconPath, row.name), row.name);
                shownNames.append(row.name);
            }
            continue;
        }
        const QString shown = GetOwnText(QStringLiteral("evn%1").arg(number));
        AddCategoryRow(shown, ResourceIcon(row.iconPath), row.name);
        shownNames.append(shown);
        *builtInNames[number - 1] = row.name;
        if (number == 1)
            WriteDefaultCategoryRule(shown);
    }
    RemoveRulesOfNoCategory(shownNames);
}

void frmMain::AddCategoryRow(const QString& shownName, const QIcon& icon, const QString& storedName)
{
    const QString key = QLatin1Char('_') + shownName;
    // Two rows of one shown name (a built-in category's own text met a user
    // category's name after a change of language): both are listed, the key keeps
    // the first one's picture.
    if (!ListView1->findItems(shownName, Qt::MatchFixedString).isEmpty()) {
        qWarning().noquote() << QStringLiteral("Tessaryn: two event categories are shown as \"%1\".").arg(shownName);
    } else {
        ImageList1.Add(key, icon);
    }
    auto* item = new QListWidgetItem(icon, shownName);
    SetStoredName(item, storedName);
    const QSignalBlocker blocker(ListView1);
    ListView1->addItem(item);
}

void frmMain::RefreshCategoryIcons()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    for (int row = 0; row < ListView1->count(); ++row) {
        QListWidgetItem* item = ListView1->item(row);
        const QIcon icon = ImageList1.Icon(QLatin1Char('_') + item->text());
        if (!icon.isNull())
            item->setIcon(icon);
    }
    QGuiApplication::restoreOverrideCursor();
}

QListWidgetItem* frmMain::SelectedCategoryItem() const
{
    QListWidgetItem* item = ListView1->currentItem();
    return item && item->isSelected() ? item : nullptr;
}

QString frmMain::StoredNameOf(const QListWidgetItem* item)
{
    const QVariant stored = item->data(Qt::UserRole);
    return stored.isValid() ? stored.toString() : StoredMeasureName(item->text());
}

void frmMain::SetStoredName(QListWidgetItem* item, const QString& storedName)
{
    item->setData(Qt::UserRole, storedName);
}

QIcon frmMain::LoadCategoryIcon(const QString& iconPath, const QString& name)
{
    if (FileExists(iconPath))
        return pictureOrGeneric(iconPath);
    const QString question = GetLangText(QStringLiteral("mes14")) + QStringLiteral(" \"") + name
        + QStringLiteral("\". ") + GetLangText(QStringLiteral("mes15"));
    if (MsgBox(question, 52, ProductName()) != vbYes)
        FatalEnd();
    ChooseCategoryIcon(name);
    // The copy is the category's icon file; a path stored by another system names
    // some other place.
    return pictureOrGeneric(FileExists(iconPath) ? iconPath : CategoryIconPath(name));
}

void frmMain::ChooseCategoryIcon(const QString& name)
{
    frmProcess& process = Forms::Get<frmProcess>();
    for (;;) {
        const QString chosen = process.CDlg(this, 1, GetLangText(QStringLiteral("mes169")), QString(),
                                            process.AppPath + QStringLiteral("/Icons/"), QStringLiteral("6150"),
                                            GetLangText(QStringLiteral("mes170")) + QStringLiteral(" *.ico|*.ico"),
                                            true);
        if (chosen != QLatin1String("Error") && !chosen.isEmpty()) {
            if (CopyIconFile(chosen, name))
                return;
            MsgBox(GetLangText(QStringLiteral("mes17")), 48, ProductName());
            continue;
        }
        if (MsgBox(GetLangText(QStringLiteral("mes16")), 308, ProductName()) == vbYes)
            FatalEnd();
    }
}

void frmMain::ListView1_DblClick()
{
    if (SelectedCategoryItem())
        OpenPlanner(true);
}

void frmMain::ListView1_KeyPress(int keyCode)
{
    if (keyCode == 13 && SelectedCategoryItem())
        OpenPlanner(false);
}

void frmMain::ListView1_MouseUp(Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    Forms::Get<frmMainPopUp>().PopUp(QCursor::pos());
    Forms::Unload<frmMainPopUp>();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListView1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ListView1_KeyPress(13);
            return true;
        }
    }
    if (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonRelease)
        ListView1_MouseUp(static_cast<QMouseEvent*>(event)->button());
    return Form::eventFilter(watched, event);
}

void frmMain::OpenPlanner(bool handOff)
{
    QListWidgetItem* item = SelectedCategoryItem();
    if (!item)
        return;
    const int row = ListView1->row(item);
    if (handOff)
        HandOffPosition();
    frmOrg& planner = Forms::Get<frmOrg>();
    planner.FillCategories(ListView1);
    planner.SelectCategory(row);
    // Without a hand-off the planner takes this window's place directly.
    if (!handOff)
        planner.Move(Left(), Top());
    planner.ShowModeless();
}

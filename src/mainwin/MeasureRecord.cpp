#include "MeasureRecord.h"

#include "CategoryRename.h"

#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/Fatal.h"
#include "core/FolderFileExists.h"
#include "core/MeasureNames.h"
#include "core/Options.h"
#include "core/RegData.h"
#include "core/clsINI.h"
#include "platform/Criteria.h"
#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QPixmap>
#include <QSignalBlocker>

#include <algorithm>
#include <tuple>

namespace {

const QString NextType = QStringLiteral("NextType");
const QString NextInterval = QStringLiteral("NextInterval");

const char* const UnitLetters[] = {"yyyy", "M", "w", "d", "h", "n"};
const int CountLimits[] = {9, 99, 99, 364, 23, 59};

}  // namespace

QString CategoryRuleKey(const QString& shownName)
{
    return ProgramKey() + QStringLiteral("Measures\\") + shownName + QLatin1Char('\\');
}

ReadResult ReadCategoryRule(const QString& shownName, QString* nextType, QString* nextInterval)
{
    return RegReadRule(CategoryRuleKey(shownName), nextType, nextInterval);
}

bool WriteCategoryRule(const QString& shownName, const QString& nextType, int nextInterval, bool editedCategory)
{
    const QString key = CategoryRuleKey(shownName);
    if (!nextType.isEmpty())
        return RegWrite(key + NextType, nextType) && RegWrite(key + NextInterval, QString::number(nextInterval));
    if (!editedCategory)
        return true;
    QString type;
    QString interval;
    const ReadResult held = RegReadRule(key, &type, &interval);
    if (held != ReadResult::Found)
        return held == ReadResult::Missing;
    return RegWrite(key + NextInterval, QStringLiteral("0")) && RegDelete(key + NextType);
}

void WriteDefaultCategoryRule(const QString& shownName)
{
    const QString key = CategoryRuleKey(shownName);
    // A value that cannot be read may be a rule switched off: it is not written over.
    QString interval;
    if (RegRead(key + NextInterval, &interval) != ReadResult::Missing)
        return;
    // A default that could not be written is written at the next load.
    std::ignore = CommitCategoryChange([&] {
        const bool written =
            RegWrite(key + NextType, QStringLiteral("yyyy")) && RegWrite(key + NextInterval, QStringLiteral("1"));
        return written ? DbResult() : DbResult::Failure(DbStatus::Error, key);
    });
}

bool MoveCategoryRule(const QString& oldShownName, const QString& newShownName)
{
    // Key names ignore letter case: a rename in case alone keeps the same key.
    if (oldShownName.compare(newShownName, Qt::CaseInsensitive) == 0)
        return true;
    const QString oldKey = CategoryRuleKey(oldShownName);
    const ReadResult held = RegKeyExists(oldKey);
    if (held != ReadResult::Found)
        return held == ReadResult::Missing;
    if (!DeleteCategoryRule(newShownName))
        return false;
    const QString newKey = CategoryRuleKey(newShownName);
    for (const QString& name : {NextType, NextInterval}) {
        QString value;
        const ReadResult read = RegRead(oldKey + name, &value);
        if (read == ReadResult::Failed || (read == ReadResult::Found && !RegWrite(newKey + name, value)))
            return false;
    }
    return RegDelete(oldKey);
}

bool DeleteCategoryRule(const QString& shownName)
{
    const QString key = CategoryRuleKey(shownName);
    const ReadResult there = RegKeyExists(key);
    return there == ReadResult::Missing || (there == ReadResult::Found && RegDelete(key));
}

QStringList CategoryRuleNames()
{
    return RegSubKeys(ProgramKey() + QStringLiteral("Measures\\"));
}

void RemoveRulesOfNoCategory(const QStringList& shownNames)
{
    // Whatever cannot be read keeps every rule until the next load.
    QStringList kept = shownNames;
    if (!AddRenamingNames(&kept))
        return;
    const QString ownTexts = KnownFolders::UserDataFolder() + QStringLiteral("/System/Own");
    for (const QString& file : FileSystem::FileNames(ownTexts)) {
        QByteArray bytes;
        if (!FileSystem::ReadAll(ownTexts + QLatin1Char('/') + file, &bytes))
            return;
        clsINI texts;
        texts.Parse(bytes);
        for (const char* key : {"evn1", "evn2", "evn3"})
            kept.append(texts.Value(QStringLiteral("Values"), QLatin1String(key)));
    }
    QStringList orphans;
    for (const QString& name : CategoryRuleNames()) {
        if (!kept.contains(name, Qt::CaseInsensitive))
            orphans.append(name);
    }
    if (orphans.isEmpty())
        return;
    // The rule an event's reminder reads, by its category's shown name, stays.
    QList<QVariantList> used;
    Connection& events = DataEnvironment1().Connection1;
    OpenIfClosed(events);
    if (!events.Query(QStringLiteral("SELECT DISTINCT Measure_Name FROM lst_Dates"), {}, &used).Ok())
        return;
    for (const QVariantList& category : used) {
        const QString shown = ShownMeasureName(category.value(0).toString());
        orphans.removeIf([&](const QString& name) { return name.compare(shown, Qt::CaseInsensitive) == 0; });
    }
    if (orphans.isEmpty())
        return;
    // Rules that stay are read by no one and are removed at the next load.
    std::ignore = CommitCategoryChange([&] {
        for (const QString& name : orphans) {
            if (!RegDelete(CategoryRuleKey(name)))
                return DbResult::Failure(DbStatus::Error, CategoryRuleKey(name));
        }
        return DbResult();
    });
}

DbResult FindCategory(Recordset& categories, const QString& storedName)
{
    const DbResult result = categories.MoveFirst();
    return result.Ok() ? categories.Find(QStringLiteral("Measure_Name = ") + Criteria::Quote(storedName)) : result;
}

QString CategoryIconSource(const QString& storedName)
{
    Recordset& categories = DataEnvironment1().rsCommand1;
    OpenIfClosed(categories);
    const QString iconPath = FindCategory(categories, storedName).Ok() && !categories.Eof()
                                 ? categories.Field(1).toString()
                                 : QString();
    std::ignore = CloseIfOpen(categories);  // only read here
    return iconPath;
}

DbResult CommitCategoryChange(const std::function<DbResult()>& writes)
{
    Connection& events = DataEnvironment1().Connection1;
    OpenIfClosed(events);
    DbResult result = events.BeginTrans();
    if (result.Ok())
        result = writes();
    if (result.Ok())
        result = events.CommitTrans();
    if (!result.Ok() && events.InTransaction())
        std::ignore = events.RollbackTrans();  // the failure reported is the first one
    return result;
}

DbResult DeleteCategoryRecord(const QString& storedName, const QString& shownName, QString* iconPath)
{
    Recordset& categories = DataEnvironment1().rsCommand1;
    OpenIfClosed(categories);
    const DbResult looked = FindCategory(categories, storedName);
    const bool found = looked.Ok() && !categories.Eof();
    if (found)
        *iconPath = categories.Field(1).toString();
    const DbResult result = !looked.Ok() ? looked : CommitCategoryChange([&] {
        DbResult deleted = found ? categories.Delete() : DbResult();
        if (deleted.Ok() && !DeleteCategoryRule(shownName))
            deleted = DbResult::Failure(DbStatus::Error, CategoryRuleKey(shownName));
        return deleted;
    });
    std::ignore = CloseIfOpen(categories);  // the delete is stored at once: nothing is pending
    return result;
}

QString RepeatUnitLetter(int unitIndex)
{
    if (unitIndex < 0 || unitIndex >= 6)
        return {};
    return QString::fromLatin1(UnitLetters[unitIndex]);
}

int RepeatUnitIndex(const QString& letter)
{
    for (int i = 0; i < 6; ++i) {
        if (letter == QLatin1String(UnitLetters[i]))
            return i;
    }
    return -1;
}

int RepeatCountLimit(int unitIndex) { return unitIndex >= 0 && unitIndex < 6 ? CountLimits[unitIndex] : 0; }

int RepeatCountValue(const QString& text)
{
    int value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = std::min(value * 10 + (c.unicode() - '0'), 32767);
    }
    return value;
}

int BuiltInCategoryNumber(const QString& iconPath)
{
    for (int number = 1; number <= 3; ++number) {
        if (iconPath == QStringLiteral("RES_%1").arg(number))
            return number;
    }
    return 0;
}

QString CategoryIconFolder() { return KnownFolders::UserDataFolder() + QStringLiteral("/System/Icons"); }

QString CategoryIconPath(const QString& shownName)
{
    return CategoryIconFolder() + QLatin1Char('/') + shownName + QStringLiteral(".ico");
}

bool IsInIconFolder(const QString& path)
{
    const QFileInfo file(path);
    return file.isFile() && file.absoluteDir().canonicalPath() == QFileInfo(CategoryIconFolder()).canonicalFilePath();
}

QIcon LoadPictureFile(const QString& path)
{
    QImageReader reader(path);
    QIcon icon;
    do {
        const QImage image = reader.read();
        if (image.isNull())
            break;
        icon.addPixmap(QPixmap::fromImage(image));
    } while (reader.jumpToNextImage());
    return icon;
}

bool CopyIconFile(const QString& source, const QString& shownName)
{
    const QString system = KnownFolders::UserDataFolder() + QStringLiteral("/System");
    if (!FolderExists(system))
        FatalEnd(GetLangText(QStringLiteral("mes167")) + QStringLiteral(" System"));
    if (!FolderExists(CategoryIconFolder()))
        FatalEnd(GetLangText(QStringLiteral("mes167")) + QStringLiteral(" Icons"));
    const QString target = CategoryIconPath(shownName);
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath() && FileExists(target))
        return true;
    return FileSystem::CopyAtomic(source, target);
}

void KeepRepeatCountValid(QLineEdit* box, int unitIndex, bool selectLimit)
{
    QString count = box->text();
    if (count.isEmpty() || count.back() < QLatin1Char('0') || count.back() > QLatin1Char('9')) {
        QApplication::beep();
        if (!count.isEmpty()) {
            count.remove(count.back());
            const QSignalBlocker blocker(box);
            box->setText(count);
            box->setCursorPosition(static_cast<int>(count.size()));
        }
    }
    const int limit = RepeatCountLimit(unitIndex);
    if (!count.isEmpty() && limit > 0 && RepeatCountValue(count) > limit) {
        const QSignalBlocker blocker(box);
        box->setText(QString::number(limit));
        if (selectLimit)
            box->selectAll();
        else
            box->setCursorPosition(static_cast<int>(box->text().size()));
    }
}

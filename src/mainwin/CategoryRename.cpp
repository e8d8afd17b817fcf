#include "CategoryRename.h"

#include "MeasureRecord.h"
#include "core/Options.h"
#include "core/RegData.h"
#include "platform/FileSystem.h"

#include <cstdio>
#include <optional>

namespace {

const QString Language = QStringLiteral("Language");
const QString OldName = QStringLiteral("OldName");
const QString NewName = QStringLiteral("NewName");
const QString RuleValues[] = {QStringLiteral("NextType"), QStringLiteral("NextInterval")};

QString recordKey(int number) { return ProgramKey() + QStringLiteral("Renaming\\evn%1\\").arg(number); }

struct Record {
    BuiltInRename rename;
    std::optional<QString> rule[2];  // the old rule's values, where it had them
};

DbResult failure(const QString& path) { return DbResult::Failure(DbStatus::Error, path); }

// Missing when the category has no record.
ReadResult readRecord(int number, Record* record)
{
    const QString key = recordKey(number);
    record->rename.number = number;
    ReadResult read = RegRead(key + NewName, &record->rename.newName);
    if (read != ReadResult::Found)
        return read;
    if (RegRead(key + Language, &record->rename.language) == ReadResult::Failed
        || RegRead(key + OldName, &record->rename.oldName) == ReadResult::Failed)
        return ReadResult::Failed;
    for (int i = 0; i < 2; ++i) {
        QString value;
        if ((read = RegRead(key + RuleValues[i], &value)) == ReadResult::Failed)
            return read;
        if (read == ReadResult::Found)
            record->rule[i] = value;
    }
    return ReadResult::Found;
}

DbResult removeRecord(int number)
{
    const ReadResult there = RegKeyExists(recordKey(number));
    if (there == ReadResult::Failed || (there == ReadResult::Found && !RegDelete(recordKey(number))))
        return failure(recordKey(number));
    return {};
}

// The rule under the old name as the record keeps it, and nothing under the new one.
DbResult putRuleBack(const Record& record)
{
    const QString oldKey = CategoryRuleKey(record.rename.oldName);
    if (!DeleteCategoryRule(record.rename.newName) || !DeleteCategoryRule(record.rename.oldName))
        return failure(oldKey);
    for (int i = 0; i < 2; ++i) {
        if (record.rule[i] && !RegWrite(oldKey + RuleValues[i], *record.rule[i]))
            return failure(oldKey);
    }
    return removeRecord(record.rename.number);
}

}  // namespace

DbResult RecordBuiltInRename(const BuiltInRename& rename)
{
    const QString key = recordKey(rename.number);
    const QString ruleKey = CategoryRuleKey(rename.oldName);
    const DbResult removed = removeRecord(rename.number);
    if (!removed.Ok())
        return removed;
    for (const QString& name : RuleValues) {
        QString value;
        const ReadResult read = RegRead(ruleKey + name, &value);
        if (read == ReadResult::Failed || (read == ReadResult::Found && !RegWrite(key + name, value)))
            return failure(ruleKey + name);
    }
    const bool written = RegWrite(key + Language, rename.language) && RegWrite(key + OldName, rename.oldName)
                         && RegWrite(key + NewName, rename.newName);
    return written ? DbResult() : failure(key);
}

bool FinishBuiltInRename(int number)
{
    Record record;
    const ReadResult read = readRecord(number, &record);
    if (read != ReadResult::Found)
        return read == ReadResult::Missing;
    const BuiltInRename& rename = record.rename;
    // A missing own-texts file would end the program: it counts as a write that failed.
    const bool written = FileSystem::IsFile(OwnTextsFilePath(rename.language))
                         && SetOwnTextOf(rename.language, QStringLiteral("evn%1").arg(number), rename.newName);
    if (written) {
        // With the text in place the record only keeps the sweep off these names; one
        // that stays is removed at the next start.
        std::ignore = CommitCategoryChange([&] { return removeRecord(number); });
        return true;
    }
    std::ignore = CommitCategoryChange([&] { return putRuleBack(record); });
    return false;
}

void FinishBuiltInRenames()
{
    for (int number = 1; number <= 3; ++number) {
        if (!FinishBuiltInRename(number))
            std::fprintf(stderr, "Tessaryn: the rename of the built-in event category %d could not be finished\n",
                         number);
    }
}

bool AddRenamingNames(QStringList* names)
{
    for (int number = 1; number <= 3; ++number) {
        Record record;
        const ReadResult read = readRecord(number, &record);
        if (read == ReadResult::Failed)
            return false;
        if (read == ReadResult::Found)
            *names << record.rename.oldName << record.rename.newName;
    }
    return true;
}

#pragma once

#include "platform/RegistryStore.h"

#include <QIcon>
#include <QString>
#include <QStringList>

#include <functional>

class QLineEdit;
class Recordset;
struct DbResult;

// Where an event category lives besides its row in lst_Measures: its icon file and
// its repeat rule under the registry key "Measures\<shown name>". Both are named by
// the category's SHOWN name (the own text "evn1" to "evn3" of a built-in category).

// "HKEY_CURRENT_USER\SOFTWARE\Kelmaro Soft\Tessaryn\Measures\<shown name>\"
QString CategoryRuleKey(const QString& shownName);

// The raw values "NextType" and "NextInterval"; Found only when both exist.
[[nodiscard]] ReadResult ReadCategoryRule(const QString& shownName, QString* nextType, QString* nextInterval);
// The writers below go to the registry table of the events database: inside a
// transaction of DataEnvironment1().Connection1 they commit with its rows. False
// when a value could not be written, or not read where the change depends on it.

// Writes a rule built by the editor. A non-empty letter writes both values. An
// empty letter writes nothing for a new category; for an edited one whose key holds
// both values it writes "NextInterval" = "0" and deletes "NextType", keeping the key.
[[nodiscard]] bool WriteCategoryRule(const QString& shownName, const QString& nextType, int nextInterval, bool editedCategory);
// The yearly rule of built-in category 1, written once: only while its key has no
// "NextInterval" (a rule switched off keeps "0" there and is not written again, nor
// is one that cannot be read).
void WriteDefaultCategoryRule(const QString& shownName);
// Carries the key with whatever values it holds to the new name (a rename).
[[nodiscard]] bool MoveCategoryRule(const QString& oldShownName, const QString& newShownName);
[[nodiscard]] bool DeleteCategoryRule(const QString& shownName);

// The names whose rule keys exist under "Measures\".
QStringList CategoryRuleNames();
// Removes the rule of every name that no category shows, in any language's own texts
// (a built-in category renamed in one language keeps its rule under its name in
// another), that no event's reminder reads (events keep the name of a deleted
// category) and that no recorded rename of a built-in category names. Nothing is
// removed when any of these cannot be read.
void RemoveRulesOfNoCategory(const QStringList& shownNames);

// Stands the open category recordset on the row of a stored name, or at its end when
// there is none.
DbResult FindCategory(Recordset& categories, const QString& storedName);
// LVIcon_Path of the category row of a stored name; a null text when there is none.
QString CategoryIconSource(const QString& storedName);

// Runs writes of category rows and rules as one commit of the events database: all
// of them, or, when one fails, none.
DbResult CommitCategoryChange(const std::function<DbResult()>& writes);
// The category's row and its rule, gone in one commit. iconPath gets the path the
// row named.
DbResult DeleteCategoryRecord(const QString& storedName, const QString& shownName, QString* iconPath);

// The repeat pickers' orders: units "yyyy", "M", "w", "d", "h", "n" by index 0 to 5.
QString RepeatUnitLetter(int unitIndex);
// -1 for a letter outside the six.
int RepeatUnitIndex(const QString& letter);
// The largest count a unit takes: years 9, months 99, weeks 99, days 364, hours 23,
// minutes 59; 0 for an unknown index.
int RepeatCountLimit(int unitIndex);
// The number the leading digits of a count text make (0 when there are none), at
// most 32767.
int RepeatCountValue(const QString& text);
// The count box's rule, run on every change: a last character that is no digit is
// removed everywhere in the box with a beep; a count over the unit's limit becomes
// the limit, selected whole or with the caret after it.
void KeepRepeatCountValid(QLineEdit* box, int unitIndex, bool selectLimit);

// 1 to 3 for the icon paths of the built-in categories ("RES_1" to "RES_3"), else 0.
int BuiltInCategoryNumber(const QString& iconPath);

// The icon file of a user category: <user data>/System/Icons/<shown name>.ico.
QString CategoryIconPath(const QString& shownName);
QString CategoryIconFolder();
// True for a file in the user's icon folder (the only files a category may delete).
bool IsInIconFolder(const QString& path);
// Every picture the file holds as one icon; a null icon when it is no picture.
QIcon LoadPictureFile(const QString& path);
// Copies a picture to the category's icon file, replacing it. A missing "System" or
// "Icons" folder ends the program with "mes167". False when the copy failed.
[[nodiscard]] bool CopyIconFile(const QString& source, const QString& shownName);

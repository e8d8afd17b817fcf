#pragma once

#include <QString>
#include <QStringList>

// The saves of the category editor, the category menu's Delete and the backup
// wizard's restore, each run through its window's own routine as OK runs it: for the
// crash harness's child, one call a case, and for the tests. They need a QApplication
// and the program's folders (named by the environment) as a start leaves them.
// Each gives true when the save was acknowledged: the window closed or said so.

// The dispatcher's state as a start sets it, without its start-up steps, and the
// main window with its category list, message boxes answered by default.
void LoadForSaveCases(const QString& language = QStringLiteral("English"));
// A rule's letter "yyyy" to "n" and its count; an empty letter is no repetition.
bool SaveNewCategory(const QString& name, const QString& picture, const QString& letter, int count);
// The category shown as shownName, with a new name, a new picture unless empty, a rule.
bool SaveEditedCategory(const QString& shownName, const QString& newName, const QString& picture,
                        const QString& letter, int count);
// Answered Yes.
bool DeleteCategory(const QString& shownName);
bool RestoreBackup(const QString& file);

// What is out of step between the category rows, their icon files and their rules,
// and any left-over a killed write or restore left, as a start after a kill finds
// them once it has cleaned up and listed the categories; empty when nothing is.
QStringList CategoryStoreFaults();

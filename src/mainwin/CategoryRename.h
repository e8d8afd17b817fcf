#pragma once

#include "platform/Connection.h"

#include <QString>
#include <QStringList>

// A built-in category keeps its name in an own text (a settings file) and its rule
// in the events database under that name, so that no one commit holds both. Its
// rename is recorded, under "Renaming\evn<N>\" of the program's key, in the commit
// that moves the rule: the language whose own texts hold the name, both names and
// the values the old rule had. The own text is written after that commit and the
// record removed last; a record still there means the own text may be the old one.

struct BuiltInRename {
    int number = 0;  // 1 to 3: own text "evn1" to "evn3"
    QString language;
    QString oldName;
    QString newName;
};

// Records the rename inside the open transaction of the events connection; the
// rule is moved by the caller in the same transaction.
DbResult RecordBuiltInRename(const BuiltInRename& rename);

// Writes the recorded own text, then removes the record. When the text cannot be
// written, the old rule goes back under the old name as it was, in the commit that
// removes the record: false then, and the category keeps its old name. Should that
// commit fail as well, the record stays for the next start. True when no rename of
// the category is recorded.
[[nodiscard]] bool FinishBuiltInRename(int number);

// Finishes every rename a kill left: at start, before the category list loads.
void FinishBuiltInRenames();

// Adds both names of every recorded rename; false when the records cannot be read.
[[nodiscard]] bool AddRenamingNames(QStringList* names);

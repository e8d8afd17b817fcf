#pragma once

#include "platform/FileSystem.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The note store: the folder Notes of the user's data is the root group, each of
// its sub-folders one more group, each RTF file in a group one note named by its
// title. Names are compared and sorted without letter case.

QString NotesFolder();
// The folder of a group; the root group has the empty name.
QString GroupFolder(const QString& group);
// The sub-folders of the Notes folder that do not start with ".".
QStringList GroupNames();
// The notes of a group folder: regular files ending ".rtf" in any letter case that
// do not start with ".". Each note keeps its file's own name.
QStringList NoteFileNames(const QString& folder);

// The file name less its ".rtf".
QString TitleOf(const QString& fileName);
// The position of the note whose title is the given one in any letter case; -1 when none.
qsizetype FindNote(const QStringList& fileNames, const QString& title);
// The default title of a new note: the word, a blank and the first number from the
// tree's node count on that no note of the list has taken (1 for an empty list).
QString NextNoteName(const QString& word, int nodeCount, const QStringList& fileNames);

// The text without the characters a title never holds (\ : ? < | / * > ' " and
// control characters): refused when typed, dropped when pasted or imported.
QString WithoutRefusedCharacters(const QString& text);

struct TitleEdit {
    QString text;
    int cursor = 0;        // where the inserted text ends
    bool refused = false;  // something typed or pasted was dropped
};
// The title box after an edit from before to after by the user: refused
// characters dropped, and what came in cut to keep the title within limit
// characters. A longer title the program set stays as long as it was.
TitleEdit FilterTitleEdit(const QString& before, const QString& after, int limit);

// Whether a name can be one file or folder of its own in a group folder: not
// empty, not starting with ".", without "/" or NUL, at most 255 bytes with suffix.
bool IsStorableName(const QString& name, const QString& suffix = QString());

// A note or a file to import is read whole; one larger than MaxNoteFileSize is not
// read at all and stays as it is.
constexpr qint64 MaxNoteFileSize = 64 << 20;
enum class NoteRead { Read, TooLarge, Failed };
[[nodiscard]] NoteRead ReadNoteFile(const QString& path, QByteArray* data);

// Writes a note (the user's alone) or, with the ordinary mode, an export atomically;
// a file whose mode bits forbid writing is not replaced.
[[nodiscard]] bool WriteNoteFile(const QString& path, const QByteArray& data,
                                 FileSystem::FileMode mode = FileSystem::FileMode::OwnerOnly);

enum class GroupChange { Done, Exists, Refused, Failed };
// Creates one folder level in the Notes folder; a name taken by any entry in any
// letter case is refused as existing.
GroupChange CreateGroup(const QString& name);
// Removes a group with its notes, read-only ones too. Symbolic links are removed
// as links: nothing outside the group folder is touched.
GroupChange DeleteGroup(const QString& name);

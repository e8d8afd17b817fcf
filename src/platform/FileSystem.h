#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// File helpers over the C++ and Qt file APIs. Paths use "/".
namespace FileSystem {

bool Exists(const QString& path);       // a file or a folder
bool IsFolder(const QString& path);
bool IsFile(const QString& path);

// The mode a file or folder gets as it is created. OwnerOnly, for everything in the
// program's own folders: files 0600, folders 0700, whatever the umask. Ordinary, for
// what lies outside them: an existing file's mode, else the umask's, readable and
// writable by the owner in both cases.
enum class FileMode { OwnerOnly, Ordinary };

// With missing parents, each made in the given mode; true when it exists afterwards.
[[nodiscard]] bool MakeFolder(const QString& path, FileMode mode = FileMode::OwnerOnly);
// Takes group and other access away from an existing folder that has any; what lies
// inside keeps its mode.
[[nodiscard]] bool CloseFolderToOthers(const QString& path);

// Names (not paths) of the files and sub-folders of a folder, sorted by name.
QStringList FileNames(const QString& folder);
QStringList FolderNames(const QString& folder);

// Size and modification time of a file, which tell a changed file from the one read
// before; nothing for a missing path or a folder. One look at the file, with no
// conversion of the time.
struct FileStamp {
    qint64 size = 0;
    qint64 modifiedNs = 0;
    // An atomic write replaces the file within the clock's tick and often at the same
    // size: the new file is told by its inode and change time.
    quint64 inode = 0;
    qint64 changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> Stamp(const QString& path);

[[nodiscard]] bool ReadAll(const QString& path, QByteArray* data);

// Writes to a temporary file beside the target, syncs it and renames it over the
// target, so a crash or a full disk leaves either the old or the new file, never a
// half-written one. The temporary file's name is one IsAtomicWriteLeftOver knows.
[[nodiscard]] bool WriteAtomic(const QString& path, const QByteArray& data, FileMode mode = FileMode::OwnerOnly);
// The same for a copy of another file, read in pieces.
[[nodiscard]] bool CopyAtomic(const QString& source, const QString& target, FileMode mode = FileMode::OwnerOnly);
// Writes all of data to an open descriptor, going on after interrupted writes.
[[nodiscard]] bool WriteWhole(int fd, const char* data, qint64 size);
// Makes a rename in this folder durable.
void SyncFolder(const QString& folder);
// Whether a file name is that of a temporary file an atomic write left behind when
// it was killed.
bool IsAtomicWriteLeftOver(const QString& fileName);
[[nodiscard]] bool RemoveFile(const QString& path);
// A folder with everything in it, read-only files too; a link is removed as a link,
// its target untouched.
[[nodiscard]] bool RemoveTree(const QString& path);
[[nodiscard]] bool SetOwnerOnly(const QString& path);  // mode 0600
[[nodiscard]] bool MakeOwnerWritable(const QString& path);
// Whether the mode bits let the current user write the folder (root's override of
// the bits is not counted: a read-only install stays read-only for everyone).
bool ModeAllowsWriting(const QString& path);

// One file of a folder, tested often and cheaply: the folder is opened once, so a
// test looks up one name rather than walking the whole path.
class FolderFile {
public:
    FolderFile() = default;
    explicit FolderFile(const QString& path);
    FolderFile(FolderFile&& other) noexcept;
    FolderFile& operator=(FolderFile&& other) noexcept;
    ~FolderFile();
    bool Exists() const;

private:
    int folder_ = -1;
    QByteArray name_;  // the whole path while the folder could not be opened
};

// Test hook: the next atomic writes fail after the temporary file is written and
// synced, just before the rename, and remove it as any failed write does.
void SetAtomicWriteFailsBeforeRename(bool fails);

}  // namespace FileSystem

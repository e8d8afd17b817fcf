#include "StartCleanUp.h"

#include "platform/DatabaseCopy.h"
#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"

#include <QDirIterator>

namespace {

// Links are not followed: a folder linked into ours is not the program's own.
void removeAtomicWriteLeftOvers(const QString& root)
{
    QDirIterator files(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        files.next();
        // One that cannot be removed is tried again at the next start.
        if (FileSystem::IsAtomicWriteLeftOver(files.fileName()))
            std::ignore = FileSystem::RemoveFile(files.filePath());
    }
}

}  // namespace

void RemoveLeftOvers()
{
    const QString user = KnownFolders::UserDataFolder();
    removeAtomicWriteLeftOvers(user);
    removeAtomicWriteLeftOvers(KnownFolders::SharedDataFolder());
    const QString system = user + QStringLiteral("/System");
    for (const QString& name : FileSystem::FileNames(system)) {
        if (DatabaseCopy::IsRestoreLeftOver(system, name))
            std::ignore = FileSystem::RemoveFile(system + QLatin1Char('/') + name);
    }
}

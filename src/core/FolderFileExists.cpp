#include "FolderFileExists.h"

#include "LanguageCodes.h"
#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"

#include <QDir>

#include <cstdio>

namespace {

bool lettersAndDots(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (!((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '.'))
            return false;
    }
    return true;
}

void report(const QString& source, const QString& target)
{
    std::fprintf(stderr, "Tessaryn: could not copy %s to %s\n", QFile::encodeName(source).constData(),
                 QFile::encodeName(target).constData());
}

// Copies one file whole or not at all, readable and writable by the user alone from
// the moment it exists, whatever mode the installed copy has.
bool copyFile(const QString& source, const QString& target)
{
    if (!FileSystem::CopyAtomic(source, target)) {
        report(source, target);
        return false;
    }
    return true;
}

// A new profile starts in the desktop's language when the program has a file of it
// and the locale can show it; otherwise in the installed choice.
bool copyLangIni(const QString& source, const QString& target)
{
    const QString language = LanguageOfLocale(MessagesLocaleName());
    if (language.isEmpty() || !IsLanguageFile(KnownFolders::ProgramFolder() + QStringLiteral("/Language/") + language
                                              + QStringLiteral(".ini")))
        return copyFile(source, target);
    const QString choice = QStringLiteral("[Main]\r\nLanguage=") + language + QStringLiteral("\r\n");
    if (!FileSystem::WriteAtomic(target, choice.toUtf8())) {
        report(source, target);
        return false;
    }
    return true;
}

}  // namespace

bool FileExists(const QString& path) { return FileSystem::Exists(path); }

bool FolderExists(const QString& path) { return FileSystem::Exists(path); }

void CopyDataTree(const QString& installedFolder)
{
    const QString user = KnownFolders::UserDataFolder();
    const QString shared = KnownFolders::SharedDataFolder();
    // A folder that cannot be made fails the copies into it, each of which is
    // reported, and the start's checks then name what it lacks.
    std::ignore = FileSystem::MakeFolder(user);
    std::ignore = FileSystem::MakeFolder(shared);

    const QString relative = QDir(KnownFolders::InstallDataFolder()).relativeFilePath(installedFolder);
    const QString targetFolder = relative == QLatin1String(".") ? user : user + QLatin1Char('/') + relative;

    for (const QString& name : FileSystem::FileNames(installedFolder)) {
        if (!lettersAndDots(name))
            continue;
        const QString source = installedFolder + QLatin1Char('/') + name;
        if (name == QLatin1String("main.xml")) {
            const QString target = shared + QStringLiteral("/main.xml");
            if (!FileSystem::Exists(target))
                copyFile(source, target);
        } else {
            const QString target = targetFolder + QLatin1Char('/') + name;
            if (!FileSystem::Exists(target))
                (name == QLatin1String("lang.ini") && targetFolder == user ? copyLangIni : copyFile)(source, target);
        }
    }
    for (const QString& name : FileSystem::FolderNames(installedFolder)) {
        std::ignore = FileSystem::MakeFolder(targetFolder + QLatin1Char('/') + name);
        CopyDataTree(installedFolder + QLatin1Char('/') + name);
    }
}

void MigrateOldData()
{
    const QString legacy = KnownFolders::LegacyDataFolder();
    if (legacy.isEmpty() || !FileSystem::IsFolder(legacy))
        return;
    const struct {
        const char* name;
        QString target;
    } moves[] = {
        {"options.ini", KnownFolders::UserDataFolder() + QStringLiteral("/options.ini")},
        {"main.xml", KnownFolders::SharedDataFolder() + QStringLiteral("/main.xml")},
    };
    for (const auto& move : moves) {
        const QString source = legacy + QLatin1Char('/') + QLatin1String(move.name);
        if (FileSystem::IsFile(source) && copyFile(source, move.target) && !FileSystem::RemoveFile(source))
            std::fprintf(stderr, "Tessaryn: could not remove %s after taking it over\n",
                         QFile::encodeName(source).constData());
    }
    QDir().rmdir(legacy);  // only when nothing else is left in it
}

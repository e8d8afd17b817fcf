#include "core/FolderFileExists.h"
#include "core/SourceText.h"
#include "core/StartCleanUp.h"
#include "platform/FileSystem.h"
#include "support/LimitedChild.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class DataTree : public ::testing::Test {
protected:
    QString installed(const char* relative) const { return env.InstallTree() + QLatin1Char('/') + s(relative); }
    QString user(const char* relative) const { return env.UserData() + QLatin1Char('/') + s(relative); }
    // Every file under a folder, by its path below it.
    static QStringList filesUnder(const QString& root)
    {
        QStringList files;
        QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(QDir(root).relativeFilePath(it.next()));
        files.sort();
        return files;
    }
    TestEnv env;
};

}  // namespace

TEST_F(DataTree, FirstRunFillsTheUserFolderWithTheInstalledLayout)
{
    CopyDataTree(env.InstallTree());
    for (const char* file : {"options.ini", "lang.ini", "System/Own/English.ini", "System/Own/Russian.ini"})
        EXPECT_TRUE(QFileInfo(user(file)).isFile()) << file;
    for (const char* folder : {"System", "System/Icons", "Notes"})
        EXPECT_TRUE(QFileInfo(user(folder)).isDir()) << folder;
    EXPECT_TRUE(QDir(user("Notes")).isEmpty());
    EXPECT_TRUE(QDir(user("System/Icons")).isEmpty());
    EXPECT_TRUE(QFileInfo(env.Shared() + QStringLiteral("/main.xml")).isFile());
    EXPECT_FALSE(QFileInfo(user("main.xml")).exists());
}

TEST_F(DataTree, OnlyNamesOfLettersAndDotsAreCopiedButEveryFolderIsEntered)
{
    WriteFile(installed("open2.set"), "");
    WriteFile(installed("my file.txt"), "x");
    WriteFile(installed("a-b.ini"), "x");
    WriteFile(installed("under_score"), "x");
    WriteFile(installed("Sub2/Plain.txt"), "x");
    CopyDataTree(env.InstallTree());
    EXPECT_FALSE(QFile::exists(user("open2.set")));
    EXPECT_FALSE(QFile::exists(user("my file.txt")));
    EXPECT_FALSE(QFile::exists(user("a-b.ini")));
    EXPECT_FALSE(QFile::exists(user("under_score")));
    EXPECT_TRUE(QFile::exists(user("Sub2/Plain.txt")));
}

TEST_F(DataTree, ExistingUserFilesAreKeptAndDeletedOnesComeBack)
{
    CopyDataTree(env.InstallTree());
    WriteFile(user("options.ini"), "[General]\r\nmine=1\r\n");
    QFile::remove(user("System/Own/English.ini"));
    CopyDataTree(env.InstallTree());
    EXPECT_EQ(ReadFile(user("options.ini")), QByteArray("[General]\r\nmine=1\r\n"));
    EXPECT_TRUE(QFile::exists(user("System/Own/English.ini")));
}

TEST_F(DataTree, LangIniIsCopiedOnlyWhereTheUserHasNoneAndTheInstallStaysAsItIs)
{
    const QByteArray installedLanguage = ReadFile(installed("lang.ini"));
    CopyDataTree(env.InstallTree());
    EXPECT_EQ(ReadFile(user("lang.ini")), installedLanguage);
    WriteFile(user("lang.ini"), "[Main]\r\nLanguage=Russian\r\n");
    CopyDataTree(env.InstallTree());
    EXPECT_EQ(ReadFile(user("lang.ini")), QByteArray("[Main]\r\nLanguage=Russian\r\n"));
    EXPECT_EQ(ReadFile(installed("lang.ini")), installedLanguage);
}

TEST_F(DataTree, ReadOnlyInstallIsCopiedWithOwnerWritableModes)
{
    WriteFile(installed("System/tesryn.db"), "db");
    const QString root = env.InstallTree();
    auto setReadOnly = [](const QString& path, bool folder) {
        QFile::setPermissions(path, folder ? (QFile::ReadOwner | QFile::ExeOwner) : QFile::ReadOwner);
    };
    setReadOnly(installed("System/tesryn.db"), false);
    setReadOnly(installed("options.ini"), false);
    setReadOnly(root, true);

    CopyDataTree(root);
    EXPECT_TRUE(QFile::exists(user("lang.ini")));

    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(user("System/tesryn.db")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_TRUE(QFileInfo(user("options.ini")).permissions() & QFile::WriteOwner);
    QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(DataTree, LegacyFolderGivesUpOnlyWhatWasMoved)
{
    CopyDataTree(env.InstallTree());
    const QString legacyRoot = env.Root() + QStringLiteral("/legacy");
    qputenv("TESSARYN_LEGACY_FOLDER", legacyRoot.toUtf8());
    WriteFile(legacyRoot + QStringLiteral("/Tessaryn/options.ini"), "[General]\r\nold=1\r\n");
    WriteFile(legacyRoot + QStringLiteral("/Tessaryn/main.xml"), "<Tessaryn><entry name=\"Version\">3.10</entry></Tessaryn>");
    WriteFile(legacyRoot + QStringLiteral("/Tessaryn/notes.txt"), "keep");
    MigrateOldData();
    EXPECT_EQ(ReadFile(user("options.ini")), QByteArray("[General]\r\nold=1\r\n"));
    EXPECT_TRUE(ReadFile(env.Shared() + QStringLiteral("/main.xml")).contains("3.10"));
    EXPECT_FALSE(QFile::exists(legacyRoot + QStringLiteral("/Tessaryn/options.ini")));
    EXPECT_TRUE(QFile::exists(legacyRoot + QStringLiteral("/Tessaryn/notes.txt")));
    qunsetenv("TESSARYN_LEGACY_FOLDER");
}

TEST_F(DataTree, NoLegacyFolderUnlessOneIsNamed)
{
    CopyDataTree(env.InstallTree());
    const QByteArray before = ReadFile(user("options.ini"));
    MigrateOldData();
    EXPECT_EQ(ReadFile(user("options.ini")), before);
}

// A first start cut short leaves no file or a whole one, and the next start removes
// what was left and completes the copy. A child may write files of 16 KiB at most (the
// settings fit, the databases do not): a longer write fails (a full disk) or ends
// the child in the middle of the write (a kill).
TEST_F(DataTree, AFirstStartCutShortLeavesWholeFilesAndTheNextStartCompletesTheCopy)
{
    const QList<std::pair<const char*, bool>> faults = {{"full disk", false}, {"killed", true}};
    const QStringList wanted = filesUnder(env.InstallTree()).filter(QRegularExpression(s("^[A-Za-z./]+$")));
    for (const auto& [name, endsChild] : faults) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(FileSystem::RemoveTree(env.UserData()));
        const int status = RunLimitedChild(16384, endsChild, [&] {
            CopyDataTree(env.InstallTree());
            return 0;
        });
        ASSERT_EQ(WIFSIGNALED(status), endsChild) << status;
        QStringList whole;
        for (const QString& file : filesUnder(env.UserData())) {
            if (FileSystem::IsAtomicWriteLeftOver(QFileInfo(file).fileName()))
                continue;
            EXPECT_EQ(ReadFile(env.UserData() + s("/") + file), ReadFile(env.InstallTree() + s("/") + file)) << file.toStdString();
            whole.append(file);
        }
        EXPECT_LT(whole.size(), wanted.size() - 1);  // main.xml goes to the shared folder

        RemoveLeftOvers();
        CopyDataTree(env.InstallTree());
        QStringList expected = wanted;
        expected.removeAll(s("main.xml"));
        EXPECT_EQ(filesUnder(env.UserData()), expected);
        for (const QString& file : expected)
            EXPECT_EQ(ReadFile(env.UserData() + s("/") + file), ReadFile(env.InstallTree() + s("/") + file)) << file.toStdString();
    }
}

// The start removes what killed writes and restores left in the program's own folders
// and nothing else, and looks into no other folder.
TEST_F(DataTree, TheStartRemovesTheLeftOversOfKilledWritesAndNothingElse)
{
    CopyDataTree(env.InstallTree());
    const QString outside = env.Root() + s("/elsewhere");
    const QStringList leftOvers = {
        s("appdata/Tessaryn/.options.ini.4242-0.tsrtmp"),
        s("appdata/Tessaryn/Notes/Work/.Plan.rtf.77-3.tsrtmp"),
        s("appdata/Tessaryn/System/Icons/.Garden.ico.9-0.tsrtmp"),
        s("appdata/Tessaryn/System/tesryn.db.restore"),
        s("appdata/Tessaryn/System/tesryn.db.restore-journal"),
        s("appdata/Tessaryn/System/tesphn.db.restore-81-2"),
        s("appdata/Tessaryn/System/tesphn.db.restore-81-2-journal"),
        s("appdata/Tessaryn/System/tesryn.db-mj1A2B3C9F0"),
        s("config/Tessaryn/.main.xml.12-1.tsrtmp"),
    };
    const QStringList kept = {
        s("appdata/Tessaryn/options.tsrtmp"),
        s("appdata/Tessaryn/Notes/Work/Plan.rtf"),
        s("appdata/Tessaryn/System/tesryn.tmp"),
        s("appdata/Tessaryn/System/tesbus.db-mj0A0B0C9D1"),  // its live file's journal may still name it
        s("appdata/Tessaryn/System/tesbus.db-journal"),
        s("elsewhere/.options.ini.4242-0.tsrtmp"),
        s("elsewhere/tesryn.db.restore"),
        s("config/autostart/.tessaryn.desktop.5-0.tsrtmp"),
    };
    for (const QString& file : leftOvers + kept)
        WriteFile(env.Root() + s("/") + file, "x");
    ::symlink(QFile::encodeName(outside).constData(), QFile::encodeName(user("Notes/linked")).constData());
    RemoveLeftOvers();
    for (const QString& file : leftOvers)
        EXPECT_FALSE(QFileInfo::exists(env.Root() + s("/") + file)) << file.toStdString();
    for (const QString& file : kept)
        EXPECT_TRUE(QFileInfo::exists(env.Root() + s("/") + file)) << file.toStdString();
}

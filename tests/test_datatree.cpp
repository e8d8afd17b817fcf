#include "core/FolderFileExists.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

class DataTree : public ::testing::Test {
protected:
    QString installed(const char* relative) const { return env.InstallTree() + QLatin1Char('/') + s(relative); }
    QString user(const char* relative) const { return env.UserData() + QLatin1Char('/') + s(relative); }
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

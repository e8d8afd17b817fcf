#include "core/RegData.h"
#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"
#include "platform/RegistryStore.h"
#include "support/TestEnv.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

class Registry : public ::testing::Test {
protected:
    TestEnv env;
    const QString R = ProgramKey();
};

}  // namespace

TEST_F(Registry, WriteCreatesTheKeyPathAndReadIgnoresLetterCase)
{
    ASSERT_TRUE(RegWrite(R + s("InAdvance\\12"), s("3")));
    QString value;
    ASSERT_TRUE(RegRead(s("hkey_current_user\\software\\KELMARO SOFT\\tessaryn\\inadvance\\12"), &value));
    EXPECT_EQ(value, s("3"));
    EXPECT_TRUE(RegKeyExists(R + s("InAdvance\\")));
    EXPECT_FALSE(RegKeyExists(R + s("InAdvance\\13")));
    EXPECT_FALSE(RegRead(R + s("InAdvance\\13"), &value));
}

TEST_F(Registry, EmptyValueExistsAndNamesMayHoldAnyCharacterButBackslash)
{
    const QString name = s("Праздник \"O'Neil\" [1]=; %");
    ASSERT_TRUE(RegWrite(R + s("Measures\\") + name + s("\\NextType"), QString()));
    EXPECT_TRUE(RegKeyExists(R + s("Measures\\") + name + s("\\NextType")));
    ASSERT_TRUE(RegWrite(R + s("Measures\\") + name + s("\\NextInterval"), s("line1\nline2\\\"")));
    QString value;
    ASSERT_TRUE(RegRead(R + s("measures\\") + name.toUpper() + s("\\nextinterval"), &value));
    EXPECT_EQ(value, s("line1\nline2\\\""));
}

TEST_F(Registry, DeletingAKeyTakesEverythingUnderIt)
{
    RegWrite(R + s("Special\\7\\NextType"), s("d"));
    RegWrite(R + s("Special\\7\\NextInterval"), s("2"));
    RegWrite(R + s("Special\\7\\Deeper\\x"), s("1"));
    RegWrite(R + s("Special\\8\\NextType"), s("w"));
    EXPECT_TRUE(RegDelete(R + s("special\\7\\")));
    EXPECT_FALSE(RegKeyExists(R + s("Special\\7\\NextType")));
    EXPECT_FALSE(RegKeyExists(R + s("Special\\7\\Deeper\\x")));
    EXPECT_TRUE(RegKeyExists(R + s("Special\\8\\NextType")));
    EXPECT_FALSE(RegDelete(R + s("Special\\7\\")));
    EXPECT_TRUE(RegDelete(R + s("Special\\8\\NextType")));
    EXPECT_FALSE(RegKeyExists(R + s("Special\\8\\NextType")));
}

TEST_F(Registry, ACrashBeforeTheRenameLeavesTheOldFile)
{
    RegWrite(R + s("TsSave"), s("old"));
    const QByteArray before = ReadFile(RegistryFilePath());
    FileSystem::SetAtomicWriteFailsBeforeRename(true);
    EXPECT_FALSE(RegWrite(R + s("TsSave"), s("new")));
    FileSystem::SetAtomicWriteFailsBeforeRename(false);
    EXPECT_EQ(ReadFile(RegistryFilePath()), before);
    QString value;
    RegRead(R + s("TsSave"), &value);
    EXPECT_EQ(value, s("old"));
}

TEST_F(Registry, StoreFileIsReadableAndSurvivesDamage)
{
    RegWrite(R + s("InAdvance\\5"), s("1"));
    const QString text = QString::fromUtf8(ReadFile(RegistryFilePath()));
    EXPECT_TRUE(text.contains(s("[HKEY_CURRENT_USER\\SOFTWARE\\Kelmaro Soft\\Tessaryn\\InAdvance]")));
    EXPECT_TRUE(text.contains(s("\"5\"=\"1\"")));
    WriteFile(RegistryFilePath(), ReadFile(RegistryFilePath()) + "garbage \"unterminated\r\n[broken\r\n");
    QString value;
    EXPECT_TRUE(RegRead(R + s("InAdvance\\5"), &value));
    EXPECT_EQ(value, s("1"));
}

TEST_F(Registry, AutostartValueKeepsADesktopEntryInStep)
{
    EXPECT_FALSE(RegKeyExists(AutostartValuePath()));
    ASSERT_TRUE(RegWrite(AutostartValuePath(), KnownFolders::ExecutablePath()));
    EXPECT_TRUE(RegKeyExists(AutostartValuePath()));
    const QString entry = QString::fromUtf8(ReadFile(AutostartEntryPath()));
    EXPECT_TRUE(entry.startsWith(s("[Desktop Entry]\n")));
    EXPECT_TRUE(entry.contains(s("Exec=") + KnownFolders::ExecutablePath() + s("\n"))) << entry.toStdString();
    QFile::remove(AutostartEntryPath());
    EXPECT_FALSE(RegKeyExists(AutostartValuePath()));
}

TEST(RegistryStoreFile, DefaultValuesAndMalformedPaths)
{
    TestEnv env;
    RegistryStore store(env.Root() + s("/r.reg"));
    EXPECT_TRUE(store.Write(s("HKEY_CURRENT_USER\\A\\B\\"), s("default")));
    QString value;
    EXPECT_TRUE(store.Read(s("HKEY_CURRENT_USER\\A\\B\\"), &value));
    EXPECT_EQ(value, s("default"));
    EXPECT_TRUE(store.Read(s("HKEY_CURRENT_USER\\A\\"), &value));
    EXPECT_EQ(value, QString());
    EXPECT_EQ(store.SubKeys(s("HKEY_CURRENT_USER\\A")), QStringList{s("B")});
    EXPECT_FALSE(store.Write(s("NoKey"), s("x")));
    EXPECT_FALSE(store.Write(s("HKEY_CURRENT_USER\\\\x"), s("x")));
}

TEST_F(Registry, PdfHandlerKeyAnswersWhetherAViewerIsRegistered)
{
    qputenv("TESSARYN_PDF_HANDLER", "1");
    EXPECT_TRUE(RegKeyExists(s("HKEY_CLASSES_ROOT\\.pdf\\")));
    qputenv("TESSARYN_PDF_HANDLER", "0");
    EXPECT_FALSE(RegKeyExists(s("HKEY_CLASSES_ROOT\\.pdf\\")));
    qunsetenv("TESSARYN_PDF_HANDLER");
}

TEST(DesktopEntry, ExecPathIsQuotedByTheDesktopEntryRules)
{
    EXPECT_EQ(DesktopExecArgument(s("/usr/bin/tesryn")), s("/usr/bin/tesryn"));
    EXPECT_EQ(DesktopExecArgument(s("/opt/my apps/tesryn")), s("\"/opt/my apps/tesryn\""));
    EXPECT_EQ(DesktopExecArgument(s("/opt/a$b/50%/t")), s("\"/opt/a\\\\$b/50%%/t\""));
}

#include "core/DBConfig.h"
#include "core/DataEnvironment.h"
#include "core/RegData.h"
#include "core/SourceText.h"
#include "events/EventRecord.h"
#include "platform/FileSystem.h"
#include "platform/KnownFolders.h"
#include "platform/RegistryStore.h"
#include "support/FailingReads.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override { env.PrepareUser(); }

    static Connection& events() { return DataEnvironment1().Connection1; }
    static QString value(const QString& path)
    {
        QString text;
        return RegRead(path, &text) == ReadResult::Found ? text : s("<none>");
    }

    TestEnv env;
    const QString R = ProgramKey();
};

}  // namespace

TEST_F(Registry, WriteCreatesTheKeyPathAndReadIgnoresLetterCase)
{
    ASSERT_TRUE(RegWrite(R + s("InAdvance\\12"), s("3")));
    QString value;
    ASSERT_EQ(RegRead(s("hkey_current_user\\software\\KELMARO SOFT\\tessaryn\\inadvance\\12"), &value), ReadResult::Found);
    EXPECT_EQ(value, s("3"));
    EXPECT_EQ(RegKeyExists(R + s("InAdvance\\")), ReadResult::Found);
    EXPECT_EQ(RegKeyExists(R + s("InAdvance\\13")), ReadResult::Missing);
    EXPECT_EQ(RegRead(R + s("InAdvance\\13"), &value), ReadResult::Missing);
}

TEST_F(Registry, EmptyValueExistsAndNamesMayHoldAnyCharacterButBackslash)
{
    const QString name = s("Праздник \"O'Neil\" [1]=; %");
    ASSERT_TRUE(RegWrite(R + s("Measures\\") + name + s("\\NextType"), QString()));
    EXPECT_EQ(RegKeyExists(R + s("Measures\\") + name + s("\\NextType")), ReadResult::Found);
    ASSERT_TRUE(RegWrite(R + s("Measures\\") + name + s("\\NextInterval"), s("line1\nline2\\\"")));
    QString value;
    ASSERT_EQ(RegRead(R + s("measures\\") + name.toUpper() + s("\\nextinterval"), &value), ReadResult::Found);
    EXPECT_EQ(value, s("line1\nline2\\\""));
}

TEST_F(Registry, DeletingAKeyTakesEverythingUnderIt)
{
    EXPECT_TRUE(RegWrite(R + s("Special\\7\\NextType"), s("d")));
    EXPECT_TRUE(RegWrite(R + s("Special\\7\\NextInterval"), s("2")));
    EXPECT_TRUE(RegWrite(R + s("Special\\7\\Deeper\\x"), s("1")));
    EXPECT_TRUE(RegWrite(R + s("Special\\8\\NextType"), s("w")));
    EXPECT_TRUE(RegWrite(R + s("Special\\70\\NextType"), s("w")));
    EXPECT_TRUE(RegWrite(R + s("Special\\7]"), s("x")));
    EXPECT_TRUE(RegDelete(R + s("special\\7\\")));
    EXPECT_EQ(RegKeyExists(R + s("Special\\70\\NextType")), ReadResult::Found);
    EXPECT_EQ(RegKeyExists(R + s("Special\\7]")), ReadResult::Found);
    EXPECT_EQ(RegKeyExists(R + s("Special\\7\\NextType")), ReadResult::Missing);
    EXPECT_EQ(RegKeyExists(R + s("Special\\7\\Deeper\\x")), ReadResult::Missing);
    EXPECT_EQ(RegKeyExists(R + s("Special\\8\\NextType")), ReadResult::Found);
    EXPECT_FALSE(RegDelete(R + s("Special\\7\\")));
    EXPECT_TRUE(RegDelete(R + s("Special\\8\\NextType")));
    EXPECT_EQ(RegKeyExists(R + s("Special\\8\\NextType")), ReadResult::Missing);
}

TEST_F(Registry, ChangesJoinTheTransactionOfTheEventsConnection)
{
    EXPECT_TRUE(RegWrite(R + s("TsSave"), s("old")));
    OpenIfClosed(events());
    ASSERT_TRUE(events().BeginTrans().Ok());
    EXPECT_TRUE(RegWrite(R + s("TsSave"), s("new")));
    EXPECT_TRUE(RegWrite(R + s("InAdvance\\5"), s("1")));
    EXPECT_EQ(value(R + s("TsSave")), s("new"));
    ASSERT_TRUE(events().RollbackTrans().Ok());
    EXPECT_EQ(value(R + s("TsSave")), s("old"));
    EXPECT_EQ(value(R + s("InAdvance\\5")), s("<none>"));
    ASSERT_TRUE(events().BeginTrans().Ok());
    EXPECT_TRUE(RegDelete(R + s("TsSave")));
    ASSERT_TRUE(events().CommitTrans().Ok());
    EXPECT_EQ(value(R + s("TsSave")), s("<none>"));
}

// A read the store cannot answer is neither a value nor its absence: a removal that
// depends on it fails with the change around it, and nothing goes.
TEST_F(Registry, AFailedReadIsToldFromAMissingValueAndRemovesNothing)
{
    const QList<EntryChange> rule = SpecialEntryChanges(5, s("w"), 2);
    ASSERT_TRUE(WriteEntries(rule + AdvanceEntryChanges(5, 1)).Ok());
    QString text;
    QString type;
    QString interval;
    {
        FailingReads failing(events(), "registry", "value");
        EXPECT_EQ(RegRead(rule[0].path, &text), ReadResult::Failed);
        EXPECT_EQ(RegRead(SpecialKeyPath(5), &text), ReadResult::Failed);
        EXPECT_EQ(RegReadRule(SpecialKeyPath(5), &type, &interval), ReadResult::Failed);
        EXPECT_FALSE(WriteEntries(AdvanceEntryChanges(6, 2) + RemoveEventEntries(5)).Ok());
    }
    EXPECT_EQ(RegReadRule(SpecialKeyPath(5), &type, &interval), ReadResult::Found);
    EXPECT_EQ(interval, s("2"));
    EXPECT_EQ(value(InAdvanceValuePath(5)), s("1"));
    EXPECT_EQ(value(InAdvanceValuePath(6)), s("<none>"));
    EXPECT_EQ(RegReadRule(SpecialKeyPath(6), &type, &interval), ReadResult::Missing);
    EXPECT_EQ(RegKeyExists(SpecialKeyPath(6)), ReadResult::Missing);
}

// An earlier version kept the store in a file; a database of that version has no
// table, and the first use takes the file in once.
TEST_F(Registry, AnEarlierFileIsImportedOnceWithoutTheEntriesOfMissingRows)
{
    EndDataEnvironment();
    {
        Connection old;
        ASSERT_TRUE(old.Open(env.UserData() + s("/System/tesryn.db"), s("qk_mirtolven")).Ok());
        ASSERT_TRUE(old.Execute(s("DROP TABLE registry")).Ok());
        ASSERT_TRUE(old.Execute(s("INSERT INTO lst_Dates (Step_Name, Step_Date) VALUES ('kept', '2030-01-01')")).Ok());
        QList<QVariantList> id;
        ASSERT_TRUE(old.Query(s("SELECT Step_Numeric FROM lst_Dates"), {}, &id).Ok());
        ASSERT_EQ(id, QList<QVariantList>{{qint64(1)}});
    }
    // A file that cannot be read now (reading the process's own memory from its
    // start fails as a disk's I/O error does) is taken in at a later use, not marked
    // as taken in with nothing.
    ASSERT_TRUE(QFile::link(s("/proc/self/mem"), RegistryFilePath()));
    EXPECT_EQ(value(R + s("TsSave")), s("<none>"));
    EXPECT_TRUE(QFileInfo(RegistryFilePath()).isSymLink());
    ASSERT_TRUE(QFile::remove(RegistryFilePath()));

    // The earlier form: a key line, then its values; texts escaped, names not.
    const QStringList lines = {
        s("Tessaryn registry 1"), s(""),
        s("[%1Special\\1]"), s(""),
        s("[%1Special\\1\\Deeper]"), s("\"NextType\"=\"w\""), s(""),
        s("[%1Special\\1]"), s("\"NextType\"=\"d\""), s("\"NextInterval\"=\"2\""),
        s("[%1Special\\99]"), s("\"NextType\"=\"d\""),
        s("[%1InAdvance]"), s("\"1\"=\"3\""), s("\"99\"=\"1\""), s("garbage \"unterminated"),
        s("[%1Measures\\Work \"A\"]"), s("\"NextType\"=\"line\\n\\\"q\\\"\""), s("@=\"default\""),
        s("[%2]"), s("\"TsSave\"=\"01.02.2030\""),
    };
    const QByteArray file = lines.join(s("\r\n")).arg(R, R.chopped(1)).toUtf8();
    WriteFile(RegistryFilePath(), file);
    WriteFile(RegistryFilePath() + s(".pending"), "[" + R.toUtf8() + "]\r\n\"TsSave\"=\"pending\"\r\n");

    EXPECT_EQ(value(R + s("Special\\1\\NextType")), s("d"));
    EXPECT_EQ(value(R + s("Special\\1\\NextInterval")), s("2"));
    EXPECT_EQ(value(R + s("Special\\1\\Deeper\\NextType")), s("w"));
    EXPECT_EQ(value(R + s("InAdvance\\1")), s("3"));
    EXPECT_EQ(RegKeyExists(R + s("Special\\99\\")), ReadResult::Missing);
    EXPECT_EQ(RegKeyExists(R + s("InAdvance\\99")), ReadResult::Missing);
    EXPECT_EQ(value(R + s("Measures\\Work \"A\"\\NextType")), s("line\n\"q\""));
    EXPECT_EQ(value(R + s("Measures\\Work \"A\"\\")), s("default"));
    EXPECT_EQ(value(R + s("TsSave")), s("01.02.2030"));
    EXPECT_FALSE(FileSystem::Exists(RegistryFilePath()));
    EXPECT_FALSE(FileSystem::Exists(RegistryFilePath() + s(".pending")));
    EXPECT_EQ(ReadFile(RegistryFilePath() + s(".imported")), file);

    // A file that turns up again is not taken in a second time.
    EXPECT_TRUE(RegWrite(R + s("TsSave"), s("later")));
    EndDataEnvironment();
    WriteFile(RegistryFilePath(), file);
    EXPECT_EQ(value(R + s("TsSave")), s("later"));
    EXPECT_FALSE(FileSystem::Exists(RegistryFilePath()));
}

TEST_F(Registry, AutostartValueKeepsADesktopEntryInStep)
{
    EXPECT_EQ(RegKeyExists(AutostartValuePath()), ReadResult::Missing);
    ASSERT_TRUE(RegWrite(AutostartValuePath(), KnownFolders::ExecutablePath()));
    EXPECT_EQ(RegKeyExists(AutostartValuePath()), ReadResult::Found);
    const QString entry = QString::fromUtf8(ReadFile(AutostartEntryPath()));
    EXPECT_TRUE(entry.startsWith(s("[Desktop Entry]\n")));
    EXPECT_TRUE(entry.contains(s("Exec=") + KnownFolders::ExecutablePath() + s("\n"))) << entry.toStdString();
    QFile::remove(AutostartEntryPath());
    EXPECT_EQ(RegKeyExists(AutostartValuePath()), ReadResult::Missing);
}

TEST(RegistryStoreTable, DefaultValuesSubKeysAndMalformedPaths)
{
    TestEnv env;
    Connection db;
    ASSERT_TRUE(db.OpenNew(env.Root() + s("/r.db")).Ok());
    ASSERT_TRUE(RegistryStore::CreateTable(db).Ok());
    RegistryStore store(db);
    EXPECT_TRUE(store.Write(s("HKEY_CURRENT_USER\\A\\B\\"), s("default")));
    EXPECT_TRUE(store.Write(s("HKEY_CURRENT_USER\\a\\b\\x"), s("1")));
    EXPECT_TRUE(store.Write(s("HKEY_CURRENT_USER\\A\\C\\D\\y"), s("2")));
    QString value;
    EXPECT_EQ(store.Read(s("HKEY_CURRENT_USER\\A\\B\\"), &value), ReadResult::Found);
    EXPECT_EQ(value, s("default"));
    EXPECT_EQ(store.Read(s("HKEY_CURRENT_USER\\A\\"), &value), ReadResult::Found);
    EXPECT_EQ(value, QString());
    EXPECT_EQ(store.Read(s("HKEY_CURRENT_USER\\A"), &value), ReadResult::Missing);
    EXPECT_EQ(store.SubKeys(s("HKEY_CURRENT_USER\\A")), (QStringList{s("B"), s("C")}));
    EXPECT_FALSE(store.Write(s("NoKey"), s("x")));
    EXPECT_FALSE(store.Write(s("HKEY_CURRENT_USER\\\\x"), s("x")));
}

TEST_F(Registry, PdfHandlerKeyAnswersWhetherAViewerIsRegistered)
{
    qputenv("TESSARYN_PDF_HANDLER", "1");
    EXPECT_EQ(RegKeyExists(s("HKEY_CLASSES_ROOT\\.pdf\\")), ReadResult::Found);
    qputenv("TESSARYN_PDF_HANDLER", "0");
    EXPECT_EQ(RegKeyExists(s("HKEY_CLASSES_ROOT\\.pdf\\")), ReadResult::Missing);
    qunsetenv("TESSARYN_PDF_HANDLER");
}

TEST(DesktopEntry, ExecPathIsQuotedByTheDesktopEntryRules)
{
    EXPECT_EQ(DesktopExecArgument(s("/usr/bin/tesryn")), s("/usr/bin/tesryn"));
    EXPECT_EQ(DesktopExecArgument(s("/opt/my apps/tesryn")), s("\"/opt/my apps/tesryn\""));
    EXPECT_EQ(DesktopExecArgument(s("/opt/a$b/50%/t")), s("\"/opt/a\\\\$b/50%%/t\""));
}

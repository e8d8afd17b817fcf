#include "core/Options.h"
#include "core/SourceText.h"
#include "core/clsINI.h"
#include "core/frmProcess.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override { env.PrepareUser(); }
    TestEnv env;
};

}  // namespace

TEST_F(Settings, WriteIsSeenByTheNextReadAndRewritesTheWholeFile)
{
    WriteFile(OptionsFilePath(), "; comment\r\n[General]\r\nfday=M\r\n\r\n\r\n[Update]\r\nauto=1\r\n");
    EXPECT_EQ(ReadOption(s("General"), s("fday")), s("M"));
    // The value it already holds is no change: the file stays as it is.
    ASSERT_TRUE(WriteOption(s("General"), s("fday"), s("M")));
    EXPECT_TRUE(ReadFile(OptionsFilePath()).startsWith("; comment\r\n"));
    ASSERT_TRUE(WriteOption(s("General"), s("fday"), s("S")));
    EXPECT_EQ(ReadOption(s("general"), s("FDAY")), s("S"));
    EXPECT_EQ(ReadFile(OptionsFilePath()), QByteArray("[General]\r\nfday=S\r\n\r\n[Update]\r\nauto=1\r\n\r\n"));
}

TEST_F(Settings, ReadsTakeTheFirstSectionAndKeyOfANameInAnyCase)
{
    WriteFile(OptionsFilePath(), "[General]\r\nfday=M\r\nFDAY=S\r\n[general]\r\nfday=X\r\nwtempid=1\r\n");
    EXPECT_EQ(ReadOption(s("GENERAL"), s("Fday")), s("M"));
    EXPECT_TRUE(IsAbsent(ReadOption(s("General"), s("wtempid"))));
}

TEST_F(Settings, ValuesTheFileCannotKeepAreRefusedAndNothingIsWritten)
{
    const QByteArray before = ReadFile(OptionsFilePath());
    for (const QString& bad : {s("a;b"), s("a\rb"), s("a\nb"), QString(QChar(0))})
        EXPECT_FALSE(WriteOption(s("General"), s("wcityname"), bad));
    EXPECT_EQ(ReadFile(OptionsFilePath()), before);
    EXPECT_TRUE(WriteOption(s("General"), s("wcityname"), s("Москва(Россия)")));
    EXPECT_EQ(ReadOption(s("General"), s("wcityname")), s("Москва(Россия)"));
}

// A file that cannot be read is not written over with the one value being set:
// every other setting would be gone. Reading the process's own memory from its start
// fails as a disk's I/O error does.
TEST_F(Settings, AFileThatCannotBeReadIsNotWrittenOver)
{
    ASSERT_TRUE(QFile::remove(OptionsFilePath()));
    ASSERT_TRUE(QFile::link(s("/proc/self/mem"), OptionsFilePath()));
    EXPECT_FALSE(WriteOption(s("General"), s("fday"), s("S")));
    EXPECT_TRUE(QFileInfo(OptionsFilePath()).isSymLink());
}

TEST_F(Settings, MissingKeyReadsAsTheAbsentText)
{
    EXPECT_TRUE(IsAbsent(ReadOption(s("General"), s("nosuchkey"))));
    EXPECT_EQ(GetLangText(s("nosuchkey")), QString());
}

TEST_F(Settings, LanguageNameWithOtherThanAsciiLettersBecomesEnglish)
{
    for (const char* stored : {"[Main]\r\nLanguage=Русский\r\n", "[Main]\r\nLanguage=Eng1\r\n", "[Main]\r\n"}) {
        WriteFile(LangIniPath(), stored);
        EXPECT_EQ(ReadLangIni(s("Main"), s("Language")), s("English"));
        EXPECT_EQ(ReadFile(LangIniPath()), QByteArray("[Main]\r\nLanguage=English\r\n\r\n"));
    }
    WriteFile(LangIniPath(), "[Main]\r\nLanguage=\r\n");
    EXPECT_EQ(ReadLangIni(s("Main"), s("Language")), QString());
}

TEST_F(Settings, LanguageTextsTurnTheBlankMarkIntoABlank)
{
    const QString path = LanguageFilePath(s("Test"));
    WriteFile(path, "[Translation]\r\nmes1=one&!two\r\nmes2=plain\r\n[Site]\r\nzone=xx\r\n");
    Forms::Get<frmProcess>().LanguageName = s("  Test ");
    EXPECT_EQ(GetLangText(s("mes1")), s("one two"));
    EXPECT_EQ(GetLangText(s("mes2")), s("plain"));
    EXPECT_EQ(GetSiteZone(), s("xx"));
    QFile::remove(path);
}

TEST_F(Settings, OwnTextsAreReturnedUnchangedAndWrittenBack)
{
    ASSERT_TRUE(SetOwnText(s("txtdone"), s("Сделано&!")));
    EXPECT_EQ(GetOwnText(s("txtdone")), s("Сделано&!"));
}

TEST_F(Settings, ShippedTextsAgreeBetweenOwnTextsAndLanguageFiles)
{
    for (const char* language : {"English", "Russian"}) {
        Forms::Get<frmProcess>().LanguageName = s(language);
        EXPECT_FALSE(GetOwnText(s("evn1")).isEmpty()) << language;
        EXPECT_EQ(GetOwnText(s("evn1")), GetLangText(s("rpt12"))) << language;
        EXPECT_FALSE(GetSiteZone().isEmpty()) << language;
    }
}

TEST_F(Settings, InstalledOptionsCarryEveryKeyReadAsANumberColourOrFlag)
{
    const char* const keys[][2] = {
        {"General", "fday"},         {"RemWindow", "backcolor"}, {"RemWindow", "txtcolor"},
        {"RemWindow", "txt2color"},  {"RemWindow", "efect1"},    {"RemWindow", "efect2"},
        {"RemWindow", "transp"},     {"RemWindow", "musicpath"}, {"BusSettings", "delwait"},
        {"BusSettings", "notify"},   {"BusSettings", "rowheight"}, {"Update", "auto"},
    };
    for (const auto& key : keys)
        EXPECT_FALSE(IsAbsent(ReadOption(s(key[0]), s(key[1])))) << key[0] << "." << key[1];
    for (int column : {2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 15, 20, 25, 32})
        EXPECT_FALSE(IsAbsent(ReadOption(s("PhoneGridView"), QStringLiteral("col%1").arg(column)))) << column;
}

TEST_F(Settings, MissingSettingsFileEndsTheProgramSilently)
{
    QFile::remove(OptionsFilePath());
    EXPECT_EXIT(ReadOption(s("General"), s("fday")), ::testing::ExitedWithCode(1), "");
}

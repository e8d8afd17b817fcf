#include "core/SourceText.h"
#include "core/clsINI.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

clsINI parse(const char* text)
{
    clsINI ini;
    ini.Parse(QByteArray(text));
    return ini;
}

}  // namespace

TEST(IniParsing, CommentsAndCutsKeepWhatStandsBeforeTheSemicolon)
{
    const clsINI ini = parse("   ; indented comment\r\n[General] ; note\r\nfday=M ; why\r\nkey=a;b\r\n");
    EXPECT_EQ(ini.SectionsCount(), 1);
    EXPECT_EQ(ini.SectionName(1), s("General"));
    EXPECT_EQ(ini.Value(s("General"), s("fday")), s("M "));
    EXPECT_EQ(ini.Value(s("General"), s("key")), s("a"));
}

TEST(IniParsing, MalformedLinesAreSkippedAndBlanksStay)
{
    const clsINI ini = parse("top=ignored\r\n[ Spaced ]\r\n=first\r\nno equals\r\n[]\r\nempty=\r\n"
                             "a = b\r\n\tkey=tab\r\n");
    EXPECT_EQ(ini.SectionsCount(), 1);
    EXPECT_FALSE(ini.SectionExists(s("Spaced")));
    EXPECT_TRUE(ini.SectionExists(s(" Spaced ")));
    EXPECT_EQ(ini.ValuesCount(s(" Spaced ")), 3);
    EXPECT_EQ(ini.Value(s(" Spaced "), s("empty")), QString());
    EXPECT_EQ(ini.Value(s(" Spaced "), s("a ")), s(" b"));
    EXPECT_EQ(ini.Value(s(" Spaced "), s("\tkey")), s("tab"));
}

TEST(IniParsing, BomAndLfOnlyLinesAreRead)
{
    const clsINI ini = parse("\xEF\xBB\xBF[Main]\nLanguage=Russian\n");
    EXPECT_EQ(ini.Value(s("Main"), s("Language")), s("Russian"));
}

TEST(IniLookup, IgnoresLetterCaseIncludingCyrillicAndTakesFirstMatch)
{
    const clsINI ini = parse("[General]\r\nfday=M\r\n[General]\r\nonlyHere=1\r\n[Раздел]\r\nКлюч=да\r\n");
    EXPECT_EQ(ini.Value(s("GENERAL"), s("FDAY")), s("M"));
    EXPECT_EQ(ini.Value(s("раздел"), s("КЛЮЧ")), s("да"));
    EXPECT_EQ(ini.SectionsCount(), 3);
    EXPECT_TRUE(IsAbsent(ini.Value(s("General"), s("onlyHere"))));
}

TEST(IniLookup, AbsentResultIsOneNulNotEmpty)
{
    const clsINI ini = parse("[A]\r\nk=v\r\n");
    const QString missing = ini.Value(s("A"), s("nope"));
    EXPECT_EQ(missing.size(), 1);
    EXPECT_EQ(missing.at(0).unicode(), 0);
    EXPECT_NE(missing, QString());
    EXPECT_TRUE(IsBlank(missing));
    EXPECT_EQ(NoNul(missing), QString());
    EXPECT_TRUE(IsAbsent(ini.Value(s("B"), s("k"))));
    EXPECT_EQ(ini.ValuesCount(s("B")), -1);
    EXPECT_TRUE(IsAbsent(ini.ValueName(s("A"), 0)));
    EXPECT_TRUE(IsAbsent(ini.ValueName(s("A"), 2)));
    EXPECT_EQ(ini.ValueName(s("A"), 1), s("k"));
    EXPECT_TRUE(IsAbsent(ini.SectionName(2)));
}

TEST(IniEditing, RemoveKeepsOrderAndAddRefusesDuplicates)
{
    clsINI ini = parse("[S]\r\na=1\r\nb=2\r\nc=3\r\nd=4\r\n");
    EXPECT_TRUE(ini.RemoveValue(s("S"), s("B")));
    EXPECT_EQ(ini.ValueName(s("S"), 1), s("a"));
    EXPECT_EQ(ini.ValueName(s("S"), 2), s("c"));
    EXPECT_EQ(ini.ValueName(s("S"), 3), s("d"));
    EXPECT_FALSE(ini.AddValue(s("s"), s("A"), s("x")));
    EXPECT_EQ(ini.Value(s("S"), s("a")), s("1"));
    EXPECT_TRUE(ini.AddValue(s("New"), s("k"), s("v")));
    EXPECT_FALSE(ini.AddSection(s("NEW")));
    EXPECT_TRUE(ini.RemoveSection(s("new")));
    EXPECT_FALSE(ini.RemoveSection(s("new")));
}

TEST(IniEditing, SetKeepsStoredKeyCaseAndAppendsNewSectionsLast)
{
    clsINI ini = parse("[General]\r\nFday=M\r\n");
    ini.SetValue(s("general"), s("FDAY"), s("S"));
    ini.SetValue(s("Update"), s("auto"), s("1"));
    EXPECT_EQ(ini.Serialize(), QByteArray("[General]\r\nFday=S\r\n\r\n[Update]\r\nauto=1\r\n\r\n"));
}

TEST(IniWriting, RewriteDropsCommentsAndLinesBeforeTheFirstSection)
{
    const clsINI ini = parse("stray=1\r\n; comment\r\n\r\n[A]\r\nk=v\r\n\r\n\r\n[A]\r\nk=w\r\n");
    EXPECT_EQ(ini.Serialize(), QByteArray("[A]\r\nk=v\r\n\r\n[A]\r\nk=w\r\n\r\n"));
}

// Random texts built from the characters that matter to the format.
TEST(IniRoundTrip, ParseWriteParseIsStable)
{
    const QString alphabet = s("ab[]=; \t\r\nÄя1");
    QRandomGenerator random(20261209);
    for (int round = 0; round < 3000; ++round) {
        QString text;
        const int length = static_cast<int>(random.bounded(120));
        for (int i = 0; i < length; ++i)
            text += alphabet.at(static_cast<int>(random.bounded(alphabet.size())));
        clsINI first;
        first.Parse(text.toUtf8());
        clsINI second;
        second.Parse(first.Serialize());
        clsINI third;
        third.Parse(second.Serialize());
        ASSERT_EQ(second.Serialize(), third.Serialize()) << text.toStdString();
        ASSERT_EQ(first.SectionsCount(), second.SectionsCount()) << text.toStdString();
    }
}

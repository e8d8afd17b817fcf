// The code-page decoder the file readers share: every page they name reads its own
// characters, and a page the Qt build lacks still reads as windows-1252.

#include "core/SourceText.h"
#include "platform/CodePage.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

namespace {

TEST(CodePage, EveryPageTheReadersNameReadsItsCharacters)
{
    // Windows numbers as the RTF reader meets them; names as the vCard reader gets them.
    const struct {
        int number;
        const char* name;
        QByteArray bytes;
        const char* expected;
    } cases[] = {
        {437, nullptr, "\x80", "Ç"},           {850, nullptr, "\x9b", "ø"},
        {874, nullptr, "\xa1", "ก"},           {932, nullptr, "\x82\xa0", "あ"},
        {936, nullptr, "\xc4\xe3", "你"},      {949, nullptr, "\xb0\xa1", "가"},
        {950, nullptr, "\xa4\xa4", "中"},      {1250, nullptr, "\x8a\xb9", "Šą"},
        {1251, nullptr, "\xc0", "А"},          {1252, nullptr, "\x80", "€"},
        {1253, nullptr, "\xc1", "Α"},          {1254, nullptr, "\xd0", "Ğ"},
        {1255, nullptr, "\xe0", "א"},          {1256, nullptr, "\xc7", "ا"},
        {1257, nullptr, "\xc0", "Ą"},          {1258, nullptr, "\xc3", "Ă"},
        {10000, nullptr, "\x80\xa5", "Ä•"},    {10001, nullptr, "\x82\xa0", "あ"},
        {10002, nullptr, "\xa4\xa4", "中"},    {10003, nullptr, "\xb0\xa1", "가"},
        {10006, nullptr, "\xe1", "α"},         {10007, nullptr, "\x8f\xf0\xe8\xe2\xe5\xf2", "Привет"},
        {10008, nullptr, "\xc4\xe3", "你"},    {10021, nullptr, "\xa1", "ก"},
        {10029, nullptr, "\x81", "Ā"},         {10081, nullptr, "\xda", "Ğ"},
        {0, "windows-1251", "\xcf\xf0\xe8", "При"}, {0, "windows-1252", "\x80\xe9", "€é"},
        {0, "UTF-8", "\xd0\x96", "Ж"},         {0, "ISO-8859-1", "\xe9", "é"},
        {0, "KOI8-R", "\xf0\xd2\xc9", "При"},
    };
    for (const auto& c : cases) {
        const QByteArray name = c.name ? QByteArray(c.name) : CodePage::NameOf(c.number);
        EXPECT_TRUE(CodePage::Known(name)) << c.number << " " << name.constData();
        EXPECT_EQ(CodePage::Decode(c.bytes, name), s(c.expected)) << c.number << " " << name.constData();
    }
}

TEST(CodePage, APageTheQtBuildLacksReadsAsWindows1252)
{
    QByteArray upper;
    for (int code = 0x80; code <= 0xff; ++code)
        upper.append(static_cast<char>(code));
    // Qt's own windows-1252 (ICU here) is the measure of our table.
    const QString expected = QStringDecoder("windows-1252").decode(upper);
    ASSERT_EQ(expected.size(), 128);
    // Mac Arabic and Hebrew have no converter in Qt 6.4; the others no page at all.
    for (const QByteArray& name : {CodePage::NameOf(10004), CodePage::NameOf(10005), CodePage::NameOf(1361),
                                   QByteArray("x-no-such-page"), QByteArray()}) {
        EXPECT_FALSE(CodePage::Known(name)) << name.constData();
        EXPECT_EQ(CodePage::Decode("abc " + upper, name), s("abc ") + expected) << name.constData();
    }
}

}  // namespace

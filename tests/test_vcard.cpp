// The vCard reader: the mapping of a card to the address book's texts, the files
// of real exporters in their encodings, and damaged input.

#include "vcard_fixtures.h"

#include "core/SourceText.h"
#include "platform/VCardMapping.h"

#include <gtest/gtest.h>

namespace {

QList<VCard> read(const QByteArray& file, const char* fallback = "windows-1252")
{
    VCardText::FileForm form;
    return ReadCards(VCardText::Normalized(file, &form), fallback);
}

ContactTexts mapped(const char* body)
{
    const QList<VCard> cards = read(Fixtures::crlf("BEGIN:VCARD\nVERSION:3.0\n") + Fixtures::crlf(body)
                                    + "\r\nEND:VCARD\r\n");
    EXPECT_EQ(cards.size(), 1) << body;
    return cards.isEmpty() ? ContactTexts() : MapCard(cards.first());
}

TEST(VCardMapping, EachTextComesFromItsProperty)
{
    const struct {
        const char* body;
        ContactText text;
        const char* expected;
    } cases[] = {
        {"N:Doe;John;Paul,Peter;Dr.;", GivenName, "John"},
        {"N:Doe;John;Paul,Peter;Dr.;", FamilyName, "Doe"},
        {"N:Doe;John;Paul,Peter;Dr.;", AdditionalNames, "Paul Peter"},
        {"N:;;;;\nFN:Acme Ltd", GivenName, "Acme Ltd"},
        {"N:Doe;;;;\nFN:John Doe", GivenName, ""},
        {"FN:Only Fn", GivenName, "Only Fn"},
        {"TEL;CELL:1\nTEL;CELL;PREF:2", MobilePhone, "2"},
        {"TEL;TYPE=cell;PREF=3:1\nTEL;TYPE=CELL;PREF=2:2\nTEL;TYPE=cell:3", MobilePhone, "2"},
        {"TEL:1\nTEL;HOME:2", HomePhone, "2"},
        {"TEL;TYPE=home,fax:1\nTEL;WORK:2\nTEL;VOICE:3", HomePhone, "3"},
        {"TEL;HOME;CELL:1\nTEL;PAGER:2\nTEL;TYPE=x-other:3", HomePhone, ""},
        {"TEL;VALUE=uri:tel:+1-555-0100", HomePhone, "+1-555-0100"},
        {"TEL;HOME;FAX:1\nTEL;WORK;FAX:2", HomeFax, "1"},
        {"TEL;HOME;FAX:1\nTEL;WORK;FAX:2", WorkFax, "2"},
        {"TEL;WORK;CELL:1\nTEL;WORK;PAGER:2\nTEL;WORK:3", WorkPhone, "3"},
        {"ADR;WORK:;;w;wc;wr;wz;wk\nADR:;;h;hc;hr;hz;hk", HomeCity, "hc"},
        {"ADR:;;h;hc;hr;hz;hk\nADR;HOME:;;H;HC;HR;HZ;HK", HomeCountry, "HK"},
        {"ADR;HOME:box 1;flat 2;Main St;c;r;z;k", HomeStreet, "box 1, flat 2, Main St"},
        {"ADR;HOME:;;Main St\\nBlock B;c;r;z;k", HomeStreet, "Main St, Block B"},
        {"ADR;HOME:;;s;c;r;z;k", HomeRegion, "r"},
        {"ADR;HOME:;;s;c;r;z;k", HomePostalCode, "z"},
        {"ADR;WORK:;;s;c;r;z;k", WorkCountry, "k"},
        {"ADR;WORK:;;s;c;r;z;k", WorkRegion, "r"},
        {"ADR;WORK:;;s;c;r;z;k", WorkCity, "c"},
        {"ADR;WORK:;;s;c;r;z;k", WorkStreet, "s"},
        {"ADR;WORK:;;s;c;r;z;k", WorkPostalCode, "z"},
        {"ADR;WORK:;;s;c;r;z;k", HomeStreet, ""},
        {"EMAIL:a@x\nEMAIL;PREF:b@x", Email, "b@x"},
        {"EMAIL:a@x\nEMAIL;PREF:b@x", SecondEmail, "a@x"},
        {"URL:http://a\nURL;TYPE=pref:http://b", WebAddress, "http://b"},
        // Escapes of 3.0, the colon as address-book exporters write it.
        {"item1.URL;type=pref:http\\://www.ibm.com\nitem1.X-ABLabel:_$!<HomePage>!$_", WebAddress,
         "http://www.ibm.com"},
        {"ORG:A\\;B\\, C;Dept", Company, "A;B, C"},
        {"TITLE:C:\\\\Temp \\\"x\\\" \\q", JobTitle, "C:\\Temp \"x\" \\q"},
        {"TITLE:Boss\\nof all", JobTitle, "Boss, of all"},
        {"NOTE:one\\n two\nNOTE:three", Notes, "one\ntwo\nthree"},
        {"FN: \x01 A\tB \x7f ", GivenName, "AB"},
        {"item7.EMAIL;type=INTERNET:x@y", Email, "x@y"},
        // Folded anywhere, the name and parameters too.
        {"ADR;TYPE=home;LABEL=\"Flat B\\n221B Baker Street\\nLondon NW1 6XE\\nUnited King\n dom\":;;221B Baker "
         "Street;London;;NW1 6XE;United Kingdom",
         HomeCity, "London"},
        {"TEL;TYPE=VOICE,M\n\tSG,WORK:+1-919-676-9515", WorkPhone, "+1-919-676-9515"},
        {"EM\n AIL;TYPE=pr\n ef:a@x\nEMAIL:b@\n x", SecondEmail, "b@x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mapped(c.body)[c.text], s(c.expected)) << c.body;
}

TEST(VCardMapping, LongTextStopsAtTheCap)
{
    const QByteArray note = "NOTE:" + QByteArray(MaxTextLength + 500, 'x');
    EXPECT_EQ(mapped(note.constData())[Notes].size(), MaxTextLength);
}

TEST(VCardReader, ExportersFilesDecode)
{
    const struct {
        QByteArray file;
        const char* fallback;
        int card;
        ContactText text;
        const char* expected;
    } cases[] = {
        {Fixtures::Phone21(), "windows-1252", 0, FamilyName, "Петров"},
        {Fixtures::Phone21(), "windows-1252", 0, AdditionalNames, "Сергеевич"},
        {Fixtures::Phone21(), "windows-1252", 0, MobilePhone, "+7 916 123-45-67"},
        {Fixtures::Phone21(), "windows-1252", 0, HomeStreet, "ул. Ленина, 1"},
        {Fixtures::Phone21(), "windows-1252", 0, HomeRegion, "Московская область"},
        {Fixtures::Phone21(), "windows-1252", 0, Notes,
         "Друг детства, встреча каждую субботу у фонтана в парке Горького\nзвонить вечером"},
        {Fixtures::Phone21(300000), "windows-1252", 0, Email, "ivan@example.ru"},
        {Fixtures::Phone21(), "windows-1252", 1, HomePhone, "112"},
        {Fixtures::Desktop21(true), "windows-1252", 0, GivenName, "Анна"},
        {Fixtures::Desktop21(true), "windows-1252", 0, Company, "ООО \"Ромашка\""},
        {Fixtures::Desktop21(false), "windows-1251", 0, JobTitle, "Главный бухгалтер"},
        {Fixtures::Desktop21(false), "windows-1252", 0, FamilyName, "Ñèäîðîâà"},
        {Fixtures::Desktop21(true), "windows-1252", 0, WorkStreet, "Невский пр., 1"},
        {Fixtures::Desktop21(true), "windows-1252", 0, WorkFax, "+7 (812) 555-01-03"},
        {Fixtures::Desktop21(true), "windows-1252", 0, Email, "anna@example.ru"},
        {Fixtures::Utf16Export(), "windows-1252", 0, GivenName, "Ольга"},
        {Fixtures::Utf16Export(), "windows-1252", 0, MobilePhone, "+380 50 123 4567"},
        {Fixtures::Apple30(), "windows-1252", 0, Email, "john@home.example"},
        {Fixtures::Apple30(), "windows-1252", 0, HomePhone, "555-0100"},
        {Fixtures::Apple30(), "windows-1252", 0, WorkPhone, "555-0102"},
        {Fixtures::Apple30(), "windows-1252", 0, HomeStreet, "1 Infinite Loop, Building 2"},
        {Fixtures::Apple30(), "windows-1252", 0, WorkStreet, "PO Box 7, Suite 5, 2 Market St"},
        {Fixtures::Apple30(), "windows-1252", 0, Company, "Example, Inc."},
        {Fixtures::Apple30(), "windows-1252", 0, Notes, "Line one\nLine two, with comma"},
        {Fixtures::Modern40(), "windows-1252", 0, MobilePhone, "+49-171-7654321"},
        {Fixtures::Modern40(), "windows-1252", 0, HomePhone, "+49-30-1234567"},
        {Fixtures::Modern40(), "windows-1252", 0, Email, "renee@home.example"},
        {Fixtures::Modern40(), "windows-1252", 0, HomeCity, "Berlin"},
        {Fixtures::WithLineEnds(Fixtures::Apple30(), "\n"), "windows-1252", 0, JobTitle, "Chief Tester"},
        {Fixtures::WithLineEnds(Fixtures::Apple30(), "\r"), "windows-1252", 0, JobTitle, "Chief Tester"},
        {"\xEF\xBB\xBF" + Fixtures::Apple30(), "windows-1252", 0, FamilyName, "Appleseed"},
        {Fixtures::Apple30(), "windows-1252", 0, WebAddress, "https://example.com/~john"},
        // \" is an escape of 3.0 alone.
        {Fixtures::crlf("BEGIN:VCARD\nVERSION:4.0\nNOTE:a\\\"b\\:c\nEND:VCARD\n"), "windows-1252", 0, Notes, "a\\\"b:c"},
        {Fixtures::crlf("BEGIN:VCARD\nVERSION:2.1\nNOTE:a\\\"b\\:c\nEND:VCARD\n"), "windows-1252", 0, Notes, "a\\\"b:c"},
    };
    for (const auto& c : cases) {
        const QList<VCard> cards = read(c.file, c.fallback);
        ASSERT_GT(cards.size(), c.card) << c.expected;
        EXPECT_EQ(MapCard(cards[c.card])[c.text], s(c.expected));
    }
}

TEST(VCardReader, GroupsAndIdentifiers)
{
    const QList<VCard> apple = read(Fixtures::Apple30());
    ASSERT_EQ(apple.size(), 3);
    EXPECT_EQ(CardCategories(apple[0]), (QStringList{s("Friends,Family"), s("Work")}));
    EXPECT_TRUE(IsGroupCard(apple[1]));
    EXPECT_EQ(CardMembers(apple[1]), QStringList{CardUid(apple[0])});
    EXPECT_EQ(CardName(apple[1]), s("Tennis partners"));

    const QList<VCard> modern = read(Fixtures::Modern40());
    ASSERT_EQ(modern.size(), 2);
    EXPECT_FALSE(IsGroupCard(modern[0]));
    EXPECT_TRUE(IsGroupCard(modern[1]));
    EXPECT_TRUE(CardMembers(modern[1]).contains(CardUid(modern[0])));
}

TEST(VCardReader, DamagedInputSkipsOnlyWhatIsDamaged)
{
    const struct {
        const char* file;
        QStringList names;
    } cases[] = {
        {"BEGIN:VCARD\nFN:No end\nBEGIN:VCARD\nFN:B\nEND:VCARD\n", {s("B")}},
        {"BEGIN:VCARD\nVERSION:2.1\nFN:Boss\nAGENT:\nBEGIN:VCARD\nFN:Agent\nEND:VCARD\nTEL:1\nEND:VCARD\n",
         {s("Boss")}},
        {"BEGIN:VCARD\nFN:Boss\nAGENT:BEGIN:VCARD\\nFN:Agent\\nEND:VCARD\nEND:VCARD\n", {s("Boss")}},
        {"garbage\x01\x02\nBEGIN:VCARD\n\xff\xfe no colon\nFN:A\n:no name\nEND:VCARD\nBEGIN:VCARD\nFN:cut",
         {s("A")}},
        {"begin:vcard\nfn;charset=bogus-charset:a=3Db\nend:vcard\n", {s("a=3Db")}},
        {"BEGIN:VCARD\nNOTE;ENCODING=QUOTED-PRINTABLE:a=4=\nEND:VCARD\n", {s("")}},
        {"BEGIN:VCARD\nVERSION:2.1\nFN;ENCODING=QUOTED-PRINTABLE:Jane=\nEND:VCARD\n", {s("Jane")}},
        {"BEGIN:VCARD\nFN:Outer\nBEGIN:VCARD\nFN:Inner\nBEGIN:VCARD\nFN:Deep\nEND:VCARD\nEND:VCARD\nEND:VCARD\n",
         {s("Outer"), s("Inner"), s("Deep")}},
    };
    for (const auto& c : cases) {
        QStringList names;
        for (const VCard& card : read(Fixtures::crlf(c.file)))
            names.append(CardName(card));
        EXPECT_EQ(names, c.names) << c.file;
    }
    // The card around a nested one keeps the fields after it.
    const QList<VCard> nested = read(Fixtures::crlf("BEGIN:VCARD\nFN:Outer\nBEGIN:VCARD\nFN:Inner\nTEL;HOME:2\n"
                                                    "END:VCARD\nTEL;HOME:1\nEND:VCARD\n"));
    ASSERT_EQ(nested.size(), 2);
    EXPECT_EQ(MapCard(nested[0])[HomePhone], s("1"));
    EXPECT_EQ(MapCard(nested[1])[HomePhone], s("2"));
    const QList<VCard> qp = read(Fixtures::crlf("BEGIN:VCARD\nNOTE;QUOTED-PRINTABLE:a=4=\nEND:VCARD\n"));
    ASSERT_EQ(qp.size(), 1);
    EXPECT_EQ(MapCard(qp[0])[Notes], s("a=4"));
}

}  // namespace

// The RTF reader and writer: every kept format survives a round trip, random
// documents survive ten of them unchanged, files of other writers read as they
// were meant, damaged files read as far as they go, and pasting keeps only what a
// note can store.

#include "test_rtf_fixtures.h"

#include "core/SourceText.h"
#include "platform/RichTextBox.h"

#include <QMimeData>
#include <QRandomGenerator>
#include <QTextCursor>

#include <functional>

namespace {

QTextCharFormat plainFormat()
{
    QTextCharFormat format;
    format.setFontFamilies({s("Liberation Sans")});
    format.setFontPointSize(11);
    return format;
}

// "plain " then the text in the plain format changed by the edit.
void styled(QTextCursor& cursor, const QString& text, const std::function<void(QTextCharFormat&)>& edit)
{
    cursor.insertText(s("plain "), plainFormat());
    QTextCharFormat format = plainFormat();
    edit(format);
    cursor.insertText(text, format);
}

QByteArray roundTrip(const QTextDocument& document, QTextDocument* back)
{
    const QByteArray written = WriteRtf(document);
    ReadRtf(written, back);
    return written;
}

TEST(Rtf, EachKeptFormatSurvivesARoundTrip)
{
    const struct {
        const char* name;
        std::function<void(QTextCursor&)> build;
    } cases[] = {
        {"bold", [](QTextCursor& c) { styled(c, s("bold"), [](auto& f) { f.setFontWeight(QFont::Bold); }); }},
        {"italic", [](QTextCursor& c) { styled(c, s("italic"), [](auto& f) { f.setFontItalic(true); }); }},
        {"underline", [](QTextCursor& c) { styled(c, s("under"), [](auto& f) { f.setFontUnderline(true); }); }},
        {"strike", [](QTextCursor& c) { styled(c, s("gone"), [](auto& f) { f.setFontStrikeOut(true); }); }},
        {"font", [](QTextCursor& c) { styled(c, s("serif"), [](auto& f) { f.setFontFamilies({s("Liberation Serif")}); }); }},
        {"font name beyond ASCII and with braces",
         [](QTextCursor& c) { styled(c, s("x"), [](auto& f) { f.setFontFamilies({s("Шрифт {1}\\")}); }); }},
        {"half-point size", [](QTextCursor& c) { styled(c, s("big"), [](auto& f) { f.setFontPointSize(10.5); }); }},
        {"colour", [](QTextCursor& c) { styled(c, s("red"), [](auto& f) { f.setForeground(QColor(200, 10, 30)); }); }},
        {"everything at once",
         [](QTextCursor& c) {
             styled(c, s("all"), [](auto& f) {
                 f.setFontWeight(QFont::Bold);
                 f.setFontItalic(true);
                 f.setFontUnderline(true);
                 f.setFontStrikeOut(true);
                 f.setForeground(QColor(Qt::blue));
                 f.setFontPointSize(24);
             });
         }},
        {"alignments",
         [](QTextCursor& c) {
             for (Qt::Alignment a : {Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify, Qt::AlignLeft}) {
                 QTextBlockFormat block;
                 block.setAlignment(a);
                 c.setBlockFormat(block);
                 c.insertText(s("line"), plainFormat());
                 c.insertBlock();
             }
         }},
        {"tab, line break, empty paragraphs",
         [](QTextCursor& c) {
             c.insertText(s("a\tb") + QChar(QChar::LineSeparator) + s("c"), plainFormat());
             c.insertBlock();
             c.insertBlock();
             c.insertText(s("d"), plainFormat());
             c.insertBlock();
         }},
        {"RTF's own characters", [](QTextCursor& c) { c.insertText(s("\\par {not a group} \\'41"), plainFormat()); }},
        {"text beyond ASCII", [](QTextCursor& c) { c.insertText(s("Привет, 안녕, 😀, «»"), plainFormat()); }},
        {"empty document", [](QTextCursor&) {}},
    };
    for (const auto& c : cases) {
        QTextDocument document;
        QTextCursor cursor(&document);
        c.build(cursor);
        QTextDocument back;
        const QByteArray written = roundTrip(document, &back);
        EXPECT_EQ(Look(back), Look(document)) << c.name << "\n" << written.constData();
        EXPECT_EQ(WriteRtf(back).toStdString(), written.toStdString()) << c.name;
    }
}

TEST(Rtf, TheWriterEscapesRtfsCharactersAndWritesUnicodeUnits)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat format = plainFormat();
    cursor.insertText(s("{a}\\b"), format);
    format.setForeground(QColor(255, 0, 0));
    cursor.insertText(s("Ж안😀"), format);
    const QByteArray written = WriteRtf(document);
    EXPECT_TRUE(written.startsWith("{\\rtf1\\ansi")) << written.constData();
    EXPECT_TRUE(written.contains("\\uc1")) << written.constData();
    EXPECT_TRUE(written.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Liberation Sans;}}")) << written.constData();
    EXPECT_TRUE(written.contains("{\\colortbl ;\\red255\\green0\\blue0;}")) << written.constData();
    EXPECT_TRUE(written.contains("\\{a\\}\\\\b")) << written.constData();
    EXPECT_TRUE(written.contains("\\u1046?\\u-15032?\\u-10179?\\u-8704?")) << written.constData();
    for (const char byte : written)
        EXPECT_LT(static_cast<unsigned char>(byte), 0x80);
}

// Random paragraphs of random runs: every kept format, text from several scripts.
void randomDocument(QRandomGenerator& random, QTextDocument* document)
{
    static const QStringList families = {s("Liberation Sans"), s("Liberation Serif"), s("DejaVu Sans Mono")};
    static const QString letters = s("abcXYZ 019{}\\;\t?ЖжЁé€안😀") + QChar(QChar::LineSeparator);
    QTextCursor cursor(document);
    const int paragraphs = random.bounded(1, 6);
    for (int p = 0; p < paragraphs; ++p) {
        if (p > 0)
            cursor.insertBlock();
        QTextBlockFormat block;
        block.setAlignment(std::array{Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight}[random.bounded(3)]);
        cursor.setBlockFormat(block);
        for (int run = random.bounded(0, 5); run > 0; --run) {
            QTextCharFormat format;
            format.setFontFamilies({families.at(random.bounded(families.size()))});
            format.setFontPointSize(random.bounded(12, 49) / 2.0);
            format.setFontWeight(random.bounded(2) ? QFont::Bold : QFont::Normal);
            format.setFontItalic(random.bounded(2));
            format.setFontUnderline(random.bounded(2));
            format.setFontStrikeOut(random.bounded(2));
            if (random.bounded(2))
                format.setForeground(QColor::fromRgb(random.bounded(0x1000000)));
            QString text;
            for (int i = random.bounded(1, 12); i > 0; --i) {
                const QString letter = letters.mid(random.bounded(letters.size()), 1);
                text += QChar(letter.at(0)).isSurrogate() ? s("😀") : letter;
            }
            cursor.insertText(text, format);
        }
    }
}

TEST(Rtf, RandomDocumentsKeepTheirTextAndFormatsOverTenSaves)
{
    QRandomGenerator random(20261210);
    for (int round = 0; round < 60; ++round) {
        QTextDocument original;
        randomDocument(random, &original);
        const DocumentLook expected = Look(original);
        const QByteArray first = WriteRtf(original);
        QByteArray written = first;
        for (int cycle = 0; cycle < 10; ++cycle) {
            QTextDocument back;
            ReadRtf(written, &back);
            ASSERT_EQ(Look(back), expected) << "round " << round << ", cycle " << cycle << "\n" << written.constData();
            written = WriteRtf(back);
            ASSERT_EQ(written.toStdString(), first.toStdString()) << "round " << round << ", cycle " << cycle;
        }
    }
}

TEST(Rtf, FilesOfOtherWritersReadAsTheyWereMeant)
{
    const DocumentLook richEdit = LookOfRtf(RichEditFixture());
    EXPECT_EQ(richEdit.paragraphs, (QStringList{s("Привет, мир!"), s("red centred"), s("under\tgone")}));
    EXPECT_EQ(richEdit.alignments,
              (QList{ParagraphAlignment::Left, ParagraphAlignment::Centre, ParagraphAlignment::Left}));
    ASSERT_EQ(richEdit.styles.size(), 33);
    const CharStyle& greeting = richEdit.styles.at(0);
    EXPECT_EQ(greeting.family, s("Arial CYR"));
    EXPECT_EQ(greeting.points, 10);
    EXPECT_FALSE(greeting.bold);
    EXPECT_TRUE(richEdit.styles.at(8).bold);  // "мир"
    EXPECT_FALSE(richEdit.styles.at(11).bold);
    EXPECT_EQ(richEdit.styles.at(12).colour, QColor(255, 0, 0));
    EXPECT_TRUE(richEdit.styles.at(12).italic);
    const CharStyle& under = richEdit.styles.at(23);
    EXPECT_EQ(under.family, s("Tahoma"));
    EXPECT_EQ(under.points, 12);
    EXPECT_TRUE(under.underline);
    EXPECT_TRUE(richEdit.styles.at(32).strike);
    EXPECT_FALSE(richEdit.styles.at(32).underline);

    const DocumentLook other = LookOfRtf(WordProcessorFixture());
    EXPECT_EQ(other.paragraphs, (QStringList{s("Before after"), s("link text"), s("A1\tB1\t"), s("При ве"), s("あソ")}));
    EXPECT_TRUE(other.styles.at(12).underline);  // the link's text
    EXPECT_EQ(other.styles.at(12).colour, QColor(5, 99, 193));
    EXPECT_EQ(other.styles.last().family, s("MS Gothic"));
}

struct ParagraphCase {
    const char* name;
    QByteArray data;
    QStringList paragraphs;
};

template <size_t N>
void expectParagraphs(const ParagraphCase (&cases)[N])
{
    for (const auto& c : cases)
        EXPECT_EQ(LookOfRtf(c.data).paragraphs, c.paragraphs) << c.name << "\n" << c.data.constData();
}

// TextEdit's line ends, AbiWord's links and the Mac's code pages.
TEST(Rtf, TextOfOtherWritersKeepsItsParagraphsLinksAndCodePages)
{
    const ParagraphCase cases[] = {
        {"a backslash before LF", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 one\\\ntwo\\\nthree\\par}",
         {s("one"), s("two"), s("three")}},
        {"a backslash before CR LF", "{\\rtf1 one\\\r\ntwo\\\r\n\\'e9\\par}", {s("one"), s("two"), s("é")}},
        {"a starred field result", "{\\rtf1 See {\\field{\\*\\fldinst HYPERLINK \"http://x/\"}{\\*\\fldrslt LINKTEXT}} end}",
         {s("See LINKTEXT end")}},
        {"a field result inside a skipped group", "{\\rtf1 a{\\*\\fldinst{\\*\\fldrslt no}}{\\info{\\*\\fldrslt no}}b}",
         {s("ab")}},
        {"Mac Roman", "{\\rtf1\\mac \\'80\\'a5}", {s("Ä•")}},
        {"Mac Japanese", "{\\rtf1\\mac\\ansicpg10001 \\'82\\'a0}", {s("あ")}},
        {"Mac Cyrillic by the document", "{\\rtf1\\ansi\\ansicpg10007 \\'8f\\'f0\\'e8}", {s("При")}},
        {"Mac Cyrillic by the font", "{\\rtf1\\mac{\\fonttbl{\\f0\\fcharset89 Geneva;}}\\f0 \\'8f\\'f0\\'e8}", {s("При")}},
        {"Mac Japanese by the font", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset78 Osaka;}}\\f0 \\'82\\'a0}", {s("あ")}},
        {"a font's code page over its charset",
         "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0\\cpg10029 Geneva CE;}}\\f0 \\'81}", {s("Ā")}},
        {"Mac Arabic, which Qt lacks", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset84 Baghdad;}}\\f0 a\\'80}", {s("a€")}},
        {"a nested table, its fallback for older readers skipped",
         "{\\rtf1 A1\\cell\\pard\\intbl\\itap2 B1\\nestcell{\\*\\nesttableprops\\trowd\\cellx500\\nestrow}"
         "{\\nonesttables NESTED FALLBACK ONE\\par}\\pard\\intbl\\itap1\\cell\\row}",
         {s("A1\tB1\t\t")}},
    };
    expectParagraphs(cases);
}

TEST(Rtf, DamagedOrForeignDataReadsAsFarAsItGoes)
{
    const ParagraphCase cases[] = {
        {"missing closing braces", "{\\rtf1{\\b bold {\\i both", {s("bold both")}},
        {"a cut file", RichEditFixture().left(RichEditFixture().indexOf("\\b0")), {s("Привет, мир")}},
        {"a cut control word", "{\\rtf1 text\\pa", {s("text")}},
        {"braces after the end", "{\\rtf1 one}}}{two}", {s("one")}},
        {"unknown font and colour", "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f7\\cf9 text}", {s("text")}},
        {"huge numbers", "{\\rtf1\\fs99999999999\\cf-5\\u99999999999 ?x\\ansicpg99999999 \\'e9}", {s("\uffffx\u00e9")}},
        {"bad hex", "{\\rtf1 a\\'zz b\\'4}", {s("azz b4")}},
        {"plain text", "first line\r\nsecond — line\n", {s("first line"), s("second — line"), QString()}},
        {"not UTF-8 either", "caf\xe9", {s("café")}},
        {"empty", "", {QString()}},
    };
    expectParagraphs(cases);
    QTextDocument document;
    ReadRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f7\\fs99999999999\\cf9 text}", &document);
    const CharStyle style = Look(document).styles.value(0);
    EXPECT_EQ(style.family, s("Arial"));
    EXPECT_EQ(style.points, 1638);
    EXPECT_FALSE(style.colour.isValid());
}

TEST(Rtf, PastingKeepsOnlyWhatANoteCanStore)
{
    struct PasteBox : RichTextBox {
        using RichTextBox::insertFromMimeData;
    } box;
    box.document()->setDefaultFont(QFont(s("Liberation Sans"), 11));
    QMimeData pasted;
    pasted.setHtml(s("<p style='background:yellow'><b>Bold</b> <a href='http://x/'>link</a>"
                     "<img src='data:image/png;base64,iVBORw0KGgo='> <span style='font-size:16px;color:#ff0000'>big</span></p>"
                     "<table><tr><td>A</td><td>B</td></tr></table>"));
    box.insertPlainText(s("Start "));
    box.insertFromMimeData(&pasted);
    const QByteArray stored = box.TextRTF();
    QTextDocument reread;
    ReadRtf(stored, &reread);
    EXPECT_EQ(Look(reread), Look(*box.document())) << stored.constData();
    const DocumentLook look = Look(*box.document());
    EXPECT_EQ(look.paragraphs.value(0), s("Start Bold link big"));
    EXPECT_TRUE(look.styles.at(6).bold);
    EXPECT_EQ(look.styles.at(16).points, 12);
    EXPECT_EQ(look.styles.at(16).colour, QColor(255, 0, 0));
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            EXPECT_FALSE(it.fragment().charFormat().isAnchor());
            EXPECT_FALSE(it.fragment().charFormat().isImageFormat());
            EXPECT_FALSE(it.fragment().charFormat().hasProperty(QTextFormat::BackgroundBrush));
        }
    }
}

}  // namespace

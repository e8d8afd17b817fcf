#pragma once

// Hand-written RTF files in the shapes that reach the note editor, and a look at a
// document character by character, shared by the RTF tests.

#include "platform/RtfReader.h"
#include "platform/RtfWriter.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <ostream>

// A Cyrillic Windows rich-text control's file: windows-1251 bytes by the font's
// charset, a font with an alternative name, and the NUL it leaves after the last brace.
inline QByteArray RichEditFixture()
{
    return QByteArrayLiteral(
               "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fswiss\\fcharset204"
               "{\\*\\fname Arial;}Arial CYR;}{\\f1\\fnil\\fcharset0 Tahoma;}}\r\n"
               "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
               "\\viewkind4\\uc1\\pard\\f0\\fs20 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2, \\b\\'ec\\'e8\\'f0\\b0 !\\par\r\n"
               "\\pard\\qc\\cf1\\i red centred\\cf0\\i0\\par\r\n"
               "\\pard\\f1\\fs24\\ul under\\ulnone\\tab\\strike gone\\strike0\\par\r\n"
               "}\r\n")
        + QByteArray(1, '\0');
}

// Another word processor's file: style sheet, document information, a picture, a
// hyperlink field, a table row, \uc0 and \uc2, a Japanese font, headers and binary data.
inline QByteArray WordProcessorFixture()
{
    return QByteArrayLiteral(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}"
        "{\\f1\\fnil\\fcharset128 MS Gothic;}}\r\n"
        "{\\colortbl ;\\red5\\green99\\blue193;}\r\n"
        "{\\stylesheet{ Normal;}{\\s1 heading 1;}}\r\n"
        "{\\info{\\author Someone}{\\title Secret}}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1\r\n"
        "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Before {\\pict\\wmetafile8\\picw10\\pich10 0102030405ff}after\\par\r\n"
        "{\\field{\\*\\fldinst{HYPERLINK \"http://example.com/\"}}{\\fldrslt{\\ul\\cf1 link text}}}\\par\r\n"
        "\\trowd\\cellx1000\\cellx2000 A1\\cell B1\\cell\\row\r\n"
        "{\\uc0\\u1055\\u1088\\u1080} {\\uc2\\u1074\\'3f\\'3f\\u1077\\'3f\\'3f}\\par\r\n"
        "\\f1\\'82\\'a0\\'83\\'5c\\f0\\par\r\n"
        "{\\header header text}{\\footer footer}\\bin5 {}{}}}\r\n");
}

struct DocumentLook {
    QStringList paragraphs;
    QList<ParagraphAlignment> alignments;
    QList<CharStyle> styles;  // one per character, paragraph marks left out

    bool operator==(const DocumentLook&) const = default;
};

inline DocumentLook Look(const QTextDocument& document)
{
    DocumentLook look;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        look.paragraphs.append(block.text());
        look.alignments.append(ResolveAlignment(block.blockFormat()));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const CharStyle style = ResolveStyle(it.fragment().charFormat(), document.defaultFont());
            for (qsizetype i = 0; i < it.fragment().length(); ++i)
                look.styles.append(style);
        }
    }
    return look;
}

inline void PrintTo(const DocumentLook& look, std::ostream* out)
{
    *out << look.paragraphs.join(QStringLiteral("|")).toStdString() << " (" << look.styles.size() << " styled)";
}

inline DocumentLook LookOfRtf(const QByteArray& data)
{
    QTextDocument document;
    ReadRtf(data, &document);
    return Look(document);
}

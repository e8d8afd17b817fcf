#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QString>

class QTextBlockFormat;
class QTextCharFormat;
class QTextDocument;

// What a note keeps of a character's format. Properties the format leaves open
// come from the document's default font; an invalid colour is the automatic one.
struct CharStyle {
    QString family;
    double points = 12;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QColor colour;

    bool operator==(const CharStyle&) const = default;
};

CharStyle ResolveStyle(const QTextCharFormat& format, const QFont& defaultFont);

// What a note keeps of a paragraph's format.
enum class ParagraphAlignment { Left, Centre, Right, Justify };

ParagraphAlignment ResolveAlignment(const QTextBlockFormat& format);

// The document as RTF: font and colour tables, then every paragraph with its
// alignment and the styles of its text. Text beyond ASCII is written as \uN with
// "?" for readers that cannot show it. A document written, read back and written
// again gives the same bytes.
QByteArray WriteRtf(const QTextDocument& document);

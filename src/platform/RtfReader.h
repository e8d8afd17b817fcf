#pragma once

#include <QByteArray>
#include <QTextFormat>

class QString;
class QTextCharFormat;
class QTextDocument;

// A format's font family, also as a text of its own: the document tells formats
// apart by a hash that sees a text but not a list of them, so that formats that
// differ only by family would all be compared with each other.
constexpr int FontFamilyKey = QTextFormat::UserProperty + 1;
void SetFontFamily(QTextCharFormat& format, const QString& family);

// True when the data starts as an RTF file does.
bool IsRtf(const QByteArray& data);

// A paragraph costs the document far more than its mark costs the file: the
// paragraphs beyond this many go on in the last one, each after a line break.
constexpr int MaxRtfParagraphs = 100000;

// Replaces the document's content with the data: RTF of this program or of other
// word processors, of which bold, italic, underline, strike-through, font, size,
// colour, paragraph alignment, tabs and line and paragraph breaks are kept and the
// rest (style sheets, pictures, objects, headers, field instructions, the text
// for readers without nested tables) is skipped. Data that is not RTF is read as
// plain text. Damaged RTF is read as far as it goes; nothing in the data can make
// the reader fail or run long.
void ReadRtf(const QByteArray& data, QTextDocument* document);

#pragma once

#include <QByteArray>

class QTextDocument;

// True when the data starts as an RTF file does.
bool IsRtf(const QByteArray& data);

// Replaces the document's content with the data: RTF of this program or of other
// word processors, of which bold, italic, underline, strike-through, font, size,
// colour, paragraph alignment, tabs and line and paragraph breaks are kept and the
// rest (style sheets, pictures, objects, headers, field instructions) is skipped.
// Data that is not RTF is read as plain text. Damaged RTF is read as far as it
// goes; nothing in the data can make the reader fail or run long.
void ReadRtf(const QByteArray& data, QTextDocument* document);

#include "RtfWriter.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace {

constexpr char16_t ObjectReplacement = 0xFFFC;  // a picture or other object: not kept

QString familyOf(const QTextCharFormat& format)
{
    const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return QString();
}

double pointsOf(const QTextCharFormat& format, const QFont& defaultFont)
{
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        return format.fontPointSize();
    // Pasted web text gives pixels: 96 a inch against 72 points.
    if (format.hasProperty(QTextFormat::FontPixelSize) && format.intProperty(QTextFormat::FontPixelSize) > 0)
        return format.intProperty(QTextFormat::FontPixelSize) * 0.75;
    if (defaultFont.pointSizeF() > 0)
        return defaultFont.pointSizeF();
    return defaultFont.pixelSize() > 0 ? defaultFont.pixelSize() * 0.75 : 12;
}

int halfPoints(double points) { return std::clamp(static_cast<int>(std::lround(points * 2)), 2, 3276); }

// Font and colour tables, in the order of first use, so that equal documents give
// equal tables; each entry found again by a hash.
struct Tables {
    QStringList fonts;
    QList<QRgb> colours;
    QHash<QString, int> fontIndex;
    QHash<QRgb, int> colourIndex;

    int font(const QString& family) { return indexOf(family, fonts, fontIndex); }

    int colour(const QColor& colour) { return colour.isValid() ? indexOf(colour.rgb(), colours, colourIndex) + 1 : 0; }

    template <class T>
    static int indexOf(const T& value, QList<T>& table, QHash<T, int>& index)
    {
        auto entry = index.find(value);
        if (entry == index.end()) {
            entry = index.insert(value, int(table.size()));
            table.append(value);
        }
        return *entry;
    }
};

void appendNumber(QByteArray& out, int value) { out += QByteArray::number(value); }

// Text in the body or in a table entry: ASCII as it stands, RTF's own characters
// escaped, the rest as UTF-16 units in \uN with a "?" for older readers.
void appendText(QByteArray& out, QStringView text)
{
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        if (unit == u'\\' || unit == u'{' || unit == u'}') {
            out += '\\';
            out += static_cast<char>(unit);
        } else if (unit == u'\t') {
            out += "\\tab ";
        } else if (unit == QChar::LineSeparator) {
            out += "\\line ";
        } else if (unit == ObjectReplacement) {
            continue;
        } else if (unit >= 0x20 && unit < 0x7F) {
            out += static_cast<char>(unit);
        } else {
            out += "\\u";
            appendNumber(out, unit > 32767 ? unit - 65536 : unit);
            out += '?';
        }
    }
}

void appendStyle(QByteArray& out, const CharStyle& style, Tables& tables)
{
    out += "\\plain\\f";
    appendNumber(out, tables.font(style.family));
    out += "\\fs";
    appendNumber(out, halfPoints(style.points));
    if (const int colour = tables.colour(style.colour))
        out += "\\cf" + QByteArray::number(colour);
    if (style.bold)
        out += "\\b";
    if (style.italic)
        out += "\\i";
    if (style.underline)
        out += "\\ul";
    if (style.strike)
        out += "\\strike";
    out += ' ';
}

const char* alignmentWord(ParagraphAlignment alignment)
{
    switch (alignment) {
    case ParagraphAlignment::Centre: return "\\qc ";
    case ParagraphAlignment::Right: return "\\qr ";
    case ParagraphAlignment::Justify: return "\\qj ";
    case ParagraphAlignment::Left: break;
    }
    return "\\ql ";
}

}  // namespace

CharStyle ResolveStyle(const QTextCharFormat& format, const QFont& defaultFont)
{
    CharStyle style;
    style.family = familyOf(format);
    if (style.family.isEmpty())
        style.family = defaultFont.family();
    style.points = pointsOf(format, defaultFont);
    style.bold = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() >= QFont::DemiBold
                                                             : defaultFont.weight() >= QFont::DemiBold;
    style.italic = format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : defaultFont.italic();
    if (format.hasProperty(QTextFormat::TextUnderlineStyle))
        style.underline = format.underlineStyle() != QTextCharFormat::NoUnderline;
    else
        style.underline = format.hasProperty(QTextFormat::FontUnderline) ? format.boolProperty(QTextFormat::FontUnderline)
                                                                         : defaultFont.underline();
    style.strike = format.hasProperty(QTextFormat::FontStrikeOut) ? format.fontStrikeOut() : defaultFont.strikeOut();
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        style.colour = format.foreground().color();
    return style;
}

ParagraphAlignment ResolveAlignment(const QTextBlockFormat& format)
{
    const Qt::Alignment horizontal = format.alignment() & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignHCenter)
        return ParagraphAlignment::Centre;
    if (horizontal & Qt::AlignJustify)
        return ParagraphAlignment::Justify;
    if ((horizontal & Qt::AlignRight) || (horizontal & Qt::AlignTrailing))
        return ParagraphAlignment::Right;
    return ParagraphAlignment::Left;
}

QByteArray WriteRtf(const QTextDocument& document)
{
    const QFont defaultFont = document.defaultFont();
    Tables tables;
    QByteArray body;
    body.reserve(document.characterCount() + 1024);
    bool styled = false;
    CharStyle current;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        body += "\\pard";
        body += alignmentWord(ResolveAlignment(block.blockFormat()));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const CharStyle style = ResolveStyle(fragment.charFormat(), defaultFont);
            if (!styled || style != current) {
                appendStyle(body, style, tables);
                current = style;
                styled = true;
            }
            appendText(body, fragment.text());
        }
        // Every paragraph ends with its mark, the last one too, as word processors write.
        body += "\\par\r\n";
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl";
    for (qsizetype i = 0; i < tables.fonts.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        QString name = tables.fonts.at(i);
        appendText(out, name.remove(QLatin1Char(';')));
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (const QRgb rgb : std::as_const(tables.colours)) {
        out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb)) + "\\blue"
               + QByteArray::number(qBlue(rgb)) + ';';
    }
    out += "}\r\n";
    out += body;
    out += "}\r\n";
    return out;
}

#include "VCard.h"

#include <algorithm>

namespace {

bool isPlainAscii(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

QByteArray headWithoutEncoding(const QByteArray& head)
{
    const QByteArrayList parts = VCardText::SplitHead(head);
    QByteArray kept = parts.first();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (!VCardText::IsEncodingParameter(parts[i]))
            kept += ';' + parts[i];
    }
    return kept;
}

// Lines of at most 75 octets, a UTF-8 sequence never cut; each continuation starts
// with a blank.
QByteArray folded(const QByteArray& line, const QByteArray& eol)
{
    QByteArray out;
    qsizetype position = 0;
    qsizetype limit = 75;
    while (line.size() - position > limit) {
        qsizetype cut = position + limit;
        while (cut > position + 1 && (uchar(line[cut]) & 0xC0) == 0x80)
            --cut;
        out += line.mid(position, cut - position) + eol + ' ';
        position = cut;
        limit = 74;
    }
    return out + line.mid(position) + eol;
}

// Soft breaks keep each line within 76 characters; an encoded octet is never cut.
QByteArray quotedPrintable(const QByteArray& prefix, const QByteArray& bytes, const QByteArray& eol)
{
    QByteArray out = prefix;
    qsizetype lineLength = prefix.size();
    for (const char c : bytes) {
        const QByteArray piece = c > 0x20 && c < 0x7F && c != '='
                                     ? QByteArray(1, c)
                                     : '=' + QByteArray::number(uchar(c), 16).toUpper().rightJustified(2, '0');
        if (lineLength + piece.size() > 75) {
            out += '=' + eol;
            lineLength = 0;
        }
        out += piece;
        lineLength += piece.size();
    }
    return out + eol;
}

QByteArray encodedLine(const QByteArray& head, const QString& value, const QByteArray& version, const QByteArray& eol)
{
    const QByteArray bytes = value.toUtf8();
    const QByteArray kept = headWithoutEncoding(head);
    if (version.startsWith('2') && !isPlainAscii(bytes))
        return quotedPrintable(kept + ";CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:", bytes, eol);
    return folded(kept + ':' + bytes, eol);
}

}  // namespace

QByteArray RenamedCard(const QByteArray& text, const VCard& card, const QString& name)
{
    struct Edit {
        qsizetype begin;
        qsizetype end;
        QByteArray bytes;
    };
    const QByteArray defaultEol = card.endEol.isEmpty() ? QByteArray("\r\n") : card.endEol;
    auto eolOf = [&](const VCardLine& line) { return line.eol.isEmpty() ? defaultEol : line.eol; };
    const QString escaped = VCardText::Escape(name);

    QList<Edit> edits;
    if (card.fn.begin >= 0)
        edits.append({card.fn.begin, card.fn.end, encodedLine(card.fn.head, escaped, card.version, eolOf(card.fn))});
    else
        edits.append({card.endLine, card.endLine, encodedLine("FN", escaped, card.version, defaultEol)});
    if (card.n.begin >= 0) {
        QStringList parts = VCardText::SplitUnescaped(card.n.value, QLatin1Char(';'));
        parts[0] = escaped;
        edits.append({card.n.begin, card.n.end,
                      encodedLine(card.n.head, parts.join(QLatin1Char(';')), card.version, eolOf(card.n))});
    }
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.begin < b.begin; });

    QByteArray out;
    out.reserve(text.size() + 256);
    qsizetype position = 0;
    for (const Edit& edit : edits) {
        out.append(text.constData() + position, edit.begin - position);
        out.append(edit.bytes);
        position = edit.end;
    }
    out.append(text.constData() + position, text.size() - position);
    return out;
}

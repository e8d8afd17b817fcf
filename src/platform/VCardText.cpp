#include "VCardText.h"

#include "CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace VCardText {

namespace {

bool isFoldIndent(char c) { return c == ' ' || c == '\t'; }

bool startsWithNoCase(const char* data, qsizetype size, const char* prefix)
{
    const qsizetype length = qsizetype(qstrlen(prefix));
    return size >= length && qstrnicmp(data, prefix, length) == 0;
}

QByteArrayView unquoted(QByteArrayView value)
{
    value = value.trimmed();
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        return value.sliced(1, value.size() - 2);
    return value;
}

bool equalsNoCase(QByteArrayView text, const char* word)
{
    const qsizetype length = qsizetype(qstrlen(word));
    return text.size() == length && qstrnicmp(text.data(), word, length) == 0;
}

// The upper case of a name or type. The ones cards use over and over are shared,
// not made anew for each property of a large file.
QByteArray upperCase(QByteArrayView text)
{
    // Literals: copies of them share static bytes, with no count to keep.
    static const QByteArray common[] = {
        QByteArrayLiteral("BEGIN"), QByteArrayLiteral("END"), QByteArrayLiteral("VERSION"), QByteArrayLiteral("N"),
        QByteArrayLiteral("FN"), QByteArrayLiteral("TEL"), QByteArrayLiteral("EMAIL"), QByteArrayLiteral("ADR"),
        QByteArrayLiteral("URL"), QByteArrayLiteral("ORG"), QByteArrayLiteral("TITLE"), QByteArrayLiteral("NOTE"),
        QByteArrayLiteral("UID"), QByteArrayLiteral("PHOTO"), QByteArrayLiteral("CELL"), QByteArrayLiteral("HOME"),
        QByteArrayLiteral("WORK"), QByteArrayLiteral("VOICE"), QByteArrayLiteral("FAX"), QByteArrayLiteral("PREF"),
        QByteArrayLiteral("INTERNET"), QByteArrayLiteral("PAGER"), QByteArrayLiteral("QUOTED-PRINTABLE"),
        QByteArrayLiteral("BASE64"), QByteArrayLiteral("B"), QByteArrayLiteral("CATEGORIES"),
        QByteArrayLiteral("KIND"), QByteArrayLiteral("MEMBER"),
    };
    char upper[16];
    if (text.size() > qsizetype(sizeof upper))
        return text.toByteArray().toUpper();
    for (qsizetype i = 0; i < text.size(); ++i)
        upper[i] = text[i] >= 'a' && text[i] <= 'z' ? char(text[i] - 'a' + 'A') : text[i];
    for (const QByteArray& word : common) {
        if (word.size() == text.size() && std::equal(upper, upper + text.size(), word.constData()))
            return word;
    }
    return QByteArray(upper, text.size());
}

// The line ends a text uses, shared.
QByteArray lineEnd(QByteArrayView eol)
{
    static const QByteArray crlf = QByteArrayLiteral("\r\n");
    static const QByteArray lf = QByteArrayLiteral("\n");
    static const QByteArray cr = QByteArrayLiteral("\r");
    return Same(eol, crlf) ? crlf : Same(eol, lf) ? lf : Same(eol, cr) ? cr : QByteArray();
}

bool isBareEncoding(QByteArrayView parameter)
{
    for (const char* encoding : {"QUOTED-PRINTABLE", "BASE64", "B", "8BIT", "7BIT"}) {
        if (equalsNoCase(parameter, encoding))
            return true;
    }
    return false;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The first CR or LF from position on. It is looked for in windows that double, so
// that the search looks little further than the line's end whichever line ends
// the text uses (an LF is not looked for to the end of a text of CR alone).
qsizetype lineEndFrom(const char* data, qsizetype position, qsizetype size)
{
    for (qsizetype window = 256; position < size; position += window, window *= 2) {
        const char* from = data + position;
        const size_t length = size_t(std::min(window, size - position));
        const char* lf = static_cast<const char*>(memchr(from, '\n', length));
        if (const void* cr = memchr(from, '\r', lf ? size_t(lf - from) : length))
            return static_cast<const char*>(cr) - data;
        if (lf)
            return lf - data;
    }
    return size;
}

}  // namespace

QByteArray Normalized(const QByteArray& file, FileForm* form)
{
    auto fromUtf16 = [&](QStringConverter::Encoding encoding, FileForm which) {
        *form = which;
        QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
        return QString(decoder(QByteArrayView(file).sliced(2))).toUtf8();
    };
    if (file.startsWith("\xEF\xBB\xBF")) {
        *form = FileForm::Utf8Bom;
        return file.mid(3);
    }
    if (file.startsWith("\xFF\xFE"))
        return fromUtf16(QStringConverter::Utf16LE, FileForm::Utf16LE);
    if (file.startsWith("\xFE\xFF"))
        return fromUtf16(QStringConverter::Utf16BE, FileForm::Utf16BE);
    *form = FileForm::Plain;
    return file;
}

QByteArray InForm(const QByteArray& text, FileForm form)
{
    auto toUtf16 = [&](QStringConverter::Encoding encoding) {
        QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
        return QByteArray(encoder(QString::fromUtf8(text)));
    };
    switch (form) {
    case FileForm::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text;
    case FileForm::Utf16LE:
        return toUtf16(QStringConverter::Utf16LE);
    case FileForm::Utf16BE:
        return toUtf16(QStringConverter::Utf16BE);
    case FileForm::Plain:
        break;
    }
    return text;
}

PropertyReader::PropertyReader(const QByteArray& text, std::function<bool(const QByteArray&)> wanted)
    : text_(text)
    , wanted_(std::move(wanted))
{
}

PropertyReader::Line PropertyReader::lineAt(qsizetype position) const
{
    const char* data = text_.constData();
    const qsizetype size = text_.size();
    const qsizetype end = lineEndFrom(data, position, size);
    qsizetype next = end;
    if (next < size && data[next] == '\r')
        ++next;
    if (next < size && data[next] == '\n' && (next == end || data[next - 1] == '\r'))
        ++next;
    return {position, end, next};
}

// A quoted-printable line that ends in "=" goes on in the next line, indented or not.
bool PropertyReader::endsSoftBreak(const Line& line, qsizetype valueStart) const
{
    return line.end > valueStart && line.end > line.begin && text_[line.end - 1] == '=';
}

bool PropertyReader::isCardBoundary(const Line& line) const
{
    const char* data = text_.constData() + line.begin;
    const qsizetype size = line.end - line.begin;
    return startsWithNoCase(data, size, "END:VCARD") || startsWithNoCase(data, size, "BEGIN:VCARD");
}

bool PropertyReader::foldsOn(const Line& line) const
{
    return line.next < text_.size() && isFoldIndent(text_[line.next]);
}

// The colon that ends the head beginning at first: the first one outside double
// quotes, over folded lines too; in a head with an odd quote, its first colon; -1
// when there is none.
qsizetype PropertyReader::headColon(const Line& first, Line* colonLine) const
{
    const char* data = text_.constData();
    Line anyColonLine = first;
    qsizetype anyColon = -1;
    bool quoted = false;
    for (Line line = first;; line = lineAt(line.next)) {
        for (qsizetype i = headStart(line, first); i < line.end; ++i) {
            if (data[i] == '"') {
                quoted = !quoted;
            } else if (data[i] == ':') {
                if (anyColon < 0) {
                    anyColon = i;
                    anyColonLine = line;
                }
                if (!quoted) {
                    *colonLine = line;
                    return i;
                }
            }
        }
        if (!foldsOn(line))
            break;
    }
    *colonLine = anyColonLine;
    return anyColon;
}

// The head's bytes from first to the colon; a fold's line end and indent are not
// part of it.
QByteArray PropertyReader::headText(const Line& first, const Line& colonLine, qsizetype colon) const
{
    const char* data = text_.constData();
    if (colonLine.begin == first.begin)
        return QByteArray::fromRawData(data + first.begin, colon - first.begin);
    QByteArray head;
    for (Line line = first; line.begin != colonLine.begin; line = lineAt(line.next))
        head.append(data + headStart(line, first), line.end - headStart(line, first));
    head.append(data + headStart(colonLine, first), colon - headStart(colonLine, first));
    return head;
}

bool PropertyReader::Next(Property* property)
{
    const char* data = text_.constData();
    const qsizetype size = text_.size();
    while (position_ < size) {
        const Line first = lineAt(position_);
        position_ = first.next;
        if (first.end == first.begin || isFoldIndent(data[first.begin]))
            continue;  // a blank line, or a continuation whose property was not read

        Line colonLine = first;
        const qsizetype colon = headColon(first, &colonLine);
        if (colon <= first.begin)
            continue;

        *property = Property();
        property->head = headText(first, colonLine, colon);
        ParseHead(property->head, property);
        if (property->name.isEmpty())
            continue;
        const bool wanted = wanted_(property->name);
        const bool quotedPrintable = property->encoding == "QUOTED-PRINTABLE";
        if (wanted)
            property->value = QByteArray::fromRawData(data + colon + 1, colonLine.end - colon - 1);

        Line current = colonLine;
        while (current.next < size) {
            const Line next = lineAt(current.next);
            if (quotedPrintable && endsSoftBreak(current, colon + 1) && !isCardBoundary(next)) {
                if (wanted) {
                    property->value.chop(1);
                    property->value.append(data + next.begin, next.end - next.begin);
                }
            } else if (next.end > next.begin && isFoldIndent(data[next.begin])) {
                if (wanted)
                    property->value.append(data + next.begin + 1, next.end - next.begin - 1);
            } else {
                break;
            }
            current = next;
        }
        property->begin = first.begin;
        property->end = current.next;
        property->eol = lineEnd(QByteArrayView(data + current.end, current.next - current.end));
        position_ = current.next;
        return true;
    }
    return false;
}

QByteArrayList SplitHead(const QByteArray& head)
{
    QByteArrayList parts;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < head.size(); ++i) {
        if (head[i] == '"')
            quoted = !quoted;
        else if (head[i] == ';' && !quoted) {
            parts.append(head.mid(start, i - start));
            start = i + 1;
        }
    }
    parts.append(head.mid(start));
    return parts;
}

bool IsEncodingParameter(const QByteArray& parameter)
{
    const qsizetype equals = parameter.indexOf('=');
    if (equals < 0)
        return isBareEncoding(QByteArrayView(parameter).trimmed());
    const QByteArrayView key = QByteArrayView(parameter).first(equals).trimmed();
    return equalsNoCase(key, "ENCODING") || equalsNoCase(key, "CHARSET");
}

namespace {

void parseParameter(QByteArrayView parameter, Property* property)
{
    const qsizetype equals = parameter.indexOf('=');
    QByteArrayView key = "TYPE";
    QByteArrayView value = parameter;
    if (equals >= 0) {
        key = parameter.first(equals).trimmed();
        value = parameter.sliced(equals + 1);
    } else if (isBareEncoding(parameter.trimmed())) {
        key = "ENCODING";
    }
    value = unquoted(value);
    if (equalsNoCase(key, "TYPE")) {
        while (!value.isEmpty()) {
            const qsizetype comma = value.indexOf(',');
            const QByteArrayView type = (comma < 0 ? value : value.first(comma)).trimmed();
            value = comma < 0 ? QByteArrayView() : value.sliced(comma + 1);
            if (type.isEmpty())
                continue;
            property->types.append(upperCase(type));
            if (equalsNoCase(type, "PREF"))
                property->pref = qMin(property->pref, 1);
        }
    } else if (equalsNoCase(key, "PREF")) {
        bool ok = false;
        const int rank = value.toByteArray().toInt(&ok);
        if (ok && rank >= 1 && rank <= 100)
            property->pref = qMin(property->pref, rank);
    } else if (equalsNoCase(key, "ENCODING")) {
        property->encoding = upperCase(value);
    } else if (equalsNoCase(key, "CHARSET")) {
        property->charset = value.toByteArray();
    }
}

}  // namespace

// The parts at the semicolons outside double quotes, as SplitHead finds them,
// read in place.
void ParseHead(const QByteArray& head, Property* property)
{
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] == '"') {
            quoted = !quoted;
            continue;
        }
        if (i < head.size() && (head[i] != ';' || quoted))
            continue;
        const QByteArrayView part = QByteArrayView(head).sliced(start, i - start);
        if (start == 0) {
            QByteArrayView name = part.trimmed();
            for (qsizetype dot = name.size() - 1; dot >= 0; --dot) {
                if (name[dot] == '.') {
                    name = name.sliced(dot + 1);  // without its group
                    break;
                }
            }
            property->name = upperCase(name);
        } else {
            parseParameter(part, property);
        }
        start = i + 1;
    }
}

QByteArray DecodeQuotedPrintable(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '=' && i + 1 == bytes.size())
            break;  // a soft break with nothing after it: the card ended there
        if (bytes[i] == '=' && i + 2 < bytes.size() && hexDigit(bytes[i + 1]) >= 0
            && hexDigit(bytes[i + 2]) >= 0) {
            out.append(char(hexDigit(bytes[i + 1]) * 16 + hexDigit(bytes[i + 2])));
            i += 2;
        } else {
            out.append(bytes[i]);  // a bad "=" stays as it is
        }
    }
    return out;
}

QString DecodeValue(const Property& property, const QByteArray& fallbackCharset)
{
    QByteArray bytes = property.value;
    if (property.encoding == "QUOTED-PRINTABLE")
        bytes = DecodeQuotedPrintable(bytes);
    else if (property.encoding == "BASE64" || property.encoding == "B")
        bytes = QByteArray::fromBase64(bytes);

    return DecodeText(bytes, property.charset, fallbackCharset);
}

QString DecodeText(const QByteArray& bytes, const QByteArray& charset, const QByteArray& fallbackCharset)
{
    // Plain ASCII reads the same in UTF-8 and in every fallback.
    if (charset.isEmpty() && std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    if (!charset.isEmpty() && CodePage::Known(charset))
        return CodePage::Decode(bytes, charset);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return CodePage::Decode(bytes, fallbackCharset);
}

QStringList SplitUnescaped(const QString& value, QChar separator)
{
    QStringList parts;
    ForEachUnescaped(value, separator, [&](QStringView part) { parts.append(part.toString()); });
    return parts;
}

QString Unescape(const QString& value, QByteArrayView version)
{
    if (!value.contains(QLatin1Char('\\')))
        return value;
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out.append(c);
            continue;
        }
        const QChar next = value[i + 1];
        if (next == QLatin1Char('n') || next == QLatin1Char('N'))
            out.append(QLatin1Char('\n'));
        else if (next == QLatin1Char('\\') || next == QLatin1Char(',') || next == QLatin1Char(';')
                 || next == QLatin1Char(':') || (next == QLatin1Char('"') && Same(version, "3.0")))
            out.append(next);
        else {
            out.append(c);
            continue;
        }
        ++i;
    }
    return out;
}

QString Escape(const QString& value)
{
    QString out;
    out.reserve(value.size() + 8);
    for (const QChar c : value) {
        if (c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';'))
            out.append(QLatin1Char('\\')).append(c);
        else if (c == QLatin1Char('\n'))
            out.append(QStringLiteral("\\n"));
        else
            out.append(c);
    }
    return out;
}

}  // namespace VCardText

#include "VCardText.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace VCardText {

namespace {

bool isFoldIndent(char c) { return c == ' ' || c == '\t'; }

bool startsWithNoCase(const char* data, qsizetype size, const char* prefix)
{
    const qsizetype length = qsizetype(qstrlen(prefix));
    return size >= length && qstrnicmp(data, prefix, length) == 0;
}

QByteArray unquoted(QByteArray value)
{
    value = value.trimmed();
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        return value.mid(1, value.size() - 2);
    return value;
}

bool isBareEncoding(const QByteArray& upper)
{
    return upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "B" || upper == "8BIT"
        || upper == "7BIT";
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
    qsizetype end = position;
    while (end < size && data[end] != '\r' && data[end] != '\n')
        ++end;
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

bool PropertyReader::Next(Property* property)
{
    const char* data = text_.constData();
    const qsizetype size = text_.size();
    while (position_ < size) {
        const Line first = lineAt(position_);
        position_ = first.next;
        if (first.end == first.begin || isFoldIndent(data[first.begin]))
            continue;  // a blank line, or a continuation whose property was not read

        // The head runs to the first colon outside double quotes, over folded lines
        // too (a fold's line end and indent are not part of it); a head with an odd
        // quote ends at its first colon.
        auto from = [&](const Line& line) { return line.begin == first.begin ? line.begin : line.begin + 1; };
        Line colonLine = first;
        Line anyColonLine = first;
        qsizetype colon = -1;
        qsizetype anyColon = -1;
        bool quoted = false;
        for (Line line = first;; line = lineAt(line.next)) {
            for (qsizetype i = from(line); i < line.end && colon < 0; ++i) {
                if (data[i] == '"') {
                    quoted = !quoted;
                } else if (data[i] == ':') {
                    if (anyColon < 0) {
                        anyColon = i;
                        anyColonLine = line;
                    }
                    if (!quoted) {
                        colon = i;
                        colonLine = line;
                    }
                }
            }
            if (colon >= 0 || !foldsOn(line))
                break;
        }
        if (colon < 0) {
            colon = anyColon;
            colonLine = anyColonLine;
        }
        if (colon <= first.begin)
            continue;

        *property = Property();
        for (Line line = first;; line = lineAt(line.next)) {
            const bool last = line.begin == colonLine.begin;
            property->head.append(data + from(line), (last ? colon : line.end) - from(line));
            if (last)
                break;
        }
        ParseHead(property->head, property);
        if (property->name.isEmpty())
            continue;
        const bool wanted = wanted_(property->name);
        const bool quotedPrintable = property->encoding == "QUOTED-PRINTABLE";
        if (wanted)
            property->value = text_.mid(colon + 1, colonLine.end - colon - 1);

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
        property->eol = text_.mid(current.end, current.next - current.end);
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
        return isBareEncoding(parameter.trimmed().toUpper());
    const QByteArray key = parameter.left(equals).trimmed().toUpper();
    return key == "ENCODING" || key == "CHARSET";
}

void ParseHead(const QByteArray& head, Property* property)
{
    const QByteArrayList parts = SplitHead(head);
    QByteArray name = parts.first().trimmed();
    name = name.mid(name.lastIndexOf('.') + 1);
    property->name = name.toUpper();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray& parameter = parts[i];
        const qsizetype equals = parameter.indexOf('=');
        QByteArray key = "TYPE";
        QByteArray value = parameter;
        if (equals >= 0) {
            key = parameter.left(equals).trimmed().toUpper();
            value = parameter.mid(equals + 1);
        } else if (isBareEncoding(parameter.trimmed().toUpper())) {
            key = "ENCODING";
        }
        value = unquoted(value);
        if (key == "TYPE") {
            for (const QByteArray& type : value.split(',')) {
                const QByteArray upper = type.trimmed().toUpper();
                if (!upper.isEmpty())
                    property->types.append(upper);
                if (upper == "PREF")
                    property->pref = qMin(property->pref, 1);
            }
        } else if (key == "PREF") {
            bool ok = false;
            const int rank = value.toInt(&ok);
            if (ok && rank >= 1 && rank <= 100)
                property->pref = qMin(property->pref, rank);
        } else if (key == "ENCODING") {
            property->encoding = value.toUpper();
        } else if (key == "CHARSET") {
            property->charset = value;
        }
    }
}

QByteArray DecodeQuotedPrintable(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
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
    if (!charset.isEmpty()) {
        QStringDecoder named(charset.constData(), QStringConverter::Flag::Stateless);
        if (named.isValid())
            return named(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder fallback(fallbackCharset.constData(), QStringConverter::Flag::Stateless);
    return fallback.isValid() ? QString(fallback(bytes)) : text;
}

QStringList SplitUnescaped(const QString& value, QChar separator)
{
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\'))
            ++i;
        else if (value[i] == separator) {
            parts.append(value.mid(start, i - start));
            start = i + 1;
        }
    }
    parts.append(value.mid(start));
    return parts;
}

QString Unescape(const QString& value)
{
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
        else if (next == QLatin1Char('\\') || next == QLatin1Char(',') || next == QLatin1Char(';'))
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

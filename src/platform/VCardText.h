#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>

// The text layer of vCard files (versions 2.1, 3.0 and 4.0): the file's bytes in one
// form, logical lines (folded lines and quoted-printable soft breaks joined), the
// parts of a property line and the decoding of its value. Every step is linear in
// the size of the text, whatever the text holds.
namespace VCardText {

// How a file's text is stored, so that a rewrite keeps it.
enum class FileForm { Plain, Utf8Bom, Utf16LE, Utf16BE };

// The text without its byte order mark; UTF-16 turned into UTF-8.
QByteArray Normalized(const QByteArray& file, FileForm* form);
// The text back in the file's form.
QByteArray InForm(const QByteArray& text, FileForm form);

// Rank of a value that is not marked preferred; preferred ones rank 1 to 100.
constexpr int NotPreferred = 101;

struct Property {
    QByteArray head;       // group, name and parameters as written, folded lines joined (see value)
    QByteArray name;       // upper case, without its group ("item1.")
    QByteArrayList types;  // upper case, from every form: TEL;HOME;FAX, TYPE=a,b, TYPE="a,b"
    int pref = NotPreferred;
    QByteArray encoding;   // upper case: QUOTED-PRINTABLE, BASE64, B, or empty
    QByteArray charset;
    // The bytes after the colon, lines joined; empty when passed over. A head or value
    // on one line refers to the text, which must outlive it: copy what is kept.
    QByteArray value;
    qsizetype begin = 0;   // the logical line's bytes in the text, its line end included
    qsizetype end = 0;
    QByteArray eol;        // the line end that closes it ("" at the end of the text)
};

// Walks the property lines of a text, each unfolded (its head too) before its name
// is split from its value. A line without a name and colon is passed over; so are
// the values of the properties that wanted() declines, without being copied.
class PropertyReader {
public:
    PropertyReader(const QByteArray& text, std::function<bool(const QByteArray& name)> wanted);
    bool Next(Property* property);

private:
    struct Line {
        qsizetype begin;
        qsizetype end;   // content end, before the line end
        qsizetype next;  // start of the following line
    };
    Line lineAt(qsizetype position) const;
    // The line after this one continues it: it starts with a blank or a tab.
    bool foldsOn(const Line& line) const;
    bool endsSoftBreak(const Line& line, qsizetype valueStart) const;
    bool isCardBoundary(const Line& line) const;
    // Where a line's part of a head begins: a folded line's indent is left out.
    static qsizetype headStart(const Line& line, const Line& first)
    {
        return line.begin == first.begin ? line.begin : line.begin + 1;
    }
    qsizetype headColon(const Line& first, Line* colonLine) const;
    QByteArray headText(const Line& first, const Line& colonLine, qsizetype colon) const;

    const QByteArray& text_;
    std::function<bool(const QByteArray&)> wanted_;
    qsizetype position_ = 0;
};

// Equal bytes, compared in line: names are short and compared very often.
inline bool Same(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

// The parts of a head at the semicolons outside double quotes: the name (with its
// group), then each parameter.
QByteArrayList SplitHead(const QByteArray& head);
// ENCODING=..., CHARSET=... or a bare QUOTED-PRINTABLE, BASE64...
bool IsEncodingParameter(const QByteArray& parameter);
// Name and parameters of a head ("item1.TEL;TYPE=cell,pref") into property.
void ParseHead(const QByteArray& head, Property* property);

// The value as text: quoted-printable or base64 undone, then the CHARSET parameter;
// without one, UTF-8 when the bytes are valid UTF-8, else fallbackCharset.
QString DecodeValue(const Property& property, const QByteArray& fallbackCharset);
// Bytes as text in charset; without one, as UTF-8 when valid, else in fallbackCharset.
QString DecodeText(const QByteArray& bytes, const QByteArray& charset, const QByteArray& fallbackCharset);
QByteArray DecodeQuotedPrintable(const QByteArray& bytes);

// Splits at every separator that no backslash escapes; the parts keep their escapes.
QStringList SplitUnescaped(const QString& value, QChar separator);
// The same parts handed to take one by one, none copied.
template <class Take>
void ForEachUnescaped(QStringView value, QChar separator, Take&& take)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\'))
            ++i;
        else if (value[i] == separator) {
            take(value.sliced(start, i - start));
            start = i + 1;
        }
    }
    take(value.sliced(std::min(start, value.size())));
}
// \\ \, \; \: \n \N undone, and \" in a card of version 3.0; any other backslash
// is kept as it stands.
QString Unescape(const QString& value, QByteArrayView version);
// The reverse, for a value written back.
QString Escape(const QString& value);

}  // namespace VCardText

#pragma once

// vCard files in the shapes real exporters write them: a phone's 2.1 export, a
// desktop mail client's 2.1 in windows-1251 (with and without CHARSET), a UTF-16
// export, a 3.0 address-book export with its item groups and group cards, a 4.0
// file, and a vdir folder tree. Shared by the reader, address-book, wizard and
// randomized tests and the benchmark.

#include "support/TestEnv.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QStringEncoder>

#include <sys/stat.h>

namespace Fixtures {

inline QByteArray crlf(const char* text) { return QByteArray(text).replace("\n", "\r\n"); }

// The same file with other line ends.
inline QByteArray WithLineEnds(QByteArray file, const char* eol) { return file.replace("\r\n", eol); }

// UTF-8 text as quoted-printable, broken softly after 70 characters the way
// phones write it (the next line not indented).
inline QByteArray quotedPrintable(const char* utf8)
{
    QByteArray out;
    int column = 0;
    for (const char c : QByteArray(utf8)) {
        const QByteArray piece = (c >= 33 && c <= 126 && c != '=') || c == ' '
                                     ? QByteArray(1, c)
                                     : '=' + QByteArray::number(uchar(c), 16).toUpper().rightJustified(2, '0');
        if (column + piece.size() > 70) {
            out += "=\r\n";
            column = 0;
        }
        out += piece;
        column += int(piece.size());
    }
    return out;
}

// A base64 picture of about the given size, folded as the 2.1 exporters do: indented
// lines, closed by an empty line.
inline QByteArray photo21(int bytes)
{
    QByteArray data(bytes * 3 / 4, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char& c : data)
        c = char(random.generate());
    const QByteArray base64 = data.toBase64();
    QByteArray out = "PHOTO;ENCODING=BASE64;JPEG:";
    for (qsizetype i = 0; i < base64.size(); i += 72)
        out += "\r\n  " + base64.mid(i, 72);
    return out + "\r\n\r\n";
}

// A phone's 2.1 export: UTF-8 quoted-printable Cyrillic with soft breaks.
inline QByteArray Phone21(int photoBytes = 0)
{
    return crlf("BEGIN:VCARD\n"
                "VERSION:2.1\n"
                "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=9F=D0=B5=D1=82=D1=80=D0=BE=D0=B2;=D0=98=D0=B2=D0=B0=D0=BD;"
                "=D0=A1=D0=B5=D1=80=D0=B3=D0=B5=D0=B5=D0=B2=D0=B8=D1=87;;\n"
                "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=98=D0=B2=D0=B0=D0=BD =D0=9F=D0=B5=D1=82=D1=80=D0=BE=D0=B2\n"
                "TEL;CELL:+7 903 000-00-01\n"
                "TEL;CELL;PREF:+7 916 123-45-67\n"
                "TEL;HOME:+7 495 111-22-33\n"
                "EMAIL;HOME:ivan@example.ru\n")
         + "ADR;HOME;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:"
         + quotedPrintable(";;ул. Ленина, 1;Москва;Московская область;101000;Россия") + "\r\n"
         + "NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:"
         + quotedPrintable("Друг детства, встреча каждую субботу у фонтана в парке Горького\r\nзвонить вечером")
         + "\r\n" + (photoBytes > 0 ? photo21(photoBytes) : QByteArray())
         + crlf("END:VCARD\n"
                "BEGIN:VCARD\n"
                "VERSION:2.1\n"
                "N:;;;;\n"
                "FN:\n"
                "TEL;PREF;VOICE:112\n"
                "END:VCARD\n");
}

inline QByteArray cp1251(const QString& text) { return QStringEncoder("windows-1251")(text); }

// A desktop mail client's 2.1 export in windows-1251; without CHARSET the reader has
// only the interface language to go by.
inline QByteArray Desktop21(bool withCharset)
{
    QString text = QString::fromUtf8("BEGIN:VCARD\n"
                                     "VERSION:2.1\n"
                                     "N;LANGUAGE=ru;CHARSET=Windows-1251:Сидорова;Анна;;;\n"
                                     "FN;CHARSET=Windows-1251:Анна Сидорова\n"
                                     "ORG;CHARSET=Windows-1251:ООО \"Ромашка\";Бухгалтерия\n"
                                     "TITLE;CHARSET=Windows-1251:Главный бухгалтер\n"
                                     "TEL;WORK;VOICE:+7 (812) 555-01-02\n"
                                     "TEL;HOME;VOICE:+7 (812) 555-03-04\n"
                                     "TEL;CELL;VOICE:+7 921 555-05-06\n"
                                     "TEL;WORK;FAX:+7 (812) 555-01-03\n"
                                     "ADR;WORK;PREF;CHARSET=Windows-1251:;;Невский пр., 1;Санкт-Петербург;;191186;Россия\n"
                                     "LABEL;WORK;PREF;ENCODING=QUOTED-PRINTABLE:=CD=E5=E2=F1=EA=E8=E9 =EF=F0., 1=0D=0A=\n"
                                     "=D1=E0=ED=EA=F2-=CF=E5=F2=E5=F0=E1=F3=F0=E3 191186\n"
                                     "EMAIL;PREF;INTERNET:anna@example.ru\n"
                                     "REV:20261201T101500Z\n"
                                     "END:VCARD\n");
    if (!withCharset)
        text.remove(QStringLiteral(";CHARSET=Windows-1251"));
    return cp1251(text.replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
}

// An address-book export of 3.0: item groups, several TYPE forms, escaped
// categories and colons, a line break in ADR, and a group card naming its member.
inline QByteArray Apple30()
{
    return crlf("BEGIN:VCARD\n"
                "VERSION:3.0\n"
                "PRODID:-//Example Corp.//Address Book 14.0//EN\n"
                "N:Appleseed;John;Quincy,Q.;Mr.;\n"
                "FN:John Appleseed\n"
                "ORG:Example\\, Inc.;Research\n"
                "TITLE:Chief Tester\n"
                "EMAIL;type=INTERNET;type=WORK:john@work.example\n"
                "EMAIL;TYPE=INTERNET,PREF:john@home.example\n"
                "item1.TEL;type=pref:555-0100\n"
                "item1.X-ABLabel:_$!<Other>!$_\n"
                "tel;type=CELL;type=VOICE:555-0101\n"
                "TEL;TYPE=\"work,voice\":555-0102\n"
                "TEL;TYPE=WORK,FAX:555-0103\n"
                "item2.ADR;type=HOME;type=pref:;;1 Infinite Loop\\nBuilding 2;Cupertino;CA;95014;USA\n"
                "item2.X-ABADR:us\n"
                "ADR;TYPE=WORK:PO Box 7;Suite 5;2 Market St;San Francisco;CA;94105;USA\n"
                "URL;type=pref:https\\://example.com/~john\n"
                "CATEGORIES:Friends\\,Family,Work\n"
                "NOTE:Line one\\nLine two\\, with comma\n"
                "UID:0A1B2C3D-0000-4000-8000-000000000001\n"
                "END:VCARD\n"
                "BEGIN:VCARD\n"
                "VERSION:3.0\n"
                "N:Tennis partners;;;;\n"
                "FN:Tennis partners\n"
                "X-ADDRESSBOOKSERVER-KIND:group\n"
                "X-ADDRESSBOOKSERVER-MEMBER:urn:uuid:0a1b2c3d-0000-4000-8000-000000000001\n"
                "UID:7d3f1f0e-group-tennis\n"
                "END:VCARD\n"
                "BEGIN:VCARD\n"
                "VERSION:3.0\n"
                "N:Baker;Jane;;;\n"
                "FN:Jane Baker\n"
                "TEL;TYPE=HOME:555-0200\n"
                "CATEGORIES:work\n"
                "END:VCARD\n");
}

// A 4.0 file: KIND, MEMBER, PREF=n, telephone URIs, a quoted parameter with a colon.
inline QByteArray Modern40()
{
    return crlf("BEGIN:VCARD\n"
                "VERSION:4.0\n"
                "KIND:individual\n"
                "FN:Renée Müller\n"
                "N:Müller;Renée;;Dr.;\n"
                "TEL;VALUE=uri;TYPE=\"voice,home\";PREF=2:tel:+49-30-1234567\n"
                "TEL;VALUE=uri;TYPE=cell;PREF=1:tel:+49-171-7654321\n"
                "EMAIL;PREF=2:renee@work.example\n"
                "EMAIL;PREF=1:renee@home.example\n"
                "ADR;TYPE=home;LABEL=\"Hauptstr. 5\\n10115 Berlin: Mitte\":;;Hauptstr. 5;Berlin;;10115;Germany\n"
                "UID:urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1\n"
                "END:VCARD\n"
                "BEGIN:VCARD\n"
                "VERSION:4.0\n"
                "KIND:group\n"
                "FN:Book club\n"
                "MEMBER:urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1\n"
                "MEMBER:urn:uuid:00000000-0000-0000-0000-00000000dead\n"
                "UID:urn:uuid:8e0c1f4a-group-bookclub\n"
                "END:VCARD\n");
}

// A 3.0 card exported as UTF-16 little-endian with its byte order mark.
inline QByteArray Utf16Export()
{
    const QString text = QString::fromUtf8(crlf("BEGIN:VCARD\n"
                                                "VERSION:3.0\n"
                                                "N:Ковалёва;Ольга;;;\n"
                                                "FN:Ольга Ковалёва\n"
                                                "TEL;TYPE=CELL:+380 50 123 4567\n"
                                                "END:VCARD\n"));
    return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(text);
}

inline void writeFile(const QString& path, const QByteArray& data) { WriteFile(path, data); }

// A vdir: two collections (one named by its displayname file), a hidden folder, a
// card file in capitals, a hidden card file, a file of another kind and a FIFO.
inline void WriteVdir(const QString& root)
{
    writeFile(root + QStringLiteral("/family/displayname"), QByteArray("Семья\nsecond line\n"));
    writeFile(root + QStringLiteral("/family/ivan.vcf"), Phone21());
    writeFile(root + QStringLiteral("/family/olga.VCARD"), Utf16Export());
    writeFile(root + QStringLiteral("/work/X.VCF"), Apple30());
    writeFile(root + QStringLiteral("/work/anna.vcf"), Desktop21(true));
    writeFile(root + QStringLiteral("/work/.secret.vcf"), Modern40());
    writeFile(root + QStringLiteral("/work/notes.txt"), Modern40());
    writeFile(root + QStringLiteral("/.hidden/h.vcf"), Modern40());
    QDir().mkpath(root + QStringLiteral("/work"));
    ::mkfifo(QFile::encodeName(root + QStringLiteral("/work/pipe.vcf")).constData(), 0600);
}

}  // namespace Fixtures

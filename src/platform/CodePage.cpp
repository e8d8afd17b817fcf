#include "CodePage.h"

#include <QStringDecoder>

#include <map>

namespace {

// windows-1252 for 0x80-0x9F, of our own: a Qt built without ICU has none. From 0xA0
// on it is Latin-1, and so are the five bytes it leaves unassigned.
constexpr char16_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Names come from the files read: a file naming many would otherwise keep a
// converter for each.
constexpr size_t MaxNames = 32;

// Each name is looked up once per thread; an invalid decoder marks a name the Qt
// build does not know.
QStringDecoder* decoderFor(const QByteArray& name)
{
    thread_local std::map<QByteArray, QStringDecoder> decoders;
    auto it = decoders.find(name);
    if (it == decoders.end()) {
        if (decoders.size() >= MaxNames)
            decoders.clear();
        it = decoders.emplace(name, QStringDecoder(name.constData(), QStringConverter::Flag::Stateless)).first;
    }
    return it->second.isValid() ? &it->second : nullptr;
}

QString windows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        *out++ = QChar(code >= 0x80 && code < 0xA0 ? Windows1252High[code - 0x80] : char16_t(code));
    }
    return text;
}

}  // namespace

namespace CodePage {

QByteArray NameOf(int number)
{
    switch (number) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 932: return "windows-31j";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 10000: return "macintosh";
    case 10001: return "Shift_JIS";
    case 10002: return "Big5";
    case 10003: return "windows-949";
    case 10004: return "x-mac-arabic";
    case 10005: return "x-mac-hebrew";
    case 10006: return "x-mac-greek";
    case 10007: return "x-mac-cyrillic";
    case 10008: return "GBK";
    case 10021: return "windows-874";
    case 10029: return "x-mac-centraleurroman";
    case 10081: return "x-mac-turkish";
    default: return "windows-" + QByteArray::number(number);
    }
}

bool Known(const QByteArray& name) { return decoderFor(name) != nullptr; }

QString Decode(QByteArrayView bytes, const QByteArray& name)
{
    if (QStringDecoder* decoder = decoderFor(name))
        return decoder->decode(bytes);
    return windows1252(bytes);
}

}  // namespace CodePage

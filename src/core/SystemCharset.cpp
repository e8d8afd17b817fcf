#include "SystemCharset.h"

#include <clocale>
#include <langinfo.h>

namespace {
QByteArray codeset;
}

void RecordSystemCodeset()
{
    std::setlocale(LC_ALL, "");
    codeset = QByteArray(::nl_langinfo(CODESET)).toUpper();
}

QByteArray SystemCodeset() { return codeset; }

void SetSystemCodeset(const QByteArray& name) { codeset = name.toUpper(); }

long GetSystemCharset()
{
    const QByteArray name = QByteArray(codeset).replace('-', "").replace('_', "");
    for (const char* cyrillic : {"UTF8", "KOI8R", "KOI8U", "CP1251", "WINDOWS1251", "ISO88595"}) {
        if (name == cyrillic)
            return 204;
    }
    return 0;
}

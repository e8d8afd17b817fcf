#pragma once

#include <QByteArray>

// The locale's codeset, read at the very start of the process (before Qt switches
// it to UTF-8).
void RecordSystemCodeset();
QByteArray SystemCodeset();
// 204 (the Cyrillic character set) when the codeset can show Cyrillic, else 0.
long GetSystemCharset();

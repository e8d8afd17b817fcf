#pragma once

#include <QByteArray>

// The locale's codeset, read at the very start of the process (before Qt switches
// it to UTF-8).
void RecordSystemCodeset();
QByteArray SystemCodeset();
// For tests: the codeset as if the locale named it.
void SetSystemCodeset(const QByteArray& name);
// 204 (the Cyrillic character set) when the codeset can show Cyrillic, else 0.
long GetSystemCharset();

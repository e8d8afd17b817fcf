#pragma once

#include <QString>

// A text as the source spells it, in UTF-8, Cyrillic included: the program builds
// with QT_NO_CAST_FROM_ASCII, so every literal becomes a QString through this.
inline QString s(const char* text) { return QString::fromUtf8(text); }

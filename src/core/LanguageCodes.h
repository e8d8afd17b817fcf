#pragma once

#include <QByteArray>
#include <QString>

// The interface languages the program knows by a two-letter code: the weather
// service's search, Qt's own translations and the desktop's locale all name a
// language that way.

// "en", "ru", "uk", "be" for English, Russian, Ukrainian, Belorussian; "" otherwise.
QString LanguageCode(const QString& languageName);

// The language a locale name ("ru_RU.UTF-8", "uk_UA@euro") speaks, when it is one of
// the table's and the locale's codeset can show it (Cyrillic needs a Cyrillic one);
// "" otherwise.
QString LanguageOfLocale(const QString& localeName);
// The messages locale of the process: LC_ALL, else LC_MESSAGES, else LANG.
QString MessagesLocaleName();

// A language file the program can read: UTF-8 text (a byte-order mark and CR LF
// allowed) with a [Translation] section that holds "mes1".
bool IsLanguageFile(const QString& path);
bool IsLanguageText(const QByteArray& bytes);

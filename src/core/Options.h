#pragma once

#include <QList>
#include <QString>

#include <optional>

#include <utility>

// Settings files, language texts and own texts. Every call reads its file afresh
// (a change made by one call is seen by the next). A missing file ends the program
// without a message. A missing key answers with the one-character NUL text
// (AbsentText); the text helpers turn it into "".
//
// Writers refuse a value holding ";", CR, LF or NUL (the file format cannot keep it),
// and fail when the file cannot be written: they return false, the file stays as it
// was, and the caller shows a message.

QString ReadOption(const QString& section, const QString& key);
[[nodiscard]] bool WriteOption(const QString& section, const QString& key, const QString& value);
// Several keys of one section in one rewrite of the file: all of them or none.
[[nodiscard]] bool WriteOptions(const QString& section, const QList<std::pair<QString, QString>>& values);
// A value with any character but ASCII letters becomes "English" (written back).
QString ReadLangIni(const QString& section, const QString& key);
[[nodiscard]] bool WriteLangIni(const QString& section, const QString& key, const QString& value);
// [Translation] of the language file, every "&!" turned into a blank; "" when missing.
QString GetLangText(const QString& key);
// [Values] of the user's own-texts file of the language; "" when missing.
QString GetOwnText(const QString& key);
[[nodiscard]] bool SetOwnText(const QString& key, const QString& value);
// The same in the own-texts file of the language given.
[[nodiscard]] bool SetOwnTextOf(const QString& languageName, const QString& key, const QString& value);
// [Site] "zone" of the language file; "" when missing.
QString GetSiteZone();

// A flag setting: "True" or "False" in any letter case, or a whole number (0 is
// false); nothing for any other text, the absent text of a missing key included.
std::optional<bool> ReadFlagSetting(const QString& text);

// True when a settings value can be stored as it is.
bool IsStorableSetting(const QString& value);

// Paths of the files, for the start-up tests and the file dialogs.
QString OptionsFilePath();
QString LangIniPath();
QString LanguageFilePath(const QString& languageName);
QString OwnTextsFilePath(const QString& languageName);

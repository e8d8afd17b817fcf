#pragma once

#include <QString>
#include <QStringList>

// The interface-language choice of the About box: which languages can be chosen,
// and the switch of the running program to the one chosen.

// The languages of the language files in a folder, sorted by name: every regular
// file (or link to one) "<Name>.ini" whose name is ASCII letters only and which reads
// as a language file (IsLanguageFile). Hidden files, folders, FIFOs and devices are
// never listed.
QStringList LanguageNames(const QString& folder);

// Gives the user an own-texts file of the language when there is none: a copy of the
// installed one of that language, else of the current language's (so the built-in
// categories keep the names they are shown under). False when none could be made.
[[nodiscard]] bool PrepareOwnTexts(const QString& name);

// The program in the language now stored: the dispatcher relabelled, the main window
// (when loaded) loaded again in its place and shown, the event list refreshed.
void SwitchInterfaceLanguage();

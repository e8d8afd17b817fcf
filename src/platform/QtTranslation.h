#pragma once

#include <QString>

// Qt's own texts (message-box buttons, the file, font and colour dialogs) in the
// language of a two-letter code, from the translations installed with Qt. English,
// an empty code, or a language Qt has no translation of, leave Qt's own English.
namespace QtTranslation {

// Replaces the translation in force; false when the language gets none.
bool Use(const QString& languageCode);

}  // namespace QtTranslation

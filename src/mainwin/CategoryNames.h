#pragma once

#include <QString>

// Rules for the names the category editor accepts.

// The characters a category name never holds: \ : ? < | / * > ' " (they would reach
// outside the icon folder or break a lookup), ";" (it ends a line of the own-texts
// file that keeps a built-in category's name) and control characters.
bool IsForbiddenNameChar(QChar c);
// The name without its forbidden characters.
QString WithoutForbiddenNameChars(const QString& name);

// True when another category already goes by this name, letter case and blanks at
// either end ignored: the stored or shown name of any other row of lst_Measures, or
// one of the own texts "evn1" to "evn3" (a built-in category's name, even when its
// row is gone).
// ownStoredName is the category being edited ("" for a new one).
bool CategoryNameTaken(const QString& name, const QString& ownStoredName);

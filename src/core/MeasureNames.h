#pragma once

#include <QString>

// Event rows keep a category's stored name; windows show the built-in categories
// under the user's own texts "evn1" to "evn3". These two map between the forms.

// The own text of a built-in category's stored name, else the name itself
// ("_QM_" for a quick reminder stays as it is).
QString ShownMeasureName(const QString& storedName);
// The stored name of a built-in category's own text, else the name itself.
QString StoredMeasureName(const QString& shownName);

// Takes the stored names of the built-in categories from the category table, for a
// refresh of the event list that comes before the main window has listed the
// categories (as at start). A table that cannot be read ends the program.
void ReadBuiltInMeasureNames();

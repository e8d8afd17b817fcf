#pragma once

#include <QString>

// Section "BusSettings" of options.ini: the task clean-up at start ("delwait", the age
// in days after which a task goes, 0 never; "notify", 1 for the notice about undone
// tasks) and the row height of the task grid ("rowheight", 1 to 3 units).

inline const QString BusSettingsSection = QStringLiteral("BusSettings");

// "delwait" or "notify" as a whole number, blanks at both ends trimmed (" 1" is 1).
// Anything else, a missing key included, shows "mes294" and ends the program.
int ReadBusNumber(const QString& key);

// The number a text starts with, after leading blanks: a sign, digits and a decimal
// part; 0 when it starts with none.
double LeadingNumber(const QString& text);

// Units of grid row height for a stored "rowheight": 1 for 0 or 1, 2 for 2, 3 for
// anything else (a fraction, a negative or a larger number).
int RowHeightUnits(const QString& rowHeight);
// A grid row of that many units, in pixels (239.811 twips a unit).
int RowHeightPixels(int units);
// The slider position for a stored "rowheight": rounded to the nearest whole number,
// halves to the even one, held to 1..3.
int RowHeightSliderPosition(const QString& rowHeight);

// The three keys in one rewrite of options.ini, as plain whole numbers.
[[nodiscard]] bool WriteBusSettings(int deleteAfterDays, bool notify, int rowHeight);

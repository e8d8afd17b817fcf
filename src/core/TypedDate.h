#pragma once

class QDateEdit;

// A date typed into a date picker is the date typed. Left to itself the picker edits
// its text section by section: a date typed over a selection loses its first digits
// and a day too large for the month typed after it is cut to the month's last day.
// A picker set up here takes typed text as plain text, and that text is read as a
// date only when the typing is over (Enter, leaving the picker, a save), in the
// picker's date form with one or two digits for the day and the month and the month
// named short or long. Text that is no date stays in the picker, to be corrected,
// and the picker keeps its date.
void TakeTypedDates(QDateEdit* picker);

// Before a save: the date the picker's text shows becomes its date. False when the
// text is no date: then "mes66" is shown and the picker, on its page, gets the focus.
bool TakeTypedDate(QDateEdit* picker);

#pragma once

class DateField;

// Before a save: true when the picker's text is a date, which it then shows in its
// own form. Otherwise "mes66" is shown and the picker, on its page, gets the focus
// with its text as typed: a text that is no date is never stored nor replaced.
bool TakeTypedDate(DateField* picker);

#pragma once

#include <QDate>
#include <QLineEdit>
#include <QString>

class QCalendarWidget;
class QLocale;

// Dates as the user types them. A date field shows the locale's short numeric form
// with a four-digit year (its order of day, month and year, its separator), or ISO
// "yyyy-MM-dd" where the locale's short form names the month (C).

// The field's form, as a QDate format.
QString DateFieldFormat(const QLocale& locale);
// A date in the field's form, in ASCII digits; empty for an invalid date.
QString DateFieldText(const QDate& date, const QLocale& locale);
// The date a text gives: three groups of digits parted by ".", "/" or "-" (any of
// them, blanks beside them allowed, one more at the end too), day, month and year in
// the locale's order, or year, month, day when the first group has more than two
// digits (ISO); the year has four digits. Nothing is corrected: an impossible date
// (31.04, 29.02 of a common year, month 13) is as invalid as a text that is no date.
QDate ReadFieldDate(const QString& text, const QLocale& locale);
// A date picker that holds what the user typed and never changes it into another
// date: a line edit that takes digits, the separators and blanks; date() is the date
// its text shows, invalid while the text shows none. Digits typed at the end of a
// full group go on to the next one; a separator typed right after four digits typed
// in a row makes them the year of an ISO date. Typing into the date the field was
// given replaces the group at the caret, as sectioned date fields do. A date leaves
// the field, with the focus, in the field's form. With the calendar pop-up (the
// button at the right end, Alt+Down or F4) a date is picked.
class DateField : public QLineEdit {
    Q_OBJECT
public:
    explicit DateField(QWidget* parent = nullptr);

    QDate date() const;
    // Shows the date in the field's form; an invalid date changes nothing.
    void setDate(const QDate& date);
    void setCalendarPopup(bool enable);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showCalendar();
    void typeDigit(const QString& digit);
    bool typeSeparator(const QString& separator);
    void selectGroupAtCaret();
    void selectGroupAfter(int separator);

    QAction* popupButton_ = nullptr;
    QCalendarWidget* calendar_ = nullptr;
    // The text as digits typed in a row into an empty field have left it.
    QString digitRun_;
};

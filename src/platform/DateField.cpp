#include "DateField.h"

#include "Clock.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QValidator>

#include <algorithm>
#include <array>

namespace {

enum class Part { Day, Month, Year };
using Order = std::array<Part, 3>;

constexpr Order IsoOrder = {Part::Year, Part::Month, Part::Day};

// A field's form: the order of its parts, the QDate format, and what stands
// between its first and second and its second and third parts.
struct Form {
    Order order = IsoOrder;
    // The order a text with a short first group is read in: the form's own, or where
    // the form is ISO in place of a month name, that name form's order (C: day first).
    Order readOrder = IsoOrder;
    QString format = QStringLiteral("yyyy-MM-dd");
    std::array<QString, 2> between = {QStringLiteral("-"), QStringLiteral("-")};
};

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool isSeparator(QChar c) { return c == QLatin1Char('.') || c == QLatin1Char('/') || c == QLatin1Char('-'); }

// The locale's short form when it is numeric with one day, one month and one year
// field, its year made four digits and its literals reduced to separators and
// blanks; ISO otherwise (a month name, a weekday, an era, parts with no separator),
// read in the order of the locale's day, month and year where it has each once.
Form formOf(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QStringList fields;
    QStringList literals = {QString()};
    bool numeric = true;
    for (int i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            const int end = format.indexOf(QLatin1Char('\''), i + 1);  // quoted text is left out
            i = end < 0 ? format.size() : end + 1;
        } else if (c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) {
            int end = i;
            while (end < format.size() && format.at(end) == c)
                ++end;
            fields.append(format.mid(i, end - i));
            literals.append(QString());
            i = end;
        } else {
            if (c.isLetter())
                numeric = false;
            else if (isSeparator(c) || c == QLatin1Char(' '))
                literals.last().append(c);
            ++i;
        }
    }
    if (fields.size() != 3)
        return {};
    Form form;
    Order order = IsoOrder;
    bool seen[3] = {};
    for (int i = 0; i < 3; ++i) {
        const QString& field = fields[i];
        const Part part = field.at(0) == QLatin1Char('d') ? Part::Day : field.at(0) == QLatin1Char('M') ? Part::Month
                                                                                                      : Part::Year;
        if (seen[static_cast<int>(part)] || (part == Part::Day && field.size() > 2))
            return {};
        seen[static_cast<int>(part)] = true;
        order[i] = part;
        numeric = numeric && (part == Part::Year || field.size() <= 2);
        if (part == Part::Year)
            fields[i] = QStringLiteral("yyyy");
    }
    form.readOrder = order;
    for (int i = 0; i < 2; ++i) {
        const QString& between = literals[i + 1];
        numeric = numeric && std::any_of(between.begin(), between.end(), isSeparator);
        form.between[i] = between;
    }
    if (!numeric) {
        form.between = {QStringLiteral("-"), QStringLiteral("-")};
        return form;
    }
    form.order = order;
    form.format = fields[0] + form.between[0] + fields[1] + form.between[1] + fields[2];
    return form;
}

// What a text holds: its groups of digits between separators (empty ones too).
struct Scan {
    QStringList groups;
    bool dateCharacters = true;  // digits, separators and blanks only
    bool blankInGroup = false;
};

Scan scan(const QString& text)
{
    Scan result;
    QString group;
    bool blankAfterDigit = false;
    for (const QChar c : text) {
        if (isDigit(c)) {
            result.blankInGroup = result.blankInGroup || blankAfterDigit;
            group.append(c);
        } else if (isSeparator(c)) {
            result.groups.append(group);
            group.clear();
            blankAfterDigit = false;
        } else if (c.isSpace()) {
            blankAfterDigit = !group.isEmpty();
        } else {
            result.dateCharacters = false;
        }
    }
    result.groups.append(group);
    return result;
}

// A first group of more than two digits is a year: the text is ISO.
Order orderOf(const QString& firstGroup, const Form& form)
{
    return firstGroup.size() > 2 ? IsoOrder : form.order;
}

int digitsOf(Part part) { return part == Part::Year ? 4 : 2; }

// What goes between the last group of the text and the next one: the locale's
// separator, or in an ISO date typed where the locale has another order, the one the
// text has.
QString separatorAfter(const QString& text, const Form& form)
{
    const Scan groups = scan(text);
    const qsizetype group = groups.groups.size() - 1;
    if (group > 1)
        return {};
    if (orderOf(groups.groups.first(), form) == form.order)
        return form.between[group];
    const auto last = std::find_if(text.rbegin(), text.rend(), isSeparator);
    return last == text.rend() ? QStringLiteral("-") : QString(*last);
}

// Takes digits, separators and blanks, in at most three groups of at most four digits
// (and one more separator at the end), and never corrects anything. Whether the text
// is a date is for the save to tell, with a message: what the validator takes counts
// as finished input, so that a grid hands any of it over to be checked.
class DateTextValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        const Scan text = scan(input);
        const bool tooMany = text.groups.size() > 4 || (text.groups.size() == 4 && !text.groups.last().isEmpty());
        if (!text.dateCharacters || tooMany
            || std::any_of(text.groups.begin(), text.groups.end(), [](const QString& g) { return g.size() > 4; }))
            return Invalid;
        return Acceptable;
    }
};

// True when the group of digits that ends at the caret is full (two digits for the
// day and the month, four for the year): a digit typed there begins the next group.
bool groupFull(const QString& text, int caret, const Form& form)
{
    if (caret <= 0 || caret > text.size() || (caret < text.size() && isDigit(text.at(caret)))
        || !isDigit(text.at(caret - 1)))
        return false;
    const Scan before = scan(text.left(caret));
    const qsizetype group = before.groups.size() - 1;
    if (group > 2)
        return false;
    return before.groups.last().size() >= digitsOf(orderOf(before.groups.first(), form)[group]);
}

// The arrow of a drop-down list, for the button that opens the calendar.
QIcon dropDownArrow(const QWidget* field)
{
    QPixmap arrow(12, 12);
    arrow.fill(Qt::transparent);
    QPainter painter(&arrow);
    QStyleOption option;
    option.initFrom(field);
    option.rect = arrow.rect();
    field->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, field);
    return QIcon(arrow);
}

}  // namespace

QString DateFieldFormat(const QLocale& locale) { return formOf(locale).format; }

QString DateFieldText(const QDate& date, const QLocale& locale)
{
    return date.isValid() ? QLocale::c().toString(date, DateFieldFormat(locale)) : QString();
}

QDate ReadFieldDate(const QString& text, const QLocale& locale)
{
    Scan typed = scan(text);
    if (typed.groups.size() == 4 && typed.groups.last().isEmpty())
        typed.groups.removeLast();  // a separator at the end
    if (!typed.dateCharacters || typed.blankInGroup || typed.groups.size() != 3)
        return {};
    const Order order = typed.groups.first().size() > 2 ? IsoOrder : formOf(locale).readOrder;
    int values[3] = {};
    for (int i = 0; i < 3; ++i) {
        const QString& group = typed.groups[i];
        const Part part = order[i];
        if (group.isEmpty() || (part == Part::Year ? group.size() != 4 : group.size() > 2))
            return {};
        values[static_cast<int>(part)] = group.toInt();
    }
    return QDate(values[static_cast<int>(Part::Year)], values[static_cast<int>(Part::Month)],
                 values[static_cast<int>(Part::Day)]);
}

DateField::DateField(QWidget* parent)
    : QLineEdit(parent)
{
    setValidator(new DateTextValidator(this));
    setMaxLength(32);
    connect(this, &QLineEdit::inputRejected, this, [] { QApplication::beep(); });
}

QDate DateField::date() const { return ReadFieldDate(text(), locale()); }

void DateField::setDate(const QDate& date)
{
    if (date.isValid())
        setText(DateFieldText(date, locale()));
}

void DateField::setCalendarPopup(bool enable)
{
    if (enable == (popupButton_ != nullptr))
        return;
    if (!enable) {
        delete popupButton_;
        popupButton_ = nullptr;
        return;
    }
    popupButton_ = addAction(dropDownArrow(this), QLineEdit::TrailingPosition);
    connect(popupButton_, &QAction::triggered, this, &DateField::showCalendar);
}

void DateField::showCalendar()
{
    if (!calendar_) {
        calendar_ = new QCalendarWidget(this);
        calendar_->setWindowFlags(Qt::Popup);
        const auto pick = [this](QDate picked) {
            calendar_->hide();
            setDate(picked);
            setFocus(Qt::PopupFocusReason);
        };
        connect(calendar_, &QCalendarWidget::clicked, this, pick);
        connect(calendar_, &QCalendarWidget::activated, this, pick);
    }
    calendar_->setLocale(locale());
    const QDate shown = date();
    calendar_->setSelectedDate(shown.isValid() ? shown : Clock::Today());
    calendar_->adjustSize();
    QPoint at = mapToGlobal(QPoint(0, height()));
    if (const QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - calendar_->width())));
        if (at.y() + calendar_->height() > room.bottom())
            at.setY(mapToGlobal(QPoint(0, 0)).y() - calendar_->height());
    }
    calendar_->move(at);
    calendar_->show();
    calendar_->setFocus(Qt::PopupFocusReason);
}

void DateField::keyPressEvent(QKeyEvent* event)
{
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (popupButton_
        && ((event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier)
            || (event->key() == Qt::Key_F4 && event->modifiers() == Qt::NoModifier))) {
        showCalendar();
        return;
    }
    if (!isReadOnly() && plain && event->text().size() == 1) {
        const QChar typed = event->text().at(0);
        if (isDigit(typed)) {
            typeDigit(event->text());
            return;
        }
        if (isSeparator(typed) && typeSeparator(event->text()))
            return;
        // A blank goes only after a separator, as in "2026. 12. 31": typed over the
        // date or between digits it would only spoil it.
        const int at = cursorPosition();
        if (typed == QLatin1Char(' ') && (hasSelectedText() || at == 0 || !isSeparator(text().at(at - 1)))) {
            QApplication::beep();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void DateField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // The same date, in the field's own form.
    const QDate shown = date();
    if (shown.isValid() && text() != DateFieldText(shown, locale()))
        setDate(shown);
}

void DateField::selectGroupAtCaret()
{
    const QString current = text();
    int start = cursorPosition();
    int end = start;
    while (start > 0 && isDigit(current.at(start - 1)))
        --start;
    while (end < current.size() && isDigit(current.at(end)))
        ++end;
    if (end > start)
        setSelection(start, end - start);
}

void DateField::selectGroupAfter(int separator)
{
    const QString current = text();
    int end = separator + 1;
    while (end < current.size() && !isSeparator(current.at(end)))
        ++end;
    setSelection(separator + 1, end - separator - 1);
}

void DateField::typeDigit(const QString& digit)
{
    const bool run = hasSelectedText() ? selectedText() == text()
                                       : text().isEmpty() || (text() == digitRun_ && cursorPosition() == text().size());
    // The date the field was given: typing starts over the group at the caret.
    if (!hasSelectedText() && !isModified())
        selectGroupAtCaret();
    if (hasSelectedText())
        del();
    const QString current = text();
    const int at = cursorPosition();
    QString typed = digit;
    const Form form = formOf(locale());
    if (groupFull(current, at, form)) {
        if (at < current.size() && isSeparator(current.at(at))) {
            selectGroupAfter(at);  // the digit goes on into the next group, over its digits
        } else if (at == current.size()) {
            typed = separatorAfter(current, form) + digit;
        }
    }
    insert(typed);
    digitRun_ = run && !hasSelectedText() && cursorPosition() == text().size() ? text() : QString();
}

bool DateField::typeSeparator(const QString& separator)
{
    const QString run = digitRun_;
    digitRun_.clear();
    if (hasSelectedText())
        return false;
    const QString current = text();
    const int at = cursorPosition();
    // Four digits typed in a row and then a separator: they were a year, not a
    // day or month and the next group.
    if (at == current.size() && current == run) {
        QString digits;
        for (const QChar c : current) {
            if (isDigit(c))
                digits.append(c);
        }
        if (digits.size() == 4 && digits.size() < current.size()) {
            selectAll();
            insert(digits + separator);
            return true;
        }
    }
    // Typed before the separator there: on to the next group, selected.
    if (at < current.size() && isSeparator(current.at(at))) {
        selectGroupAfter(at);
        return true;
    }
    return false;
}

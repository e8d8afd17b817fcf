#include "TypedDate.h"

#include "Fatal.h"
#include "Options.h"
#include "platform/MsgBox.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTabWidget>

#include <functional>

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

QLineEdit* editOf(const QDateEdit* picker)
{
    return picker->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
}

// The picker's date form with one or two digits for the day and the month, and with
// the month's long name beside its short one.
QStringList typedForms(const QString& format)
{
    QString relaxed = format;
    relaxed.replace(QRegularExpression(s("(?<!d)dd(?!d)")), s("d"));
    relaxed.replace(QRegularExpression(s("(?<!M)MM(?!M)")), s("M"));
    QStringList forms = {relaxed};
    if (relaxed.contains(s("MMM")) && !relaxed.contains(s("MMMM")))
        forms.append(QString(relaxed).replace(s("MMM"), s("MMMM")));
    return forms;
}

QDate dateFromText(const QDateEdit* picker, const QString& text)
{
    const QString typed = text.simplified();
    for (const QString& form : typedForms(picker->displayFormat())) {
        const QDate date = picker->locale().toDate(typed, form);
        if (date.isValid())
            return date >= picker->minimumDate() && date <= picker->maximumDate() ? date : QDate();
    }
    return {};
}

QString ownText(const QDateEdit* picker) { return picker->locale().toString(picker->date(), picker->displayFormat()); }

// Any text but the one the picker shows for its own date was typed.
bool holdsTypedText(const QDateEdit* picker) { return editOf(picker)->text() != ownText(picker); }

// A change of the text as plain text: the picker neither corrects nor reads it meanwhile.
void editAsText(QLineEdit* edit, const std::function<void()>& change)
{
    const QSignalBlocker quiet(edit);
    const QPointer<const QValidator> validator = edit->validator();
    edit->setValidator(nullptr);
    change();
    edit->setValidator(validator);
}

bool isLetterOrDigit(QChar c) { return c.isLetterOrNumber(); }

// Typing into the picker's own text starts over the part of the date at the caret,
// as the picker itself does.
void selectPartAtCaret(QLineEdit* edit)
{
    const QString text = edit->text();
    int start = edit->cursorPosition();
    int end = start;
    while (start > 0 && isLetterOrDigit(text.at(start - 1)))
        --start;
    while (end < text.size() && isLetterOrDigit(text.at(end)))
        ++end;
    if (end > start)
        edit->setSelection(start, end - start);
}

// A separator typed where the text has one already moves on to the next part of the
// date and selects it, as the picker does.
bool skipSeparator(QLineEdit* edit, QChar typed)
{
    if (isLetterOrDigit(typed))
        return false;
    const QString text = edit->text();
    const int at = edit->hasSelectedText() ? edit->selectionEnd() : edit->cursorPosition();
    if (at >= text.size() || text.at(at) != typed)
        return false;
    int end = at + 1;
    while (end < text.size() && isLetterOrDigit(text.at(end)))
        ++end;
    edit->setSelection(at + 1, end - at - 1);
    return true;
}

bool isEnter(const QKeyEvent* key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

bool isPrintable(const QKeyEvent* key)
{
    return !key->text().isEmpty() && key->text().at(0).isPrint()
        && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool movesCaret(const QKeyEvent* key)
{
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

class TypedDateInput : public QObject {
public:
    explicit TypedDateInput(QDateEdit* picker)
        : QObject(picker)
        , picker_(picker)
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (picker_->isReadOnly())
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            return keyPress(static_cast<QKeyEvent*>(event));
        case QEvent::FocusIn:
            return holdsTypedText(picker_) && keepTypedText(static_cast<QFocusEvent*>(event));
        case QEvent::FocusOut:
            return holdsTypedText(picker_) && !takeIfDate() && keepTypedText(static_cast<QFocusEvent*>(event));
        default:
            return false;
        }
    }

private:
    bool keyPress(QKeyEvent* key)
    {
        const bool edits = isPrintable(key) || key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete;
        const bool typed = holdsTypedText(picker_);
        if (!typed && !edits)
            return false;
        if (isEnter(key))
            return enter(key);
        if (!edits && !movesCaret(key)) {
            // Other keys (a step up or down) start from the typed date when there is one.
            takeIfDate();
            return false;
        }
        QLineEdit* edit = editOf(picker_);
        editAsText(edit, [&] {
            if (isPrintable(key)) {
                if (!typed && !edit->hasSelectedText())
                    selectPartAtCaret(edit);
                if (skipSeparator(edit, key->text().at(0)))
                    return;
            }
            static_cast<QObject*>(edit)->event(key);
        });
        return true;
    }

    bool takeIfDate()
    {
        const QDate date = dateFromText(picker_, editOf(picker_)->text());
        if (date.isValid())
            picker_->setDate(date);
        return date.isValid();
    }

    // The picker puts the text of its own date back as the focus comes or goes: it
    // gets that text to handle the focus with, and the typed text returns after.
    bool keepTypedText(QFocusEvent* event)
    {
        QLineEdit* edit = editOf(picker_);
        const QString typed = edit->text();
        editAsText(edit, [&] { edit->setText(ownText(picker_)); });
        static_cast<QObject*>(picker_.data())->event(event);
        editAsText(edit, [&] {
            edit->setText(typed);
            if (event->gotFocus() && event->reason() != Qt::MouseFocusReason)
                edit->selectAll();
        });
        return true;
    }

    // Enter goes on to the window (its default button) past the picker, which would
    // put its own date back over a text that is no date.
    bool enter(QKeyEvent* key)
    {
        if (takeIfDate() || !picker_->parentWidget())
            return false;
        key->ignore();
        QCoreApplication::sendEvent(picker_->parentWidget(), key);
        key->accept();  // delivered: it goes no further up
        return true;
    }

    QPointer<QDateEdit> picker_;
};

// The tab page that holds the picker comes to the front, so that the focus can go there.
void showPageOf(QDateEdit* picker)
{
    for (QTabWidget* tabs : picker->window()->findChildren<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)->isAncestorOf(picker))
                tabs->setCurrentIndex(i);
        }
    }
}

}  // namespace

void TakeTypedDates(QDateEdit* picker) { picker->installEventFilter(new TypedDateInput(picker)); }

bool TakeTypedDate(QDateEdit* picker)
{
    if (!holdsTypedText(picker))
        return true;
    const QDate date = dateFromText(picker, editOf(picker)->text());
    if (date.isValid()) {
        picker->setDate(date);
        return true;
    }
    QPointer<QDateEdit> guard(picker);
    MsgBox(GetLangText(s("mes66")), 48, ProductName());
    if (!guard)
        return false;
    showPageOf(picker);
    picker->setFocus();
    return false;
}

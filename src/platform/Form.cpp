#include "Form.h"

#include "Controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

#include <map>

namespace {

struct Registry {
    std::map<std::type_index, QPointer<Form>> byType;
    QList<QPointer<Form>> order;
    QPointer<Form> active;
};

Registry& registry()
{
    static Registry r;
    return r;
}

void forget(Form* form)
{
    Registry& r = registry();
    for (auto it = r.byType.begin(); it != r.byType.end();) {
        if (it->second == form || it->second.isNull())
            it = r.byType.erase(it);
        else
            ++it;
    }
    r.order.removeIf([form](const QPointer<Form>& p) { return p.isNull() || p == form; });
    if (r.active == form)
        r.active = nullptr;
}

// A disabled window (a reminder is showing) takes no clicks, wheel turns, keys or
// context-menu requests. Qt keeps them from a disabled control itself, but the
// event filters that windows install on their controls would still see them and
// could open a menu or a window behind the reminder.
class DisabledWindowInput : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            break;
        default:
            return false;
        }
        return watched->isWidgetType() && !static_cast<QWidget*>(watched)->window()->isEnabled();
    }
};

void guardDisabledWindows()
{
    static QPointer<QObject> guard;
    if (guard || !QCoreApplication::instance())
        return;
    guard = new DisabledWindowInput(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(guard);
}

// A message box or file dialog open over the window runs its own event loop, which
// returns into code of the window. Program windows owned by it do not count: they
// outlive it.
bool holdsOpenDialog(const QWidget* widget)
{
    for (QObject* child : widget->children()) {
        auto* owned = qobject_cast<QWidget*>(child);
        if (!owned || qobject_cast<Form*>(owned))
            continue;
        if ((qobject_cast<QDialog*>(owned) && owned->isVisible() && owned->isModal()) || holdsOpenDialog(owned))
            return true;
    }
    return false;
}

bool takesEnter(QWidget* focus)
{
    return qobject_cast<QTextEdit*>(focus) || qobject_cast<QPlainTextEdit*>(focus)
        || qobject_cast<QPushButton*>(focus)
        || (qobject_cast<QComboBox*>(focus) && static_cast<QComboBox*>(focus)->isEditable());
}

}  // namespace

Form::Form(const QString& name, Kind kind)
    : QDialog(nullptr)
{
    setObjectName(name);
    setWindowFlags(kind == MainWindow ? (Qt::Window | Qt::WindowMinimizeButtonHint
                                         | Qt::WindowCloseButtonHint)
                                      : (Qt::Dialog | Qt::WindowCloseButtonHint
                                         | Qt::WindowTitleHint));
    setSizeGripEnabled(false);
    guardDisabledWindows();
}

Form::~Form() { forget(this); }

void Form::ShowModeless(Form* owner)
{
    if (owner && parentWidget() != owner && !isVisible())
        setParent(owner, windowFlags());
    show();
    raise();
    activateWindow();
}

void Form::ShowModal(Form* owner)
{
    QPointer<Form> self(this);
    if (!isVisible()) {
        if (owner && parentWidget() != owner)
            setParent(owner, windowFlags());
        setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    }
    ++modalDepth_;
    exec();
    if (self)
        --self->modalDepth_;
}

int Form::Left() const { return Twips(pos().x()); }
int Form::Top() const { return Twips(pos().y()); }
int Form::Width() const { return Twips(frameGeometry().width()); }
int Form::Height() const { return Twips(frameGeometry().height()); }

void Form::Move(int left, int top) { move(Px(left), Px(top)); }

void Form::Resize(int width, int height)
{
    const int frameW = frameGeometry().width() - geometry().width();
    const int frameH = frameGeometry().height() - geometry().height();
    resize(Px(width) - frameW, Px(height) - frameH);
}

void Form::closeEvent(QCloseEvent* event)
{
    if (unloading_) {
        event->accept();
        return;
    }
    // The close comes from the title bar or the window manager. A disabled window
    // (a reminder is showing) cannot be closed.
    event->ignore();
    if (isEnabled())
        UnloadForm(this, UnloadMode::ControlMenu);
}

void Form::keyPressEvent(QKeyEvent* event)
{
    const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (event->key() == Qt::Key_Escape && plain) {
        if (cancelButton_ && cancelButton_->isEnabled())
            cancelButton_->click();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain && defaultButton_
        && !takesEnter(focusWidget())) {
        if (defaultButton_->isEnabled())
            defaultButton_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form::reject()
{
    // Esc is handled in keyPressEvent; a dialog never closes itself behind the code's back.
}

namespace {

// A window that stays on top (a reminder) is raised again whenever another program
// window is shown, so it stays in front even where no window manager keeps it there.
void raiseStayOnTopWindows(const Form* shown)
{
    if (shown->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        return;
    for (Form* form : Forms::Loaded()) {
        if (form != shown && form->isVisible() && form->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            form->raise();
    }
}

}  // namespace

bool Form::event(QEvent* event)
{
    if (event->type() == QEvent::Show)
        QTimer::singleShot(0, this, [this] { raiseStayOnTopWindows(this); });
    if (event->type() == QEvent::WindowActivate) {
        registry().active = this;
        Form_Activate();
    }
    return QDialog::event(event);
}

bool UnloadForm(Form* form, UnloadMode mode)
{
    if (!form || form->unloading_)
        return true;
    if (holdsOpenDialog(form))
        return false;
    QPointer<Form> guard(form);
    if (form->Form_QueryUnload(mode))
        return false;
    if (!guard)
        return true;
    form->unloading_ = true;
    form->Form_Unload();
    if (!guard)
        return true;
    forget(form);
    // Windows owned by this one live on: they are independent program windows.
    for (QObject* child : form->children()) {
        if (auto* owned = qobject_cast<Form*>(child)) {
            const bool shown = owned->isVisible();
            owned->setParent(nullptr, owned->windowFlags());
            if (shown)
                owned->show();
        }
    }
    form->close();
    form->hide();
    form->deleteLater();
    return true;
}

namespace Forms {

namespace Detail {

Form* Find(std::type_index type)
{
    Registry& r = registry();
    auto it = r.byType.find(type);
    if (it == r.byType.end() || it->second.isNull() || it->second->IsUnloading())
        return nullptr;
    return it->second.data();
}

void Record(std::type_index type, Form* form)
{
    Registry& r = registry();
    r.byType[type] = form;
    r.order.append(form);
}

}  // namespace Detail

QList<Form*> Loaded()
{
    QList<Form*> forms;
    for (const QPointer<Form>& form : registry().order) {
        if (form && !form->IsUnloading())
            forms.append(form.data());
    }
    return forms;
}

Form* ActiveForm()
{
    Form* active = registry().active.data();
    if (!active || active->IsUnloading() || !active->isVisible())
        return nullptr;
    return active;
}

void DoEvents() { QCoreApplication::processEvents(); }

}  // namespace Forms

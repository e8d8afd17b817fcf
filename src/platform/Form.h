#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>

#include <typeindex>
#include <typeinfo>

#include <QAbstractButton>

// Why a window is asked to unload: the title bar's close (or the window manager),
// or code.
enum class UnloadMode { ControlMenu = 0, Code = 1 };

// A program window. One instance per window class, reached through Forms::Get<T>(),
// which loads it hidden on first touch. The constructor builds the controls; the
// load routine (Form_Load) runs after the window is recorded as loaded, because
// loads nest (a refresh loads the main window, whose load refreshes again).
// A disabled window (a reminder is showing) takes no mouse, key or context-menu
// input, not even through the event filters of its controls: no menu and no window
// opens from it.
class Form : public QDialog {
    Q_OBJECT
public:
    enum Kind { DialogWindow, MainWindow };

    Form(const QString& name, Kind kind);
    ~Form() override;

    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    // Return true to keep the window loaded.
    virtual bool Form_QueryUnload(UnloadMode) { return false; }
    virtual void Form_Unload() {}

    void ShowModeless(Form* owner = nullptr);
    // Returns when the window is hidden or unloaded. The window may be gone then:
    // callers that touch it afterwards hold a QPointer.
    void ShowModal(Form* owner = nullptr);
    bool IsShownModal() const { return modalDepth_ > 0; }

    // Esc clicks this button (a dialog's Cancel); without one Esc does nothing.
    void SetCancelButton(QAbstractButton* button) { cancelButton_ = button; }
    // Enter clicks this button wherever the focus is, unless the focused control
    // takes Enter itself.
    void SetDefaultButton(QAbstractButton* button) { defaultButton_ = button; }

    // Geometry in twips (15 twips a pixel), of the outer window.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void Move(int left, int top);
    void Resize(int width, int height);

    bool IsUnloading() const { return unloading_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;
    bool event(QEvent* event) override;

private:
    friend bool UnloadForm(Form* form, UnloadMode mode);
    QPointer<QAbstractButton> cancelButton_;
    QPointer<QAbstractButton> defaultButton_;
    int modalDepth_ = 0;
    bool unloading_ = false;
};

bool UnloadForm(Form* form, UnloadMode mode);

namespace Forms {

namespace Detail {
Form* Find(std::type_index type);
void Record(std::type_index type, Form* form);
}  // namespace Detail

// The loaded instance, loading it hidden when there is none.
template <class T>
T& Get()
{
    if (Form* form = Detail::Find(typeid(T)))
        return static_cast<T&>(*form);
    T* form = new T();
    Detail::Record(typeid(T), form);
    form->Form_Load();
    return *form;
}

// Records a new instance as loaded without running its load routine: for the test
// harness, which sets up the dispatcher's state without starting the program.
template <class T>
T& LoadWithoutLoadRoutine()
{
    if (Form* form = Detail::Find(typeid(T)))
        return static_cast<T&>(*form);
    T* form = new T();
    Detail::Record(typeid(T), form);
    return *form;
}

// The loaded instance or nullptr; never loads.
template <class T>
T* Find()
{
    return static_cast<T*>(Detail::Find(typeid(T)));
}

template <class T>
bool IsLoaded()
{
    return Find<T>() != nullptr;
}

// Unloads the window when it is loaded; false when it stayed (its QueryUnload refused,
// or a message box or file dialog of its own is open).
template <class T>
bool Unload(UnloadMode mode = UnloadMode::Code)
{
    T* form = Find<T>();
    return !form || UnloadForm(form, mode);
}

inline bool Unload(Form* form, UnloadMode mode = UnloadMode::Code)
{
    return !form || UnloadForm(form, mode);
}

// Every loaded window, in load order.
QList<Form*> Loaded();
// The program window activated last, while it is still loaded and visible.
Form* ActiveForm();
// Lets pending window events run once.
void DoEvents();

}  // namespace Forms

#pragma once

#include "ChooserDialog.h"
#include "platform/Form.h"

#include <memory>

class cTabStripPane;

// The event chooser of the main window's toolbar: a quick reminder, the planner,
// the reminder window's colours and sound, or a new category.
class frmMesSelect : public Form, public ChooserControls {
    Q_OBJECT
public:
    frmMesSelect();
    ~frmMesSelect() override;

    void Form_Load() override;

    // Shows the chooser modally over owner (the main window). The chosen action
    // runs once the modal call has returned, so that an action that unloads the
    // main window never pulls it away under the handler that opened the chooser.
    static void ShowFor(Form* owner);

    void cmdOK_Click();
    void cmdCancel_Click();

    std::unique_ptr<cTabStripPane> TabPane;

private:
    static void ShowQuickReminder();
    static void OpenPlanner();

    int* choice_ = nullptr;
};

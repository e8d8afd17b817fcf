#pragma once

#include "ChooserDialog.h"
#include "platform/Form.h"

#include <memory>

class cTabStripPane;
class frmOrg;

// The reminder-settings chooser of the planner: the repeat interval of the
// planner's category, or the reminder window's colours and sound.
class frmSetSelect : public Form, public ChooserControls {
    Q_OBJECT
public:
    frmSetSelect();
    ~frmSetSelect() override;

    void Form_Load() override;

    // Shows the chooser modally over the planner; the chosen action runs once the
    // modal call has returned.
    static void ShowFor(frmOrg* planner);

    void cmdOK_Click();
    void cmdCancel_Click();

    std::unique_ptr<cTabStripPane> TabPane;

private:
    static void EditCategoryRule(const QString& storedName);

    int* choice_ = nullptr;
};

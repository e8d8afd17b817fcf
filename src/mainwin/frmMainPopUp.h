#pragma once

#include "platform/Form.h"

class QAction;
class QMenu;

// The category list's context menu. The window itself is never shown: the list
// loads it, pops its menu up and unloads it again.
class frmMainPopUp : public Form {
    Q_OBJECT
public:
    frmMainPopUp();

    void Form_Load() override;

    // Shows the menu at a screen position and runs the chosen command.
    void PopUp(const QPoint& at);

    void mnuOpen_Click();
    // Opens the category editor on the category selected in frmMain::ListView1.
    void mnuOptions_Click();
    void mnuDelete_Click();
    void mnuNew_Click();

    QMenu* mnuPopUp = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuOptions = nullptr;
    QAction* mnuDelete = nullptr;
    QAction* mnuNew = nullptr;
};

#pragma once

#include "core/GroupManager.h"
#include "platform/Form.h"

#include <memory>

class cTabStripPane;

// The group manager: creates contact groups and deletes them (never the general
// group). When it closes, the phone book's group list is filled afresh and shows
// every contact again.
class frmGroupes : public Form, public GroupManagerControls {
    Q_OBJECT
public:
    frmGroupes();
    ~frmGroupes() override;

    void Form_Load() override;
    void Form_Unload() override;
    void ApplyLanguage();

    void Option1_Click();
    void Option2_Click();
    // The name rule: the general group's names, in any letter case, and its stored
    // name cannot be typed; Create is enabled while the box holds a name.
    void Text1Name_Change();
    void Command2_Click();  // Create
    void Command1_Click();  // Delete

    std::unique_ptr<cTabStripPane> TabPane;

private:
    // The groups that can be deleted: the list without "all groups" and the general group.
    void fillList();
};

// A text with the first letter of each word in capitals and the others small.
QString ProperCase(const QString& text);

#pragma once

#include "core/GroupManager.h"
#include "platform/Form.h"

class frmNote;

// The note-group manager: creates a group folder or deletes one with its notes,
// and refills its own group list and the notes window's group chooser after each
// change. Modal over the notes window.
class frmNoteGroupes : public Form, public GroupManagerControls {
    Q_OBJECT
public:
    frmNoteGroupes();

    // Shows the manager modally over the notes window; it is gone afterwards.
    static void ShowFor(frmNote* owner);

    void Form_Load() override;
    void ApplyLanguage();
    void RefreshGroups();

    void Option1_Click();
    void Option2_Click();
    void Command2_Click();  // Create
    void Command1_Click();  // Delete
};

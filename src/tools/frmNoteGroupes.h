#pragma once

#include "platform/Form.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class frmNote;

// The note-group manager: creates a group folder or deletes one with its notes,
// and refills its own group list and the notes window's group chooser after each
// change. Modal over the notes window.
class frmNoteGroupes : public Form {
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
    void Command0_Click();  // Exit

    QTabWidget* tbsOptions = nullptr;
    QWidget* picOptions = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* Option1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1Name = nullptr;
    QPushButton* Command2 = nullptr;
    QRadioButton* Option2 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command0 = nullptr;

private:
    void message(const char* key, int buttons);
};

#pragma once

#include "platform/Form.h"

class QComboBox;
class QLabel;
class QPushButton;
class frmMain;

// The About box of the main window's toolbar: the program's version and credits,
// its home page, and the choice of the interface language.
class frmAbout : public Form {
    Q_OBJECT
public:
    frmAbout();

    void Form_Load() override;

    // Shows the box modally over the main window. A language that OK stored is put
    // in force once the box is closed and its handler left, so that the main window
    // the box stands on is never unloaded under it.
    static void ShowFor(frmMain& main);

    // Stores the chosen language; a language changed in the list is switched to. One
    // that cannot be stored is reported, and the box stays open.
    void cmdOK_Click();
    void cmdHomePage_Click();

    QLabel* Image1 = nullptr;
    QLabel* lblProduct = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblCredits = nullptr;
    QLabel* lblHomePage = nullptr;
    QLabel* lblLanguage = nullptr;
    QComboBox* cboLanguage = nullptr;
    QPushButton* cmdHomePage = nullptr;
    QPushButton* cmdOK = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ApplyLanguage();
    void FillLanguageList();

    bool languageChanged_ = false;
    bool* switchLanguage_ = nullptr;  // ShowFor's answer: switch once the box is gone
};

#pragma once

#include "platform/Form.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The phone book's search: narrows the contacts to those whose surname, given name
// or mobile phone begins with a typed text, and says so in the phone book's
// LabelFilter. Modeless beside the phone book, and unloaded with it.
class frmCntSearch : public Form {
    Q_OBJECT
public:
    frmCntSearch();
    ~frmCntSearch() override;

    void Form_Load() override;
    void Form_Activate() override;
    void ApplyLanguage();

    // False while one of the phone book's dialogs is open over it (the card, the
    // groups, the column chooser, the address-book import): the search then takes
    // no input, as it cannot change the contacts under them.
    static bool TakesInput();

    void cmdOK_Click();
    void CmdReset_Click();
    void Text1_Change();

    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* CmdReset = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

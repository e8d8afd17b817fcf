#pragma once

#include "platform/Form.h"

#include <memory>

class cTabStripPane;
class QGroupBox;
class QListWidget;
class QPushButton;
class QTabWidget;

// The column chooser: which of the phone book's columns the grid shows, kept in
// section "PhoneGridView" of options.ini; its second page starts the address-book
// import.
class frmCntTable : public Form {
    Q_OBJECT
public:
    frmCntTable();
    ~frmCntTable() override;

    void Form_Load() override;
    void ApplyLanguage();
    // The ticks from options.ini; a value that is not a flag ends the program.
    void LoadColumnChoice();
    // Writes every tick in one rewrite of options.ini, then shows the columns so and
    // closes; a write that fails is reported and changes nothing.
    void Command0_Click();
    // Closes the chooser and opens the address-book import over the phone book.
    void CommandImport_Click();

    QTabWidget* tbsOptions = nullptr;
    QWidget* picOptions[2] = {};
    QGroupBox* Frame1 = nullptr;
    QListWidget* List1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QPushButton* CommandImport = nullptr;
    QPushButton* Command0 = nullptr;
    QPushButton* Command1 = nullptr;
    std::unique_ptr<cTabStripPane> TabPane;
};

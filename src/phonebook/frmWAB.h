#pragma once

#include "modTools.h"
#include "platform/Form.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// The import wizard: copies contacts of the user's address book (vCard files) into
// the phone book's general group. An introduction page names the address book and
// lets the user choose another; the transfer page shows its folders and groups, the
// contacts of the chosen one, and transfers the selected contacts. Opened modally,
// owned by the phone book.
class frmWAB : public Form {
    Q_OBJECT
public:
    frmWAB();
    ~frmWAB() override;

    void Form_Load() override;
    // Refused while a transfer runs.
    bool Form_QueryUnload(UnloadMode mode) override;

    void ApplyLanguage();
    void cmdNext_Click();
    void cmdExit_Click();
    void cmdTransfer_Click();
    void cmdSelectAll_Click();
    void cmdDeselectAll_Click();
    void cmdFolder_Click();
    void cmdFile_Click();
    void lblLicence_Click();
    void tvFolders_NodeClick(QTreeWidgetItem* node);
    // False cancels the edit: the fixed folder and a category's group keep their names.
    bool tvFolders_BeforeLabelEdit(QTreeWidgetItem* node);
    void tvFolders_AfterLabelEdit(QTreeWidgetItem* node);

    bool IsTransferring() const { return transferring_; }

    // The address book read: $XDG_DATA_HOME/contacts until the user chooses a folder
    // or a file of cards.
    QString Source;
    ContactTable lvContacts;

    QWidget* fraIntro = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblIntro = nullptr;
    QLabel* lblSource = nullptr;
    QLineEdit* txtSource = nullptr;
    QPushButton* cmdFolder = nullptr;
    QPushButton* cmdFile = nullptr;
    QLabel* lblNote = nullptr;
    QLabel* lblLicence = nullptr;
    QLabel* lblNext = nullptr;

    QWidget* fraTransfer = nullptr;
    QLabel* lblFolders = nullptr;
    QTreeWidget* tvFolders = nullptr;
    QLabel* lblContacts = nullptr;
    QTreeView* ListView1 = nullptr;
    ContactListModel* ListModel = nullptr;
    QFrame* fraProgress = nullptr;
    QLabel* lblProgress = nullptr;

    QPushButton* cmdSelectAll = nullptr;
    QPushButton* cmdDeselectAll = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdTransfer = nullptr;
    QPushButton* cmdExit = nullptr;

private:
    void buildIntroPage();
    void buildTransferPage();
    void connectControls();
    // Loading steps 2 to 5 for the current source, with its book when it has been
    // read already.
    void loadAddressBook(std::unique_ptr<AddressBook> read = nullptr);
    QString startFolder() const;
    void setTransferring(bool on);
    QList<int> selectedRows() const;
    bool transfer(const QList<int>& rows);

    const AddressBook* book_ = nullptr;  // the module's book this window made
    bool transferring_ = false;
};

// The phone book puts back the filter of its group list's chosen entry.
void ShowTransferredContacts();

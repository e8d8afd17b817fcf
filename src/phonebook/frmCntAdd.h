#pragma once

#include "platform/Form.h"

#include <QList>
#include <QVariant>

#include <memory>
#include <utility>

class cTabStripPane;
class QCheckBox;
class QComboBox;
class DateField;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

// The contact card: seven pages of a contact's boxes. Opened empty from the phone
// book for new contacts (OK saves and closes, Add saves and clears the boxes for the
// next one) or filled by the phone book's hand-over for the current contact (OK and
// Apply overwrite that contact). However it closes, it puts the phone book's group
// filter back on the contacts.
class frmCntAdd : public Form {
    Q_OBJECT
public:
    frmCntAdd();
    ~frmCntAdd() override;

    void Form_Load() override;
    void Form_Unload() override;
    void ApplyLanguage();

    void SaveNewContact(bool closeAfterwards);
    void SaveEditedContact(bool stayOpen);
    // Edit mode on the handed-over contact: the edit buttons take the add buttons'
    // places, and the saves write the row of this id.
    void SetEditMode(qint64 contactId);
    qint64 EditedContactId() const { return editedId_; }

    // The 27 text boxes, by the ordinal of the column each one holds.
    static const QList<int>& TextOrdinals();
    QString BoxText(int ordinal) const;
    void SetBoxText(int ordinal, const QString& text);
    // A stored group or sex text that no entry holds becomes an entry of its own, so
    // that it is saved back as it was unless another entry is chosen.
    void ShowGroup(const QString& storedName);
    void ShowSex(const QString& storedText);
    // The path into ImPath; the picture only when the path names a regular file that
    // loads as a picture.
    void ShowPhoto(const QString& path);
    // The value the card gives a column of the contact record.
    QVariant ColumnValue(int ordinal) const;

    void Check1_Click();
    void Check2_Click();
    void Command1_Click();  // birthday reminder
    void Command5_Click();  // anniversary reminder
    void Command2_Click();  // photo: choose
    void Command3_Click();  // photo: remove
    void CommandURL_Click();
    void CommandMail_Click();
    void CommandMail2_Click();

    QTabWidget* tbsOptions = nullptr;
    QWidget* picOptions[7] = {};
    QGroupBox* Frame[7] = {};
    QLineEdit* Text1Name = nullptr;
    QLineEdit* Text2Name = nullptr;
    QLineEdit* Text3Name = nullptr;
    QLineEdit* TextPhone = nullptr;
    QLineEdit* TextMobile = nullptr;
    QCheckBox* Check1 = nullptr;
    DateField* TextDate = nullptr;
    QPushButton* Command1 = nullptr;
    QLineEdit* TextCountry = nullptr;
    QLineEdit* TextRegion = nullptr;
    QLineEdit* TextCity = nullptr;
    QLineEdit* TextIndex = nullptr;
    QLineEdit* TextFax = nullptr;
    QLineEdit* TextAdress = nullptr;
    QLineEdit* TextURL = nullptr;
    QLineEdit* TextICQ = nullptr;
    QLineEdit* TextMSN = nullptr;
    QLineEdit* TextSkype = nullptr;
    QLineEdit* TextEmail = nullptr;
    QLineEdit* TextEmail2 = nullptr;
    QToolButton* CommandURL = nullptr;
    QToolButton* CommandMail = nullptr;
    QToolButton* CommandMail2 = nullptr;
    QLineEdit* TextWorkPlace = nullptr;
    QLineEdit* TextWorkPost = nullptr;
    QLineEdit* TextWorkRegion = nullptr;
    QLineEdit* TextWorkCity = nullptr;
    QLineEdit* TextWorkAdress = nullptr;
    QLineEdit* TextWorkPhone = nullptr;
    QLineEdit* TextWorkFax = nullptr;
    QComboBox* ComboSex = nullptr;
    QLineEdit* TextWife = nullptr;
    QLineEdit* TextChild = nullptr;
    QCheckBox* Check2 = nullptr;
    DateField* TextWDate = nullptr;
    QPushButton* Command5 = nullptr;
    QComboBox* ComboGroupe = nullptr;
    QPlainTextEdit* TextComment = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* ImPath = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command0 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* CommandEditOK = nullptr;
    QPushButton* CommandEdit = nullptr;
    QPushButton* Command7 = nullptr;
    std::unique_ptr<cTabStripPane> TabPane;

private:
    void buildNamePage(QGroupBox* frame);
    void buildHomePage(QGroupBox* frame);
    void buildInternetPage(QGroupBox* frame);
    void buildWorkPage(QGroupBox* frame);
    void buildPersonalPage(QGroupBox* frame);
    void buildOtherPage(QGroupBox* frame);
    void buildPhotoPage(QGroupBox* frame);
    QLineEdit* addBox(QGroupBox* frame, int row, const char* name, const char* labelKey, const char* hint,
                      int width = 0);
    QLabel* addLabel(QGroupBox* frame, int row, const char* labelKey);
    QLineEdit* lineBox(int ordinal) const;
    void showPicture(const QPixmap& picture);
    // The ticked dates become what their pickers show typed; false when one is no date.
    bool readTickedDates();
    void clearForNextContact();
    bool storeContact(bool added);

    QList<std::pair<QLabel*, const char*>> labels_;
    qint64 editedId_ = 0;
};

#pragma once

#include "platform/Form.h"

#include <QIcon>

#include <array>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class cTabStripPane;
struct DbResult;

// The event-category editor: name, picture and repeat rule of a new category (new
// mode) or of the category selected in the main window's list (edit mode).
class frmIconAdd : public Form {
    Q_OBJECT
public:
    frmIconAdd();
    ~frmIconAdd() override;

    void Form_Load() override;
    void Form_Unload() override;

    // Shows the editor modally in new mode, owned by owner.
    static void ShowNew(Form* owner);

    // Edit mode for a category of the main window's list: its shown and stored
    // name, whether it is built in (its picture cannot change) and its picture.
    void EditCategory(const QString& shownName, const QString& storedName, bool builtIn, const QIcon& picture);
    // The pickers from a stored rule (present: both registry values exist).
    void SetRepeatPickers(bool present, const QString& nextType, const QString& nextInterval);
    // The rule the pickers give: an empty letter and 0 for none.
    void GetRepeatCode(QString* letter, int* count) const;
    // The name OK saves: the edited category's name as it stands unless the user
    // changed it, else the text without blanks at either end.
    QString EnteredName() const;

    void Command0_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Text1_Change();
    void Text2_Change();
    void Option1_Click();
    void Option2_Click();
    void Combo1_Click();
    void Combo2_Click();

    std::unique_ptr<cTabStripPane> TabPane;
    // The picture chosen in the file dialog; empty when none.
    QString PicturePath;
    QString PictureFileName;

    QTabWidget* tbsOptions = nullptr;
    std::array<QWidget*, 2> picOptions{};
    QGroupBox* fraSample1 = nullptr;
    QGroupBox* fraSample2 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label10 = nullptr;
    QPushButton* Command3 = nullptr;
    QLabel* Label3 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QComboBox* Combo2 = nullptr;
    QPushButton* Command0 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command1 = nullptr;

private:
    void buildNamePage(QWidget* page);
    void buildRepeatPage(QWidget* page);
    void applyLanguage();
    void updateOkButtons();
    void showPicture(const QIcon& picture);
    void refuseCount(const char* messageKey);
    void refuseTakenName();
    void refuseSave(const DbResult& result);
    void RefreshCategoryIcon(const QString& oldName, const QString& newName);
    bool saveBuiltInCategory(int number, const QString& oldName, const QString& newName);
    bool saveUserCategory(const QString& storedName, const QString& oldName, const QString& newName,
                          const QString& iconPath);

    // The stored and the shown name of the category being edited; "" in new mode.
    QString editedStoredName_;
    QString editedShownName_;
    // A refused picture keeps OK disabled until another one is chosen.
    bool pictureRefused_ = false;
};

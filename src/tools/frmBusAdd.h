#pragma once

#include "platform/Form.h"

#include <array>
#include <memory>

class cTabStripPane;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;

// The task list's settings: when old tasks are deleted at start, the notice about
// undone tasks, the grid's row height (options.ini [BusSettings]) and the texts
// shown for a task's status (own texts "txtdone" and "txtwait"). Modal, owned by
// the task list; OK and Apply save and apply to the open task list at once.
class frmBusAdd : public Form {
    Q_OBJECT
public:
    frmBusAdd();
    ~frmBusAdd() override;

    void Form_Load() override;
    void ApplyLanguage();
    // Saves all five values and applies them to the task list; closes when asked and
    // they are saved.
    void SaveSettings(bool close);
    void Slider1_Change();

    QTabWidget* tbsOptions = nullptr;
    std::array<QWidget*, 2> picOptions{};
    std::unique_ptr<cTabStripPane> TabPane;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QRadioButton* Option1 = nullptr;  // after 7 days
    QRadioButton* Option2 = nullptr;  // after 30 days
    QRadioButton* Option3 = nullptr;  // never
    QLabel* Label2 = nullptr;
    QCheckBox* Check1 = nullptr;
    QLabel* Label3 = nullptr;
    QSlider* Slider1 = nullptr;
    QLabel* Label4 = nullptr;  // the slider's value
    QGroupBox* Frame2 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* Text1 = nullptr;  // done
    QLabel* Label7 = nullptr;
    QLineEdit* Text2 = nullptr;  // not done
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdCancel = nullptr;
};

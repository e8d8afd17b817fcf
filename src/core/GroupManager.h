#pragma once

#include "platform/Form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

// Where a control stands, in twips.
struct TwipsBox {
    int left, top, width, height;
};

// Each window's own sizes and positions of the same controls.
struct GroupManagerLayout {
    const char* page;  // the tab page's object name
    int width, height;
    TwipsBox tabs, frame, option1, label2, name, create, option2, label1, list, remove, exit;
};

// The controls of a group manager: one tab page whose frame holds a create half
// (a name box and Create) over a delete half (a group list and Delete), and Exit
// under the tab strip. The contact and the note group managers are built alike.
struct GroupManagerControls {
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
};

// Creates and places the controls, in this order (the focus order); Exit and Esc
// unload the window.
void BuildGroupManager(Form& form, GroupManagerControls& c, const GroupManagerLayout& at);

// The captions; the tab's text is the window's own.
void ApplyGroupManagerTexts(Form& form, const GroupManagerControls& c, const char* tabKey);

// Create mode: the name half on, Create while the box holds a name; the list half off.
void ShowCreateHalf(const GroupManagerControls& c);
// Delete mode: the name half off, the list's caption on, and ShowDeletable.
void ShowDeleteHalf(const GroupManagerControls& c);
// The list and Delete on while the list holds a group, the first one chosen; else off.
void ShowDeletable(const GroupManagerControls& c);

// A language text in a message box with the program's title; the box's answer.
int GroupManagerMessage(const char* key, int buttons);

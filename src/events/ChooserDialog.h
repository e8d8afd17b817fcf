#pragma once

#include <QList>

class Form;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

// The controls of the two chooser dialogs: a tab strip with one page, a frame of
// option buttons stacked in index order, OK and Cancel.
struct ChooserControls {
    QTabWidget* tbsOptions = nullptr;
    QWidget* picOptions = nullptr;
    QGroupBox* Frame1 = nullptr;
    QList<QRadioButton*> Option1;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};

// Builds them on the window, sized for the number of options; option 0 is
// selected, OK is the default button, Cancel (and Esc) unloads the window.
void BuildChooser(Form* window, int options, ChooserControls* controls);
// The index of the selected option, -1 when none is.
int ChosenOption(const ChooserControls& controls);

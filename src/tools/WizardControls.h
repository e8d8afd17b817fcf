#pragma once

#include "platform/Controls.h"

#include <QList>
#include <QString>

class QGroupBox;
class QLabel;
class QRadioButton;
class QWidget;

// The controls the two wizards are made of, placed in twips.

// A page: a panel with a bold heading at its top.
QWidget* AddPage(QWidget* window, const char* name, int width, int height, QLabel** heading);
// A word-wrapped description label.
QLabel* AddDescription(QWidget* parent, const char* name, int left, int top, int width, int height);
// A frame of option buttons stacked top to bottom, the first one selected.
QGroupBox* AddOptionFrame(QWidget* parent, const char* name, int left, int top, int width, int options,
                          QList<QRadioButton*>* buttons);
// The index of the selected option.
int ChosenIndex(const QList<QRadioButton*>& buttons);

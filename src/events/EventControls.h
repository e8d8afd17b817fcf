#pragma once

#include "platform/Controls.h"

#include <QString>
#include <QWidget>

class QComboBox;

// Small helpers the event windows share for building and driving their controls.

// A control named as the window's layout names it, placed in twips.
template <class T>
T* MakeControl(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* control = new T(parent);
    control->setObjectName(QString::fromLatin1(name));
    Place(control, left, top, width, height);
    return control;
}

// Selects a list entry by code so that the list's handler runs once, as a click
// would, even when the entry was already selected.
void SelectEntry(QComboBox* list, int index);

#pragma once

#include <QString>
#include <QtGlobal>

#include <cmath>
#include <functional>

class QComboBox;
class QObject;
class QRadioButton;
class QWidget;

// Control geometry is given in twips, as the window layouts are: 15 twips a pixel.
//
// Click handlers of check boxes, option buttons and lists connect to the controls'
// value-changed signals (toggled, currentIndexChanged, currentRowChanged), so code
// that sets a value runs the handler once, as a user's click would. Code that fills
// or clears a list does so under a QSignalBlocker and runs no handler.

constexpr int TwipsPerPixel = 15;

inline int Px(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel)); }
inline int Twips(int pixels) { return pixels * TwipsPerPixel; }

// Places a control at its layout position, all values in twips.
void Place(QWidget* control, int left, int top, int width, int height);

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

// Runs the handler when the option button becomes the chosen one, by a click or by
// code, as an option's click handler runs.
void OnOptionClick(QRadioButton* option, QObject* receiver, std::function<void()> handler);

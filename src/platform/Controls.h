#pragma once

#include <QtGlobal>

#include <cmath>

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

#pragma once

#include <optional>

class QWidget;

// Opacity of a whole window, in percent of full opacity.
namespace FormTransparent {

// percent * 255 / 100 to the nearest whole number, halves to the even one; the
// percentage is held to 0..100.
int Alpha(int percent);
// Sets the window's opacity. Where the platform cannot show a window partly
// transparent the window stays fully opaque: it is never left invisible.
void SetTransparency(QWidget* window, int percent);
// False on platforms that ignore window opacity (Wayland, the frame buffer).
bool OpacitySupported();
// Tests pretend either kind of platform; nothing = ask the platform.
void SetOpacitySupportedForTests(std::optional<bool> supported);

}  // namespace FormTransparent

namespace OnTopModul {

// Keeps the window above all others and shows it at its own position and size.
// The flag is best set before the window is first shown: changing it on a shown
// window makes the window system hide and map it again.
void MakeTopMost(QWidget* window);

}  // namespace OnTopModul

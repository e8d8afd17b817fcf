#pragma once

class Form;

// The position hand-off between the main window and the full-window views that take
// its place: the dispatcher's two 16-bit members, in twips.

// A view moves to the handed position when it loads, whatever it holds, and clears it.
void TakeHandedPosition(Form& view);
// A view that the program closes hands its position back and brings the main window
// again, which moves there when it is next activated.
void GiveBackToMainWindow(const Form& view);

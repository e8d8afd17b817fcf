#pragma once

// True while the user works in one of the program's dialogs (it is the active
// window), or any modal dialog or message box of the program is open: a due
// reminder then waits, announced by a balloon only.
bool IsDialogActive();

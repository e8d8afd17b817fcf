#pragma once

#include <functional>

// Whether a tray host is there to show the program's icon, and word of one coming or
// going, told by the desktop rather than asked for again and again. Qt shows the icon
// through the StatusNotifier watcher on the session bus when one serves a host as the
// icon is made, and through the X11 tray otherwise; the watch follows the same one:
// the watcher's name on the bus, or the owner of the X11 tray selection (its end seen
// through a structure-notify watch on it, a new one through the tray manager's MANAGER
// message to the root window).
namespace TrayHost {

// Starts watching, once; changed runs whenever a host comes or goes. True when a
// host is there now.
bool Watch(std::function<void(bool present)> changed);
bool Present();

// For tests: stop watching.
void Stop();

}  // namespace TrayHost

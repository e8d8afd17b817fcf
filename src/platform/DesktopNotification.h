#pragma once

#include <QString>

// A notice shown by the desktop's notification service (org.freedesktop.Notifications
// on the session bus), for when there is no tray icon to show a balloon at. Where no
// such service runs or it refuses the notice, the notice is dropped with one line on
// standard error; nothing waits for a service to come.
namespace DesktopNotification {

void Show(const QString& title, const QString& text);

}  // namespace DesktopNotification

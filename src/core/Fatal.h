#pragma once

#include <QString>

// The program's ends. Neither returns: the message (when there is one) is shown,
// the tray icon removed, the standard streams flushed and the process ended at once,
// without closing windows or running static destructors.
[[noreturn]] void FatalEnd(const QString& message = QString());
[[noreturn]] void EndProcess(int status);

// The title of every message box and balloon.
QString ProductName();

#include "OpenURL.h"

#include "platform/Shell.h"

void OpenURL(const QString& address) { Shell::Open(address); }

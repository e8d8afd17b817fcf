#include "IconBaloonTray.h"

#include "Resources.h"
#include "clsINI.h"
#include "platform/TrayIcon.h"

void TrayAdd(const QString& tip) { TrayIcon::Add(ResourceIcon(QStringLiteral("RES_0")), tip); }

void TrayBalloon(const QString& title, const QString& text, int kind)
{
    TrayIcon::ShowBalloon(NoNul(title), NoNul(text), kind);
}

void TrayDelete() { TrayIcon::Remove(); }

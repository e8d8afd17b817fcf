#include "Fatal.h"

#include "IconBaloonTray.h"
#include "clsINI.h"
#include "platform/MsgBox.h"

#include <cstdio>
#include <unistd.h>

QString ProductName() { return QStringLiteral("Tessaryn"); }

void FatalEnd(const QString& message)
{
    const QString text = NoNul(message);
    if (!text.isEmpty())
        MsgBox(text, 16, ProductName());
    EndProcess(1);
}

void EndProcess(int status)
{
    TrayDelete();
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(status);
}

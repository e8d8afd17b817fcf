#pragma once

#include <QString>

// Opens a web address, "mailto:" link or file with the desktop's default handler.
void OpenURL(const QString& address);

#pragma once

#include <QString>

// The notification-area icon of the program and its balloons.
void TrayAdd(const QString& tip);
// Title cut at 64 characters, text at 256; kind 1 = information.
void TrayBalloon(const QString& title, const QString& text, int kind);
void TrayDelete();

#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

class QWidget;

// The pictures compiled into the program: "RES_0" (the program) to "RES_5", and
// "RES_GENERIC" (a category whose own icon file cannot be loaded).
QIcon ResourceIcon(const QString& name);
QPixmap ResourcePixmap(const QString& name, int size);
QIcon ToolbarIcon(const QString& name);
// Weather pictures by the forecast's picture key ("_0_sun.gif", ...); null when unknown.
QPixmap WeatherPicture(const QString& key);

// Gives a window the program's icon ("RES_0"); with ownerToo, also its top owner.
void SetFormIcon(QWidget* window, const QString& resource, bool ownerToo);

void InitResources();
// The application's style, with Qt's own toolbar pictures read without probing every
// image plugin. After the application object, before the first window.
void InstallStyle();

#pragma once

#include <QDate>
#include <QString>

// The version check against the program's download host.

// Address of the remote version text "tsversion.txt".
QString VersionFileUrl();
// The home page followed by the language's zone.
QString HomePageUrl();
// A version text with its dots removed, read from its leading digits; 0 when none.
long long VersionNumber(const QString& text);
// The start-up check runs on these days of a month only.
bool IsUpdateCheckDay(const QDate& day);
// True when the remote version text is newer than the local one (both non-zero).
bool IsNewerVersion(const QString& local, const QString& remote);
// The start-up check: on its days, compares main.xml's version with the remote one
// and offers to open the home page.
void CheckForUpdate();

#pragma once

#include <QDate>
#include <QString>

// The version check against the program's download host.

// Address of the remote version text "tsversion.txt".
QString VersionFileUrl();
// The home page followed by the language's zone.
QString HomePageUrl();
// The version a text holds: digits and dots, less surrounding blanks, line ends and a
// byte-order mark; "" when the text holds none (an error page, HTML, nothing).
QString VersionText(const QString& text);
// True when the text holds a version with a part other than 0.
bool IsVersion(const QString& text);
// True when both texts are versions and the remote one is newer. Versions compare
// part by part as whole numbers of any length; a missing part counts as 0.
bool IsNewerVersion(const QString& local, const QString& remote);
// The start-up check runs on these days of a month only.
bool IsUpdateCheckDay(const QDate& day);
// The user's choice of automatic checks: [Update] "auto" is "1" (blanks aside).
bool AutoUpdateCheck();
// The start-up check: on its days, when the user left automatic checks on, compares
// main.xml's version with the remote one and offers to open the home page. It
// returns at once; once the answer has come, the question waits for
// AskWaitingUpdateQuestion. The question is one the user did not ask for: a reminder
// that falls due while it is up withdraws it, and it waits again.
void CheckForUpdate();
// Called by the dispatcher's tick after its due check: asks the waiting question
// when no reminder and no dialog of the program is up.
void AskWaitingUpdateQuestion();
// True from the start of that check until its question is answered or it ended silently.
bool UpdateCheckPending();

#pragma once

#include <QList>
#include <QString>

// Message boxes with the classic button and icon codes:
// buttons 0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel;
// icons 16 critical, 32 question, 48 exclamation, 64 information; 256 and 512 make
// the second or third button the default. Results 1 OK, 2 Cancel, 3 Abort, 4 Retry,
// 5 Ignore, 6 Yes, 7 No; 0 for a question withdrawn unanswered.
enum MsgBoxResult { vbOK = 1, vbCancel, vbAbort, vbRetry, vbIgnore, vbYes, vbNo };

int MsgBox(const QString& text, int buttons, const QString& title);
// The same box for a question the program asks of itself, not at the user's request:
// WithdrawUnrequested closes it unanswered, and it counts as open no more from then on.
int MsgBoxUnrequested(const QString& text, int buttons, const QString& title);
void WithdrawUnrequested();

// Number of message boxes open right now (a due reminder waits for them).
int OpenMessageBoxCount();

// Scripted answers. When answers are queued, or automatic answers are on, no box
// is shown: the message is logged (and written to standard error) and answered.
// TESSARYN_MSGBOX_ANSWER in the environment turns automatic answers on for a whole
// process: "default" answers with the default button, a number with that result.
namespace MsgBoxScript {

struct Shown {
    QString text;
    int buttons = 0;
    QString title;
};

void Push(int answer);
// Answer every unscripted box with its default button (or the given result).
void SetAutomatic(bool on, int answer = 0);
const QList<Shown>& Log();
void Clear();

}  // namespace MsgBoxScript

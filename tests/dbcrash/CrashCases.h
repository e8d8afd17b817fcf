#pragma once

// The kinds of save the crash harness kills: one row each. A case prepares the
// stores once (in the parent, in the case's folders), saves again and again in the
// child through the window routine a user's action runs, and checks the stores
// after every kill (in the parent again).

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// What a check found after one kill; detail names the first fault.
struct StoreFaults {
    bool damaged = false;     // a file that does not read back whole
    bool lost = false;        // an acknowledged save that is not there
    bool outOfStep = false;   // stores that disagree, or that break the case's rule
    bool refused = false;     // a valid backup that no longer restores
    QString detail;
};

struct CrashCase {
    const char* name;
    // The consistency rule the check holds the stores to, as the table shows it.
    const char* rule;
    // Seeds the stores of a fresh profile; may be empty.
    void (*prepare)();
    // One save of the child, its number counting from 0 in each child; begin() is
    // called right before the window routine runs. Gives the token of the save
    // when it was acknowledged, else an empty text.
    QString (*save)(int number, const std::function<void()>& begin);
    // The stores as the kill left them, against every token acknowledged so far.
    StoreFaults (*check)(const QStringList& acknowledged);
};

const QList<CrashCase>& CrashCases();
const CrashCase* FindCrashCase(const QString& name);

// Ends the windows and the data environment of the program's state in this
// process, as a case's prepare or check leaves them.
void EndProgramState();

// The child's state of a start without its start-up steps (dispatcher, texts,
// message boxes answered by default), before its first save.
void PrepareCrashChild();

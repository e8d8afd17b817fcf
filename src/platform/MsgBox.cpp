#include "MsgBox.h"

#include "Form.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include <cstdio>

namespace {

struct Script {
    QList<int> answers;
    bool automatic = false;
    int automaticAnswer = 0;
    bool envRead = false;
    QList<MsgBoxScript::Shown> log;
};

Script& script()
{
    static Script s;
    if (!s.envRead) {
        s.envRead = true;
        const QString env = qEnvironmentVariable("TESSARYN_MSGBOX_ANSWER");
        if (!env.isEmpty()) {
            s.automatic = true;
            s.automaticAnswer = env.toInt();
        }
    }
    return s;
}

int openBoxes = 0;

// The open question the program asked of itself, and whether it was withdrawn.
struct Unrequested {
    QPointer<QMessageBox> box;
    bool withdrawn = false;
};
Unrequested* unrequested = nullptr;

QList<int> resultsOf(int buttons)
{
    switch (buttons & 0xF) {
    case 1: return {vbOK, vbCancel};
    case 2: return {vbAbort, vbRetry, vbIgnore};
    case 3: return {vbYes, vbNo, vbCancel};
    case 4: return {vbYes, vbNo};
    case 5: return {vbRetry, vbCancel};
    default: return {vbOK};
    }
}

int defaultResult(int buttons)
{
    const QList<int> results = resultsOf(buttons);
    const int index = (buttons & 0x300) >> 8;
    return results.value(index, results.first());
}

QMessageBox::StandardButton standardButton(int result)
{
    switch (result) {
    case vbCancel: return QMessageBox::Cancel;
    case vbAbort: return QMessageBox::Abort;
    case vbRetry: return QMessageBox::Retry;
    case vbIgnore: return QMessageBox::Ignore;
    case vbYes: return QMessageBox::Yes;
    case vbNo: return QMessageBox::No;
    default: return QMessageBox::Ok;
    }
}

QMessageBox::Icon iconOf(int buttons)
{
    switch (buttons & 0x70) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

int show(const QString& text, int buttons, const QString& title, bool unrequestedQuestion)
{
    Script& s = script();
    const bool scripted = !s.answers.isEmpty();
    if (scripted || s.automatic || !qApp) {
        s.log.append({text, buttons, title});
        std::fprintf(stderr, "MsgBox [%s]: %s\n", title.toUtf8().constData(), text.toUtf8().constData());
        std::fflush(stderr);
        if (scripted)
            return s.answers.takeFirst();
        return s.automaticAnswer > 0 ? s.automaticAnswer : defaultResult(buttons);
    }

    // The box lives on the heap: should its window go while it is open, the window
    // takes the box with it and nothing here frees it a second time.
    QPointer<QMessageBox> box =
        new QMessageBox(iconOf(buttons), title, text, QMessageBox::NoButton, Forms::ActiveForm());
    // Names the user typed are shown as typed, never read as markup.
    box->setTextFormat(Qt::PlainText);
    const QList<int> results = resultsOf(buttons);
    for (int result : results)
        box->addButton(standardButton(result));
    box->setDefaultButton(standardButton(defaultResult(buttons)));
    box->setEscapeButton(standardButton(results.last()));
    ++openBoxes;
    Unrequested mine{box};
    Unrequested* const outer = unrequested;
    if (unrequestedQuestion)
        unrequested = &mine;
    box->exec();
    if (unrequestedQuestion)
        unrequested = outer;
    if (!mine.withdrawn)
        --openBoxes;
    int answer = mine.withdrawn ? 0 : results.last();
    if (box && !mine.withdrawn) {
        for (int result : results) {
            if (box->clickedButton() == box->button(standardButton(result)))
                answer = result;
        }
    }
    delete box.data();
    return answer;
}

}  // namespace

int MsgBox(const QString& text, int buttons, const QString& title) { return show(text, buttons, title, false); }

int MsgBoxUnrequested(const QString& text, int buttons, const QString& title)
{
    return show(text, buttons, title, true);
}

void WithdrawUnrequested()
{
    if (!unrequested || unrequested->withdrawn)
        return;
    unrequested->withdrawn = true;
    --openBoxes;
    // Its loop ends once control is back in it.
    if (unrequested->box)
        unrequested->box->done(0);
}

int OpenMessageBoxCount() { return openBoxes; }

namespace MsgBoxScript {

void Push(int answer) { script().answers.append(answer); }

void SetAutomatic(bool on, int answer)
{
    script().automatic = on;
    script().automaticAnswer = answer;
}

const QList<Shown>& Log() { return script().log; }

void Clear()
{
    script().answers.clear();
    script().log.clear();
}

}  // namespace MsgBoxScript

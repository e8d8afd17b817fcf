#pragma once

#include <QStringList>

class QLabel;

// Labels whose text may be longer than their box (a user's text, or a language's
// caption in a longer language). A fitted label shows its text within its box: a
// word-wrapping label breaks lines between words only, a word or line that still
// does not fit ends in "…", and then the whole text is the label's tooltip. The
// label's text() stays whole. Meant for frameless text labels at a fixed size.
void FitText(QLabel* label);
bool IsFitted(const QLabel* label);

// The lines a fitted label shows, as they are drawn.
QStringList FittedLines(const QLabel* label);
// True when the label shows less than its whole text.
bool IsTextCut(const QLabel* label);

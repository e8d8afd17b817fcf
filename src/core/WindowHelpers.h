#pragma once

#include <QColor>
#include <QString>

#include <functional>

class QAbstractItemView;
class QLineEdit;
class QTableView;
class QToolBar;
class QWidget;

// A grid window's data grid: whole rows chosen one at a time, cells edited in
// place, headings that take clicks.
void SetupDataGrid(QTableView* grid);

// Mouse-wheel scrolling of a data grid: one notch scrolls one row; a notch with
// Ctrl or Shift held, or several notches at once, ten. Small touchpad deltas are
// added up into whole notches first.
void HookGrid(QAbstractItemView* grid);
void UnhookGrid(QAbstractItemView* grid);

// Runs the handler on a left click (press and release) on a label or picture.
void OnClick(QWidget* control, std::function<void()> handler);

// The toolbar takes its window's font.
void SetToolbarFont(QWidget* form, QToolBar* toolbar);

void SelectAllText(QLineEdit* box);
// The box (a line or a multi-line text box) selects its whole text whenever it gets
// the focus.
void SelectAllOnFocus(QWidget* box);

// Balloon tooltips on controls (the day cells of the calendar).
// The text loses its first two characters (the leading line break of a day's list).
void AddBalloonTip(QWidget* control, const QString& text, const QColor& back, const QColor& fore, int maxWidth,
                   int initialDelayMs, int visibleMs, bool centred);
void DestroyBalloonTips();
// The text a control's balloon shows, for tests; "" when it has none.
QString BalloonTipText(QWidget* control);

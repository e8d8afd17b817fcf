#pragma once

#include <QList>

#include <functional>
#include <span>

class QAction;
class QToolBar;
class QWidget;

// One captioned button of a window's toolbar, addressed by its index from 1.
struct ToolbarEntry {
    int index;
    const char* captionKey;
    const char* picture;
};

// A toolbar of buttons with captions, pictures above them once set, across the top of a window.
// Indexes 1 to count without an entry hold no button (nullptr in buttons); a
// separator stands at separatorAt. A click runs onClick with the button's index.
QToolBar* BuildToolbar(QWidget* window, int widthTwips, std::span<const ToolbarEntry> entries, int count,
                       int separatorAt, const std::function<void(int)>& onClick, QList<QAction*>* buttons);
// The buttons' pictures, apart from the build: a window loaded hidden reads them
// when it is first shown.
void SetToolbarPictures(const QList<QAction*>& buttons, std::span<const ToolbarEntry> entries);
// The captions from the language file; one too wide for its button goes on two lines.
void SetToolbarCaptions(QToolBar* toolbar, const QList<QAction*>& buttons, std::span<const ToolbarEntry> entries);
// The button at an index from 1, or nullptr.
QAction* ToolbarButtonAt(const QList<QAction*>& buttons, int index);

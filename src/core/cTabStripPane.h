#pragma once

#include <QPointer>

class QTabWidget;

// Keyboard behaviour of a dialog's tab strip: Ctrl+Tab moves to the next page,
// wrapping from the last page to the first. The pages are drawn by the Qt style.
class cTabStripPane {
public:
    explicit cTabStripPane(QTabWidget* tabs);

    static void NextTab(QTabWidget* tabs);

private:
    QPointer<QTabWidget> tabs_;
};

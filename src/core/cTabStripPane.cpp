#include "cTabStripPane.h"

#include <QShortcut>
#include <QTabWidget>

cTabStripPane::cTabStripPane(QTabWidget* tabs)
    : tabs_(tabs)
{
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), tabs->window());
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, tabs, [tabs] { NextTab(tabs); });
}

void cTabStripPane::NextTab(QTabWidget* tabs)
{
    const int count = tabs->count();
    if (count == 0)
        return;
    for (int step = 1; step <= count; ++step) {
        const int index = (tabs->currentIndex() + step) % count;
        if (tabs->isTabEnabled(index) && tabs->isTabVisible(index)) {
            tabs->setCurrentIndex(index);
            return;
        }
    }
}

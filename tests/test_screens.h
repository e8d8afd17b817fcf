#pragma once

// Pictures of windows for a person to look at, written to <build>/tests/screens/,
// and the check that every caption fits its control.

#include "test_mainwin_fixture.h"

#include "core/FittedText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>

#include <cstdio>

// Saves the window as <build>/tests/screens/<name>.png.
inline void SaveScreen(QWidget& window, const QString& name)
{
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 100)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    const QString folder = QCoreApplication::applicationDirPath() + s("/screens");
    QDir().mkpath(folder);
    const QString file = folder + s("/") + name + s(".png");
    EXPECT_TRUE(window.grab().save(file)) << file.toStdString();
    std::printf("screenshot: %s\n", qPrintable(file));
}

// Every caption shown on the window's current page fits its control.
inline void CheckCaptionsFit(QWidget& window, const char* name)
{
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window))
            continue;
        const QString where = s(name) + s(": ") + widget->objectName() + s(" ") + QString::fromLatin1(widget->metaObject()->className());
        if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull()) {
            // A fitted label shows its whole text; a wrapping one needs no more lines
            // than it has room for.
            if (IsFitted(label))
                EXPECT_FALSE(IsTextCut(label)) << where.toStdString() << " " << label->text().toStdString();
            else if (label->wordWrap())
                EXPECT_LE(label->heightForWidth(label->width()), label->height() + 1) << where.toStdString();
            else
                EXPECT_LE(label->sizeHint().width(), label->width() + 1) << where.toStdString();
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !button->text().isEmpty()) {
            EXPECT_LE(button->sizeHint().width(), button->width() + 1) << where.toStdString();
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_LE(frame->fontMetrics().horizontalAdvance(frame->title()) + 16, frame->width())
                << where.toStdString();
        } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
            EXPECT_LE(tabs->tabBar()->sizeHint().width(), tabs->width()) << where.toStdString();
        } else if (auto* grid = qobject_cast<QTableView*>(widget)) {
            const QHeaderView* header = grid->horizontalHeader();
            for (int column = 0; column < header->count(); ++column) {
                const QString heading = grid->model()->headerData(column, Qt::Horizontal).toString();
                if (!header->isSectionHidden(column)) {
                    EXPECT_LE(header->fontMetrics().horizontalAdvance(heading) + 8, header->sectionSize(column))
                        << where.toStdString() << " " << heading.toStdString();
                }
            }
        } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < list->count(); ++i)
                EXPECT_LE(list->fontMetrics().horizontalAdvance(list->itemText(i)) + 30, list->width())
                    << where.toStdString() << " " << list->itemText(i).toStdString();
        }
    }
}

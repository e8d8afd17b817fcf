#pragma once

// Pictures of windows for a person to look at, written to <build>/tests/screens/,
// and the check that every caption fits its control. Run under Xvfb with
// "-platform xcb" to see the real window system.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>

#include <gtest/gtest.h>

#include <cstdio>

// Saves the window as <name>-<language>.png once pending events have run.
inline void SaveScreen(QWidget& window, const char* name, const QString& language)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 100)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/screens");
    QDir().mkpath(folder);
    const QString file = folder + QLatin1Char('/') + QString::fromUtf8(name) + QLatin1Char('-') + language
                         + QStringLiteral(".png");
    EXPECT_TRUE(window.grab().save(file)) << file.toStdString();
    std::printf("screenshot: %s\n", qPrintable(file));
}

// Every caption shown on the window's current page fits its control.
inline void CaptionsFit(QWidget& window, const char* name)
{
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window))
            continue;
        const std::string where = std::string(name) + ": " + widget->objectName().toStdString() + " "
                                  + widget->metaObject()->className();
        if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap() && label->pixmap().isNull()) {
            EXPECT_LE(label->sizeHint().width(), label->width() + 1) << where;
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !button->text().isEmpty()) {
            EXPECT_LE(button->sizeHint().width(), button->width() + 1) << where;
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_LE(frame->fontMetrics().horizontalAdvance(frame->title()) + 16, frame->width()) << where;
        } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < list->count(); ++i)
                EXPECT_LE(list->fontMetrics().horizontalAdvance(list->itemText(i)) + 30, list->width())
                    << where << " " << list->itemText(i).toStdString();
        }
    }
}

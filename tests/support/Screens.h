#pragma once

// Pictures of windows for a person to look at, written to <build>/tests/screens/, and
// the check that every caption shown fits its control. Run under Xvfb with
// "-platform xcb" to see the real window system.

#include "core/FittedText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>

#include <gtest/gtest.h>

#include <cstdio>

inline void SaveScreen(QWidget& window, const QString& name, const QString& language)
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/screens");
    QDir().mkpath(folder);
    const QString file = folder + QLatin1Char('/') + name + QLatin1Char('-') + language + QStringLiteral(".png");
    EXPECT_TRUE(window.grab().save(file)) << file.toStdString();
    std::printf("screenshot: %s\n", qPrintable(file));
}

// Every caption shown on the window's current page fits its control: a fitted
// label shows its whole text, a wrapping label needs no more lines than it has room
// for, any other caption is not wider than its control.
inline void ExpectCaptionsFit(QWidget& window, const QString& name)
{
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window))
            continue;
        const std::string where = (name + QStringLiteral(": ") + widget->objectName() + QLatin1Char(' ')
                                   + QString::fromLatin1(widget->metaObject()->className()))
                                      .toStdString();
        if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull()) {
            if (IsFitted(label))
                EXPECT_FALSE(IsTextCut(label)) << where << " " << label->text().toStdString();
            else if (label->wordWrap())
                EXPECT_LE(label->heightForWidth(label->width()), label->height() + 1) << where;
            else
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

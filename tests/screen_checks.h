#pragma once

// Pictures of windows for a person to look at, written to <build>/tests/screens/,
// and the check that every caption shown fits its control.

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>

inline void SaveScreen(QWidget& window, const QString& name, const QString& language)
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/screens");
    QDir().mkpath(folder);
    const QString file = folder + QStringLiteral("/") + name + QStringLiteral("-") + language + QStringLiteral(".png");
    EXPECT_TRUE(window.grab().save(file)) << file.toStdString();
    std::printf("screenshot: %s\n", qPrintable(file));
}

// Every caption shown on the window's current page fits its control.
inline void CaptionsFit(QWidget& window, const char* name)
{
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window))
            continue;
        const std::string where = (QString::fromUtf8(name) + QStringLiteral(": ") + widget->objectName()
                                   + QStringLiteral(" ") + QString::fromLatin1(widget->metaObject()->className()))
                                      .toStdString();
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

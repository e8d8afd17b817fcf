#include "Controls.h"

#include <QLabel>
#include <QWidget>

void Place(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

QLabel* MakePlainLabel(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* label = MakeControl<QLabel>(parent, name, left, top, width, height);
    label->setTextFormat(Qt::PlainText);
    return label;
}

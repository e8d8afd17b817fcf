#include "Controls.h"

#include <QWidget>

void Place(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

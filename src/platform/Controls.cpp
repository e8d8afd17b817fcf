#include "Controls.h"

#include <QComboBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QWidget>

void Place(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

void SelectEntry(QComboBox* list, int index)
{
    {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(-1);
    }
    list->setCurrentIndex(index);
}

void OnOptionClick(QRadioButton* option, QObject* receiver, std::function<void()> handler)
{
    QObject::connect(option, &QRadioButton::toggled, receiver, [handler = std::move(handler)](bool on) {
        if (on)
            handler();
    });
}

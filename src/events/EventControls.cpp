#include "EventControls.h"

#include <QComboBox>
#include <QSignalBlocker>

void SelectEntry(QComboBox* list, int index)
{
    {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(-1);
    }
    list->setCurrentIndex(index);
}

#include "TypedDate.h"

#include "Fatal.h"
#include "Options.h"
#include "platform/DateField.h"
#include "platform/MsgBox.h"

#include <QPointer>
#include <QTabWidget>

namespace {

// The tab page that holds the picker comes to the front, so that the focus can go there.
void showPageOf(DateField* picker)
{
    for (QTabWidget* tabs : picker->window()->findChildren<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)->isAncestorOf(picker))
                tabs->setCurrentIndex(i);
        }
    }
}

}  // namespace

bool TakeTypedDate(DateField* picker)
{
    const QDate date = picker->date();
    if (date.isValid()) {
        picker->setDate(date);
        return true;
    }
    QPointer<DateField> guard(picker);
    MsgBox(GetLangText(QStringLiteral("mes66")), 48, ProductName());
    if (!guard)
        return false;
    showPageOf(picker);
    picker->setFocus(Qt::OtherFocusReason);
    return false;
}

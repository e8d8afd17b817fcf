#include "ColorChooser.h"

#include <QColorDialog>
#include <QList>

namespace {

QList<std::optional<QColor>>& queued()
{
    static QList<std::optional<QColor>> answers;
    return answers;
}

}  // namespace

namespace ColorChooser {

std::optional<QColor> Ask(QWidget* parent, const QColor& initial)
{
    if (!queued().isEmpty())
        return queued().takeFirst();
    const QColor chosen = QColorDialog::getColor(initial, parent, QString(), QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

void PushResult(std::optional<QColor> result) { queued().append(result); }

void ClearForTests() { queued().clear(); }

}  // namespace ColorChooser

#include "FontChooser.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QList>
#include <QPointer>

#include <algorithm>

namespace {

QList<std::optional<QFont>>& queued()
{
    static QList<std::optional<QFont>> answers;
    return answers;
}

}  // namespace

namespace FontChooser {

std::optional<QFont> Ask(QWidget* parent, const QFont& initial, double maxPoints)
{
    std::optional<QFont> chosen;
    if (!queued().isEmpty()) {
        chosen = queued().takeFirst();
    } else {
        QPointer<QFontDialog> dialog = new QFontDialog(initial, parent);
        dialog->setOption(QFontDialog::DontUseNativeDialog);
        // Underline and strike-through have buttons of their own: the dialog's
        // effects would be ignored.
        for (QGroupBox* box : dialog->findChildren<QGroupBox*>()) {
            if (!box->findChildren<QCheckBox*>().isEmpty())
                box->hide();
            else
                box->setMinimumHeight(box->sizeHint().height() * 2);  // the sample keeps its room
        }
        const bool accepted = dialog->exec() == QDialog::Accepted;
        if (dialog && accepted)
            chosen = dialog->selectedFont();
        delete dialog;
    }
    // The dialog offers sizes beyond the limit; a larger choice takes the largest allowed.
    if (chosen && chosen->pointSizeF() > maxPoints)
        chosen->setPointSizeF(maxPoints);
    return chosen;
}

void PushResult(std::optional<QFont> result) { queued().append(result); }

void ClearForTests() { queued().clear(); }

}  // namespace FontChooser

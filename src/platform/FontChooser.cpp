#include "FontChooser.h"

#include <QFontDialog>
#include <QList>

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
        bool accepted = false;
        const QFont font = QFontDialog::getFont(&accepted, initial, parent, QString(),
                                                QFontDialog::DontUseNativeDialog);
        if (accepted)
            chosen = font;
    }
    // The dialog offers sizes beyond the limit; a larger choice takes the largest allowed.
    if (chosen && chosen->pointSizeF() > maxPoints)
        chosen->setPointSizeF(maxPoints);
    return chosen;
}

void PushResult(std::optional<QFont> result) { queued().append(result); }

void ClearForTests() { queued().clear(); }

}  // namespace FontChooser

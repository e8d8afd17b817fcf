#pragma once

#include <QFont>

#include <optional>

class QWidget;

// The font dialog: family, bold, italic and size, never above maxPoints. Tests
// queue answers instead of showing it.
namespace FontChooser {

// The chosen font; nothing when the dialog was cancelled.
std::optional<QFont> Ask(QWidget* parent, const QFont& initial, double maxPoints);

// A queued nothing stands for a cancelled dialog.
void PushResult(std::optional<QFont> result);
void ClearForTests();

}  // namespace FontChooser

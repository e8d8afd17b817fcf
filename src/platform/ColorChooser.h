#pragma once

#include <QColor>

#include <optional>

class QWidget;

// The colour dialog. Tests queue answers instead of showing it.
namespace ColorChooser {

// The chosen colour; nothing when the dialog was cancelled.
std::optional<QColor> Ask(QWidget* parent, const QColor& initial);

// A queued nothing stands for a cancelled dialog.
void PushResult(std::optional<QColor> result);
void ClearForTests();

}  // namespace ColorChooser

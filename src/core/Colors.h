#pragma once

#include <QColor>
#include <QString>
#include <QtGlobal>

#include <optional>

// Colours are stored and handed around as 0xBBGGRR values (red in the low byte):
// white is 16777215, pure red 255.
QColor ColorFromBgr(quint32 bgr);
quint32 BgrFromColor(const QColor& color);

// A stored colour: the decimal text of a value from 0 to 16777215 (blanks around it
// allowed); nothing for any other text.
std::optional<QColor> ColorFromSetting(const QString& text);
QString ColorSettingText(const QColor& color);

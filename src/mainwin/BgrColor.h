#pragma once

#include <QColor>
#include <QtGlobal>

// Colours are kept and handed around as 0xBBGGRR values (red in the low byte);
// these two turn them into QColor and back.
inline QColor ColorFromBgr(quint32 bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

inline quint32 BgrFromColor(const QColor& color)
{
    return static_cast<quint32>(color.red()) | (static_cast<quint32>(color.green()) << 8)
        | (static_cast<quint32>(color.blue()) << 16);
}

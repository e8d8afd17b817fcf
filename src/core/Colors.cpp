#include "Colors.h"

QColor ColorFromBgr(quint32 bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

quint32 BgrFromColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return static_cast<quint32>(rgb.red()) | (static_cast<quint32>(rgb.green()) << 8)
        | (static_cast<quint32>(rgb.blue()) << 16);
}

std::optional<QColor> ColorFromSetting(const QString& text)
{
    const QString digits = text.trimmed();
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    // toLongLong takes a sign; a colour is written without one.
    if (!ok || digits.isEmpty() || !digits.at(0).isDigit() || value < 0 || value > 0xFFFFFF)
        return std::nullopt;
    return ColorFromBgr(static_cast<quint32>(value));
}

QString ColorSettingText(const QColor& color) { return QString::number(BgrFromColor(color)); }

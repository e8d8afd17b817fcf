#include "RemWindowSettings.h"

#include "core/Colors.h"
#include "core/Fatal.h"
#include "core/clsINI.h"
#include "core/Options.h"

#include <algorithm>

namespace {

const QString Section = QStringLiteral("RemWindow");

std::optional<qint64> wholeNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const qint64 number = trimmed.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

}  // namespace

std::optional<int> ReadTransparencySetting(const QString& text)
{
    const std::optional<qint64> number = wholeNumber(text);
    if (!number)
        return std::nullopt;
    return static_cast<int>(std::clamp<qint64>(*number, MinTransparency, MaxTransparency));
}

std::optional<RemWindowSettings> ParseRemWindowSettings(const std::function<QString(const QString&)>& value,
                                                        bool withSound)
{
    const std::optional<QColor> back = ColorFromSetting(value(QStringLiteral("backcolor")));
    const std::optional<QColor> text = ColorFromSetting(value(QStringLiteral("txtcolor")));
    const std::optional<QColor> text2 = ColorFromSetting(value(QStringLiteral("txt2color")));
    const std::optional<bool> blink = ReadFlagSetting(value(QStringLiteral("efect1")));
    const std::optional<bool> fade = ReadFlagSetting(value(QStringLiteral("efect2")));
    const std::optional<int> level = ReadTransparencySetting(value(QStringLiteral("transp")));
    if (!back || !text || !text2 || !blink || !fade || !level)
        return std::nullopt;
    RemWindowSettings settings;
    settings.backColor = *back;
    settings.textColor = *text;
    settings.text2Color = *text2;
    settings.blinkTitle = *blink;
    settings.fadeIn = *fade;
    settings.transparency = *level;
    const QString path = value(QStringLiteral("musicpath"));
    const QString title = value(QStringLiteral("musictitle"));
    if (withSound && (IsAbsent(path) || IsAbsent(title)))
        return std::nullopt;
    settings.musicPath = NoNul(path);
    settings.musicTitle = NoNul(title);
    return settings;
}

RemWindowSettings ReadRemWindowSettings(bool withSound)
{
    const std::optional<RemWindowSettings> settings =
        ParseRemWindowSettings([](const QString& key) { return ReadOption(Section, key); }, withSound);
    if (!settings)
        FatalEnd(GetLangText(QStringLiteral("mes294")));
    return *settings;
}

bool WriteRemWindowSettings(const RemWindowSettings& settings)
{
    const QList<std::pair<QString, QString>> values = {
        {QStringLiteral("backcolor"), ColorSettingText(settings.backColor)},
        {QStringLiteral("txtcolor"), ColorSettingText(settings.textColor)},
        {QStringLiteral("txt2color"), ColorSettingText(settings.text2Color)},
        {QStringLiteral("musicpath"), settings.musicPath},
        {QStringLiteral("musictitle"), settings.musicTitle},
        {QStringLiteral("efect1"), settings.blinkTitle ? QStringLiteral("1") : QStringLiteral("0")},
        {QStringLiteral("efect2"), settings.fadeIn ? QStringLiteral("1") : QStringLiteral("0")},
        {QStringLiteral("transp"), QString::number(std::clamp(settings.transparency, MinTransparency,
                                                              MaxTransparency))},
    };
    return WriteOptions(Section, values);
}

QString SoundTitle(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.mid(slash + 1);
}

#pragma once

#include <QColor>
#include <QString>

#include <functional>
#include <optional>

// Section "RemWindow" of options.ini: how every reminder window looks and sounds.
struct RemWindowSettings {
    QColor backColor;   // "backcolor": window, frames and comment box
    QColor textColor;   // "txtcolor": title, date, time, comment
    QColor text2Color;  // "txt2color": category and comment caption
    QString musicPath;  // "musicpath": "" for no sound
    QString musicTitle; // "musictitle": the file name shown in the options
    bool blinkTitle = true;  // "efect1"
    bool fadeIn = true;      // "efect2"
    int transparency = 50;   // "transp": the window ends at twice this percentage
};

constexpr int MinTransparency = 25;
constexpr int MaxTransparency = 50;

// A whole number, held to 25..50.
std::optional<int> ReadTransparencySetting(const QString& text);

// The keys by a lookup that answers a key's text (the absent text for a missing one).
// Nothing when a colour, flag or level is missing or does not convert; withSound
// also asks for "musicpath" and "musictitle" to be there.
std::optional<RemWindowSettings> ParseRemWindowSettings(const std::function<QString(const QString&)>& value,
                                                        bool withSound);
// From options.ini; a missing or bad value shows "mes294" and ends the program.
RemWindowSettings ReadRemWindowSettings(bool withSound);
// Writes all eight keys in one replacement of options.ini; false when a value cannot
// be kept in the file (a ";" or a line break in a path), and nothing is written.
[[nodiscard]] bool WriteRemWindowSettings(const RemWindowSettings& settings);

// The part of a path after its last "/"; "" when there is none.
QString SoundTitle(const QString& path);

#pragma once

#include <QString>

// The reminder sound: one player for the whole run, one sound at a time.
namespace playSound {

// Starts playing the file and returns at once; the player itself starts on the
// next turn of the event loop, so a slow sound system never holds up a window.
// A missing path, a folder, a file that cannot be decoded and a machine without an
// audio device all play nothing, silently.
void PlaySoundFile(const QString& path);
// Opens the sound module and sets the media back end up on a thread of its own, so
// that the first reminder's sound starts without that wait; nothing connects to the
// audio server until a sound plays. Called once the program is up, and by the first
// sound when that comes earlier (the sound then waits for it); harmless to repeat.
void Prepare();
// Stops whatever is playing (or about to start) and lets go of the file.
void StopSound();

// For tests: the file the last PlaySoundFile started ("" when it started none),
// and whether that sound is still on (not stopped since).
QString LastStarted();
bool IsOn();

}  // namespace playSound

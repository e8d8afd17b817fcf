#pragma once

#include <QString>

class QWidget;

// The reminder sound: one player for the whole run, one sound at a time.
namespace playSound {

// Starts playing the file and returns at once; the player itself starts on a later
// turn of the event loop, so that a slow sound system never holds up a window: not
// before the media back end is made (Prepare), and when a window is given that is
// being shown, once it has its first picture (half a second at most). A missing path,
// a folder, a file that cannot be decoded and a machine without an audio device all
// play nothing, silently.
void PlaySoundFile(const QString& path, QWidget* window = nullptr);
// Opens the sound module and makes the media back end, on the interface thread once
// the events that wait have been handled; on a first run that reads every plug-in of
// the media framework. Making it connects to the audio server, where one runs, and
// starts the framework's device monitor, whose thread stays for the whole run; the
// player is made with the first sound. Called once the start has settled; harmless
// to repeat.
void Prepare();
// Stops whatever is playing (or about to start) and lets go of the file.
void StopSound();

// For tests: the file the last PlaySoundFile started ("" when it started none),
// and whether that sound is still on (not stopped since).
QString LastStarted();
bool IsOn();

}  // namespace playSound
